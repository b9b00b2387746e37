// The main window's controls as a table, until the shared window tables
// take its place.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qvs::tables {

struct Rgb {
    std::uint8_t red, green, blue;
};

struct FontSpec {
    std::string_view family;
    int pixelHeight; // at 96 DPI
    bool bold;
    bool italic;
};

enum class Kind { Picture, ClickArea, Label, Media };
// Left labels size themselves to their caption from their top-left corner.
enum class Align { Left, Centre };

struct Bounds {
    int x, y, width, height;
};

struct Control {
    std::string_view name;
    Kind kind;
    Bounds bounds;
    std::string_view caption;
    FontSpec font;
    Rgb ink;
    std::string_view picture; // resource name, empty for none
    bool visible;
    int tag;
    Align align;
};

struct Window {
    std::string_view name;
    std::string_view caption;
    int clientWidth, clientHeight;
    std::span<const Control> controls; // bottom to top
};

const Window& MainWindow();

} // namespace qvs::tables
