// The system's HTML engine as the browser view needs it.
#pragma once

namespace qvs::win32 {

// Whether an HTML document can be created at all. The WebBrowser control
// itself can often be created where no engine is installed (Wine without
// Gecko), and then shows nothing; the document class is the real test.
bool HtmlEngineAvailable();

// Asks for the engine's newest document mode for this program (the
// browser-emulation value named after the executable, in the user's part of
// the registry); without it pages render in a decades-old mode. Must run
// before the first control is created; failures leave the old mode.
void RegisterBrowserEmulation();

} // namespace qvs::win32
