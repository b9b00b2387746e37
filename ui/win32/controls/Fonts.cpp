#include "ui/win32/controls/Fonts.h"

#include "ui/win32/base/Text.h"
#include "ui/win32/controls/Resources.h"

namespace qvs::win32 {

PrivateFonts::PrivateFonts() {
    for (const std::string_view name : ui::BundledFontFiles()) {
        const auto bytes = ResourceBytes(name);
        DWORD added = 0;
        // GDI copies the bytes: the resource need not outlive the handle.
        FontResource font(AddFontMemResourceEx(const_cast<std::byte*>(bytes.data()),
                                               static_cast<DWORD>(bytes.size()), nullptr, &added));
        if (font && added > 0) {
            fonts_.push_back(std::move(font));
        }
    }
}

HFONT FontCache::Get(ui::FontId id) {
    auto found = fonts_.find(id);
    if (found == fonts_.end()) {
        const ui::FontSpec& spec = ui::Font(id);
        // A negative height is the character height in pixels, as Qt's
        // pixel size; the family is the bundled twin of the layout's one.
        Font font(CreateFontW(
            -dpi_.Scale(spec.pixelHeight), 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, spec.italic,
            FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
            DEFAULT_PITCH | FF_DONTCARE, Widen(spec.bundledFamily).c_str()));
        found = fonts_.emplace(id, std::move(font)).first;
    }
    return found->second.Get();
}

} // namespace qvs::win32
