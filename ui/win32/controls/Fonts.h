// The launcher's own fonts: loaded from the exe's resources for this process
// only (never installed), and made into GDI fonts per DPI. A machine without
// the classic fonts would otherwise show no text at all.
#pragma once

#include "ui/win32/base/Dpi.h"
#include "ui/win32/base/Handles.h"
#include "ui/win32/windows/ProvisionalTable.h"

#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace qvs::win32 {

// The family the tables name, as the embedded font that stands in for it.
std::wstring EmbeddedFamily(std::string_view family);

class PrivateFonts {
public:
    // Every ".ttf" resource; how many fonts were added is Count().
    PrivateFonts();
    std::size_t Count() const { return fonts_.size(); }

private:
    std::vector<FontResource> fonts_;
};

// One HFONT per font of a table at one DPI, made on first use; anti-aliased
// in grey, as the Qt windows draw.
class FontCache {
public:
    explicit FontCache(Dpi dpi) : dpi_(dpi) {}
    HFONT Get(const tables::FontSpec& spec);

private:
    Dpi dpi_;
    std::map<std::tuple<std::string_view, int, bool, bool>, Font> fonts_;
};

} // namespace qvs::win32
