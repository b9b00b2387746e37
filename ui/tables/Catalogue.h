// The fonts, colours and pictures that the window tables name by id.
#pragma once

#include "ui/tables/WindowTables.h"

#include <span>
#include <string_view>

namespace qvs::ui {

struct FontSpec {
    std::string_view family;        // the classic Windows family of the layout
    std::string_view bundledFamily; // its metric twin, embedded in the launcher
    int pixelHeight = 0;            // at 96 DPI; a negative lfHeight on Windows
    bool bold = false;
    bool italic = false;
};

const FontSpec& Font(FontId id);

// The bundled font files, as the resources hold them (folder "fonts").
std::span<const std::string_view> BundledFontFiles();

// The picture's resource file name, such as "imgBackground.jpg"; empty for
// PictureId::None.
std::string_view PictureFile(PictureId id);

// Every picture but None, for building the resource lists.
std::span<const PictureId> AllPictures();

namespace colour {
inline constexpr Rgb Lime{0, 255, 0};
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb Orange{255, 128, 0};
} // namespace colour

} // namespace qvs::ui
