// Looking for a top-level window of another program on the user's desktop,
// by its exact title and window class name.
#pragma once

#include <cstdint>
#include <string_view>

namespace qvs::platform {

// An opaque handle of the last matching window, 0 when none matches. Every
// window is looked at; titles and class names are compared exactly. On
// Windows the class name is the registered class; under X11 the title is
// _NET_WM_NAME (or WM_NAME) and the class name the class part of WM_CLASS.
// Without a desktop to look at (no X display, no libX11) nothing is found.
std::uintptr_t FindTopLevelWindow(std::string_view title, std::string_view className);

} // namespace qvs::platform
