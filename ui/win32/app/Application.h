// The launcher program around its main window: the installation directory
// as working directory, GDI+, COM and the private fonts for the whole run,
// the single-instance search, the message loop and the clean-up after it.
#pragma once

namespace qvs::win32 {

// The process's exit code.
int RunApplication();

} // namespace qvs::win32
