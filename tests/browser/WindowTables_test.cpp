#include "BrowserTestSupport.h"
#include "launcher/ProcessValues.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "ui/qt/LocalText.h"
#include "ui/qt/Pictures.h"
#include "ui/qt/TImage.h"
#include "ui/qt/TfrmChat.h"
#include "ui/qt/TfrmMain.h"
#include "ui/qt/TfrmProblems.h"
#include "ui/qt/TfrmProblemsWithUpdater.h"
#include "ui/qt/TfrmSendErrorReport.h"
#include "ui/qt/TfrmTCP_UDP_Information.h"
#include "ui/qt/TfrmUpdateNews.h"
#include "ui/qt/WindowBuilder.h"
#include "ui/tables/Catalogue.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace qvs {
namespace {

// The window of each table, as the launcher makes it.
std::map<std::string_view, std::function<std::unique_ptr<QWidget>()>>
Factories(ProcessValues& values, test::RecordingPrompts& prompts, test::RecordingShell& shell,
          QWidget* owner) {
    return {
        {"frmMain", [&] { return std::make_unique<TfrmMain>(values, prompts, shell); }},
        {"frmProblems", [&, owner] { return std::make_unique<TfrmProblems>(owner, "", shell); }},
        {"frmSendErrorReport",
         [&, owner] {
             return std::make_unique<TfrmSendErrorReport>(owner, "", "", shell, nullptr);
         }},
        {"frmProblemsWithUpdater",
         [&, owner] { return std::make_unique<TfrmProblemsWithUpdater>(owner, values, nullptr); }},
        {"frmTCP_UDP_Information",
         [owner] { return std::make_unique<TfrmTCP_UDP_Information>(owner); }},
        {"frmUpdateNews", [&, owner] { return std::make_unique<TfrmUpdateNews>(owner, &shell); }},
        {"frmChat", [&, owner] { return std::make_unique<TfrmChat>(owner, &shell); }},
    };
}

QString Caption(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return button->text();
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(&control)) {
        return memo->toPlainText();
    }
    return {};
}

// What the table says a control shows as its text: a memo its lines.
QString Expected(const ui::ControlSpec& spec) {
    if (spec.lines == nullptr) {
        return TableText(spec.caption);
    }
    QStringList lines;
    for (const std::string& line : spec.lines()) {
        lines.push_back(LocalText(line));
    }
    return lines.join(QLatin1Char('\n'));
}

// Each window built by the Qt front end carries its table: name, caption and
// client size; every control by name, with its table's parent (a tab page
// included), caption or memo text, visibility, bounds (a self-sizing label:
// its corner, and room for its caption), pictures at the size of their
// controls (click areas have none), the bundled fonts at their pixel
// heights, colours and hints; the tab pages with their names and captions.
TEST(WindowTablesTest, EachQtWindowCarriesItsTable) {
    ProcessValues values{"install/"};
    test::RecordingPrompts prompts;
    test::RecordingShell shell;
    QWidget owner;
    auto factories = Factories(values, prompts, shell, &owner);
    ASSERT_EQ(factories.size(), ui::AllWindowTables().size());
    for (const ui::WindowSpec* table : ui::AllWindowTables()) {
        SCOPED_TRACE(std::string(table->name));
        const std::unique_ptr<QWidget> window = factories.at(table->name)();
        EXPECT_EQ(window->objectName(), TableText(table->name));
        EXPECT_EQ(window->windowTitle(), TableText(table->caption));
        if (table->border != ui::Border::Sizeable) {
            EXPECT_EQ(window->size(), QSize(table->width, table->height));
        }
        // Its own tab control, not one of a window it owns.
        const auto* tabs = window->findChild<QTabWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (const ui::ControlSpec& spec : table->controls) {
            SCOPED_TRACE(std::string(spec.name));
            const auto* control = Find<QWidget>(*window, spec.name);
            const QWidget* parent =
                spec.parent.empty() ? window.get() : Find<QWidget>(*window, spec.parent);
            if (spec.page >= 0) {
                parent = tabs->widget(spec.page);
            }
            EXPECT_EQ(control->parentWidget(), parent);
            EXPECT_EQ(Caption(*control), Expected(spec));
            EXPECT_EQ(!control->isHidden(), spec.visible);
            EXPECT_EQ(control->toolTip(), TableText(spec.hint));
            const QRect bounds(spec.bounds.x, spec.bounds.y, spec.bounds.width, spec.bounds.height);
            if (spec.autoSize) {
                EXPECT_EQ(control->pos(), bounds.topLeft());
                EXPECT_GE(control->width(),
                          control->fontMetrics().horizontalAdvance(Caption(*control)));
            } else if (spec.dock == ui::Dock::None) {
                EXPECT_EQ(control->geometry(), bounds);
            }
            if (const auto* image = qobject_cast<const TImage*>(control)) {
                const bool picture = spec.kind == ui::ControlKind::Picture;
                EXPECT_EQ(image->Picture().size(), picture ? bounds.size() : QSize(0, 0));
            }
            if (qobject_cast<const QLabel*>(control) != nullptr) {
                const ui::FontSpec& font = ui::Font(spec.font);
                const QFontInfo used(control->font());
                EXPECT_EQ(used.family(), TableText(font.bundledFamily));
                EXPECT_EQ(used.pixelSize(), font.pixelHeight);
                EXPECT_EQ(used.bold(), font.bold);
                EXPECT_EQ(used.italic(), font.italic);
                if (spec.ink) {
                    EXPECT_EQ(control->palette().color(QPalette::WindowText), ColourOf(*spec.ink));
                }
            }
        }
        ASSERT_EQ(tabs != nullptr ? tabs->count() : 0, static_cast<int>(table->tabs.size()));
        for (std::size_t i = 0; i < table->tabs.size(); ++i) {
            const int index = static_cast<int>(i);
            EXPECT_EQ(tabs->tabText(index), TableText(table->tabs[i].caption));
            EXPECT_EQ(tabs->widget(index)->objectName(), TableText(table->tabs[i].name));
        }
    }
}

} // namespace
} // namespace qvs
