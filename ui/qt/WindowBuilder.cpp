#include "ui/qt/WindowBuilder.h"

#include "ui/qt/LocalText.h"
#include "ui/qt/Pictures.h"
#include "ui/qt/TImage.h"
#include "ui/qt/TLabel.h"
#include "ui/qt/TWebBrowser.h"
#include "ui/qt/TightTabStyle.h"

#include <QCheckBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <vector>

namespace qvs {

namespace {

using ui::ControlKind;
using ui::ControlSpec;

QRect Bounds(const ui::Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

// The widgets built so far, by table name, and the tab pages by index.
struct Built {
    std::map<std::string_view, QWidget*, std::less<>> controls;
    std::vector<QWidget*> pages;
};

QWidget* ParentOf(const ControlSpec& spec, QWidget& window, const Built& built) {
    if (!spec.parent.empty()) {
        return built.controls.at(spec.parent);
    }
    if (spec.page >= 0) {
        return built.pages.at(static_cast<std::size_t>(spec.page));
    }
    return &window;
}

TImage* MakeImage(const ControlSpec& spec, QWidget* parent) {
    auto* image = new TImage(parent, TableText(spec.name), Bounds(spec.bounds), spec.tag);
    if (spec.kind == ControlKind::Picture) {
        image->SetPicture(LoadPicture(spec.picture));
    }
    return image;
}

TLabel* MakeLabel(const ControlSpec& spec, QWidget* parent) {
    const QColor ink =
        spec.ink ? ColourOf(*spec.ink) : parent->palette().color(QPalette::WindowText);
    auto* label =
        new TLabel(parent, TableText(spec.name), TableText(spec.caption), FontOf(spec.font), ink);
    if (spec.autoSize) {
        label->move(spec.bounds.x, spec.bounds.y);
        label->SetAutoSize();
    } else {
        label->setGeometry(Bounds(spec.bounds));
    }
    if (spec.align == ui::Align::Centre) {
        label->setAlignment(Qt::AlignCenter);
    }
    return label;
}

QPlainTextEdit* MakeMemo(const ControlSpec& spec, QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setGeometry(Bounds(spec.bounds));
    memo->setFont(FontOf(spec.font));
    memo->setReadOnly(spec.memo.readOnly);
    const auto policy = [](bool on) { return on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff; };
    memo->setVerticalScrollBarPolicy(policy(spec.memo.verticalScrollBar));
    memo->setHorizontalScrollBarPolicy(policy(spec.memo.horizontalScrollBar));
    memo->setLineWrapMode(spec.memo.wordWrap ? QPlainTextEdit::WidgetWidth
                                             : QPlainTextEdit::NoWrap);
    QPalette colours = memo->palette();
    if (spec.memo.buttonFacePaper) {
        colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    }
    if (spec.paper) {
        colours.setColor(QPalette::Base, ColourOf(*spec.paper));
    }
    if (spec.ink) {
        colours.setColor(QPalette::Text, ColourOf(*spec.ink));
    }
    memo->setPalette(colours);
    if (spec.lines != nullptr) {
        SetMemoLines(memo, spec.lines());
    }
    return memo;
}

QTabWidget* MakeTabs(const ControlSpec& spec, const ui::WindowSpec& window, QWidget* parent,
                     Built& built) {
    auto* tabs = new QTabWidget(parent);
    tabs->setGeometry(Bounds(spec.bounds));
    // The style's roomy tab padding would push the last tabs behind scroll
    // arrows; with less, all captions fit the width the layout gives them.
    auto* style = new TightTabStyle;
    style->setParent(tabs);
    tabs->tabBar()->setStyle(style);
    for (const ui::TabSpec& tab : window.tabs) {
        auto* page = new QWidget;
        page->setObjectName(TableText(tab.name));
        tabs->addTab(page, TableText(tab.caption));
        built.pages.push_back(page);
    }
    return tabs;
}

template <typename Widget> Widget* Placed(Widget* widget, const ControlSpec& spec) {
    widget->setGeometry(Bounds(spec.bounds));
    return widget;
}

QWidget* Make(const ControlSpec& spec, const ui::WindowSpec& window, QWidget* parent,
              Built& built) {
    switch (spec.kind) {
    case ControlKind::Picture:
    case ControlKind::ClickArea:
        return MakeImage(spec, parent);
    case ControlKind::Label:
        return MakeLabel(spec, parent);
    case ControlKind::Button:
        return Placed(new QPushButton(TableText(spec.caption), parent), spec);
    case ControlKind::CheckBox:
        return Placed(new QCheckBox(TableText(spec.caption), parent), spec);
    case ControlKind::Memo:
        return MakeMemo(spec, parent);
    case ControlKind::TabControl:
        return MakeTabs(spec, window, parent, built);
    case ControlKind::Panel: {
        auto* panel = new QFrame(parent);
        panel->setFrameShape(QFrame::NoFrame);
        return Placed(panel, spec);
    }
    case ControlKind::Browser:
        return Placed(new TWebBrowser(parent), spec);
    case ControlKind::MediaPlayer:
        return Placed(new QWidget(parent), spec);
    }
    return nullptr;
}

// While the pointer is over a click area that names two pictures, the
// control showing its hover picture replaces the one showing its picture.
void HookHover(const ui::WindowSpec& window, const ControlSpec& area, const Built& built) {
    const auto shows = [&](ui::PictureId id) {
        const auto found = std::ranges::find_if(window.controls, [&](const ControlSpec& c) {
            return c.kind == ControlKind::Picture && c.picture == id;
        });
        return built.controls.at(found->name);
    };
    QWidget* off = shows(area.picture);
    QWidget* on = shows(area.hoverPicture);
    auto* hot = static_cast<TImage*>(built.controls.at(area.name));
    QObject::connect(hot, &TImage::Entered, hot, [off, on] {
        on->show();
        off->hide();
    });
    QObject::connect(hot, &TImage::Left, hot, [off, on] {
        off->show();
        on->hide();
    });
}

// Docked controls fill their parent top to bottom in table order.
void LayOut(const ui::WindowSpec& window, QWidget& top, const Built& built) {
    std::map<QWidget*, QVBoxLayout*> layouts;
    for (const ControlSpec& spec : window.controls) {
        if (spec.dock == ui::Dock::None) {
            continue;
        }
        QWidget* widget = built.controls.at(spec.name);
        QWidget* parent = ParentOf(spec, top, built);
        QVBoxLayout*& layout = layouts[parent];
        if (layout == nullptr) {
            layout = new QVBoxLayout(parent);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(0);
        }
        if (spec.dock == ui::Dock::Bottom) {
            widget->setFixedHeight(spec.bounds.height);
        }
        layout->addWidget(widget, spec.dock == ui::Dock::Fill ? 1 : 0);
    }
}

void ChainTabOrder(const ui::WindowSpec& window, const Built& built) {
    std::vector<const ControlSpec*> ordered;
    for (const ControlSpec& spec : window.controls) {
        if (spec.tabOrder >= 0) {
            ordered.push_back(&spec);
        }
    }
    std::ranges::sort(ordered, {}, &ControlSpec::tabOrder);
    for (std::size_t i = 1; i < ordered.size(); ++i) {
        QWidget::setTabOrder(built.controls.at(ordered[i - 1]->name),
                             built.controls.at(ordered[i]->name));
    }
}

} // namespace

Qt::WindowFlags WindowFlagsOf(const ui::WindowSpec& spec) {
    switch (spec.border) {
    case ui::Border::None:
        return Qt::Window | Qt::FramelessWindowHint;
    case ui::Border::Sizeable:
        return Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    case ui::Border::Dialog:
        break;
    }
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (spec.stayOnTop) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    return flags;
}

QColor ColourOf(ui::Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

void BuildWindow(QWidget& window, const ui::WindowSpec& spec) {
    LoadLauncherFonts();
    window.setObjectName(TableText(spec.name));
    window.setWindowTitle(TableText(spec.caption));
    window.setFont(FontOf(spec.font));
    if (spec.launcherIcon) {
        window.setWindowIcon(LauncherIcon());
    }
    if (spec.border == ui::Border::Sizeable) {
        window.resize(spec.width, spec.height); // the outer size is set once shown
    } else {
        window.setFixedSize(spec.width, spec.height);
    }
    Built built;
    for (const ControlSpec& control : spec.controls) {
        QWidget* widget = Make(control, spec, ParentOf(control, window, built), built);
        widget->setObjectName(TableText(control.name));
        if (!control.hint.empty()) {
            widget->setToolTip(TableText(control.hint));
        }
        if (!control.visible) {
            widget->hide();
        }
        built.controls.emplace(control.name, widget);
    }
    for (const ControlSpec& control : spec.controls) {
        if (control.kind == ControlKind::ClickArea && control.hoverPicture != ui::PictureId::None) {
            HookHover(spec, control, built);
        }
    }
    LayOut(spec, window, built);
    ChainTabOrder(spec, built);
}

} // namespace qvs
