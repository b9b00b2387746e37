#include "ui/win32/controls/Fonts.h"

#include "ui/win32/base/Text.h"
#include "ui/win32/controls/Resources.h"

namespace qvs::win32 {

std::wstring EmbeddedFamily(std::string_view family) {
    if (family == "Times New Roman" || family == "Serif") {
        return L"Liberation Serif";
    }
    if (family == "MS Sans Serif" || family == "Arial" || family == "Tahoma" ||
        family == "Sans Serif") {
        return L"Liberation Sans";
    }
    return Widen(family);
}

PrivateFonts::PrivateFonts() {
    for (const std::wstring& name : ResourceNamesEndingWith(L".TTF")) {
        const auto bytes = ResourceBytes(Narrow(name));
        DWORD added = 0;
        // GDI copies the bytes: the resource need not outlive the handle.
        FontResource font(AddFontMemResourceEx(const_cast<std::byte*>(bytes.data()),
                                               static_cast<DWORD>(bytes.size()), nullptr, &added));
        if (font && added > 0) {
            fonts_.push_back(std::move(font));
        }
    }
}

HFONT FontCache::Get(const tables::FontSpec& spec) {
    const auto key = std::make_tuple(spec.family, spec.pixelHeight, spec.bold, spec.italic);
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        // A negative height is the character height in pixels, as Qt's
        // pixel size.
        Font font(CreateFontW(
            -dpi_.Scale(spec.pixelHeight), 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, spec.italic,
            FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
            DEFAULT_PITCH | FF_DONTCARE, EmbeddedFamily(spec.family).c_str()));
        found = fonts_.emplace(key, std::move(font)).first;
    }
    return found->second.Get();
}

} // namespace qvs::win32
