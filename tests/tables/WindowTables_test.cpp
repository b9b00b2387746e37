#include "launcher/MainMenu.h"
#include "ui/tables/Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

namespace qvs::ui {
namespace {

namespace fs = std::filesystem;

// A resource both front ends embed: on disk, and listed in the Qt resource
// file, from which the Win32 resource script takes its list too.
bool Embedded(const std::string& file) {
    static const std::string list = [] {
        std::ifstream in(fs::path(QVS_RESOURCES_DIR) / "launcher.qrc");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return fs::is_regular_file(fs::path(QVS_RESOURCES_DIR) / file) &&
           list.find("<file>" + file + "</file>") != std::string::npos;
}

bool ShownBy(const WindowSpec& window, PictureId picture) {
    return std::ranges::any_of(window.controls, [picture](const ControlSpec& c) {
        return c.kind == ControlKind::Picture && c.picture == picture;
    });
}

// What a front end needs to build a window from its table without a lookup
// that fails: unique names and tab orders, parents that are panels built
// before their children, pages the window has, a size for every control
// that is neither docked nor self-sizing, an embedded picture for every
// picture control and embedded font files, and for a hover pair the two
// picture controls it swaps.
TEST(WindowTablesTest, EveryWindowCanBeBuiltFromItsTable) {
    for (const WindowSpec* window : AllWindowTables()) {
        SCOPED_TRACE(std::string(window->name));
        EXPECT_GT(window->width, 0);
        EXPECT_GT(window->height, 0);
        std::set<std::string_view> built;
        std::set<int> tabOrders;
        for (const ControlSpec& c : window->controls) {
            SCOPED_TRACE(std::string(c.name));
            EXPECT_TRUE(built.insert(c.name).second) << "named twice";
            if (!c.parent.empty()) {
                EXPECT_TRUE(built.contains(c.parent));
                EXPECT_EQ(Lookup(*window, c.parent).kind, ControlKind::Panel);
            }
            EXPECT_LT(c.page, static_cast<int>(window->tabs.size()));
            EXPECT_TRUE(c.tabOrder < 0 || tabOrders.insert(c.tabOrder).second);
            const bool sized = c.bounds.width > 0 && c.bounds.height > 0;
            EXPECT_EQ(sized, !c.autoSize && c.dock == Dock::None);
            EXPECT_TRUE(!c.autoSize || c.kind == ControlKind::Label);
            EXPECT_EQ(c.kind == ControlKind::Picture,
                      c.picture != PictureId::None && c.kind != ControlKind::ClickArea);
            if (c.kind == ControlKind::Picture) {
                EXPECT_TRUE(Embedded(std::string(PictureFile(c.picture))));
            }
            if (c.hoverPicture != PictureId::None) {
                EXPECT_TRUE(ShownBy(*window, c.picture) && ShownBy(*window, c.hoverPicture));
            }
        }
        EXPECT_EQ(std::ranges::count(window->controls, ControlKind::TabControl, &ControlSpec::kind),
                  window->tabs.empty() ? 0 : 1);
        EXPECT_THROW(Lookup(*window, "nothing"), std::out_of_range);
    }
    for (std::string_view file : BundledFontFiles()) {
        EXPECT_TRUE(Embedded("fonts/" + std::string(file))) << file;
    }
}

// Each menu button, by its Tag, has one click area and one highlight
// picture, and its help lines.
TEST(WindowTablesTest, EveryMenuButtonHasItsHotAreaHighlightAndHelp) {
    const WindowSpec& window = MainWindowTable();
    ASSERT_EQ(window.helpLines.size(), static_cast<std::size_t>(MenuButtonCount));
    for (int tag = 1; tag <= MenuButtonCount; ++tag) {
        for (ControlKind kind : {ControlKind::ClickArea, ControlKind::Picture}) {
            EXPECT_EQ(std::ranges::count_if(
                          window.controls,
                          [&](const ControlSpec& c) { return c.tag == tag && c.kind == kind; }),
                      1)
                << tag;
        }
    }
}

} // namespace
} // namespace qvs::ui
