// Process settings that the embedded browser views need before the
// application object exists.
#pragma once

namespace qvs {

// Call first thing in main(), before QApplication is created. Chromium
// refuses to start its sandbox for the super-user, so the sandbox is turned
// off then; views in several windows share one OpenGL context.
void PrepareWebEngine();

} // namespace qvs
