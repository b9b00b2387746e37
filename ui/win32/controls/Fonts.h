// The launcher's own fonts: loaded from the exe's resources for this process
// only (never installed), and made into GDI fonts per DPI. A machine without
// the classic fonts would otherwise show no text at all.
#pragma once

#include "ui/tables/Catalogue.h"
#include "ui/win32/base/Dpi.h"
#include "ui/win32/base/Handles.h"

#include <map>
#include <string>
#include <vector>

namespace qvs::win32 {

class PrivateFonts {
public:
    // Every bundled font of the tables; how many were added is Count().
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
    HFONT Get(ui::FontId id);

private:
    Dpi dpi_;
    std::map<ui::FontId, Font> fonts_;
};

} // namespace qvs::win32
