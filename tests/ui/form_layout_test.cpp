#include "ui/blueprint.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

// Sets the program's font for one test and puts the former one back.
class FontScope
{
public:
    explicit FontScope(const QFont &font)
        : m_former(QApplication::font())
    {
        QApplication::setFont(font);
    }
    ~FontScope() { QApplication::setFont(m_former); }

private:
    QFont m_former;
};

QFont sansSerif(int points)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    return font;
}

// The widgets of a window's shown controls, found by their names.
std::vector<QWidget *> controlWidgets(Window &window, FormView &view)
{
    std::vector<QWidget *> widgets;
    for (Control *control : window.controls()) {
        if (!control->isHidden())
            widgets.push_back(view.findChild<QWidget *>(QString::fromStdString(control->name())));
    }
    return widgets;
}

std::string describe(const QWidget &widget)
{
    const QRect r = widget.geometry();
    return widget.objectName().toStdString() + " at " + std::to_string(r.x()) + "," +
           std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// What a control must show whole in its place: the caption of a button, check box or frame,
// the text of a label, one line of a field or drop-down list.
void expectShownWhole(const QWidget &widget)
{
    const QSize size = widget.size();
    QSize needed = widget.sizeHint();
    if (qobject_cast<const QLineEdit *>(&widget))
        needed.setWidth(widget.minimumSizeHint().width());
    else if (const auto *label = qobject_cast<const QLabel *>(&widget))
        needed = {label->minimumSizeHint().width(), label->heightForWidth(size.width())};
    else if (qobject_cast<const QGroupBox *>(&widget))
        needed = {widget.minimumSizeHint().width(), 0};
    else if (!qobject_cast<const QAbstractButton *>(&widget) &&
             !qobject_cast<const QComboBox *>(&widget))
        return;
    EXPECT_LE(needed.width(), size.width()) << describe(widget) << " is too narrow";
    EXPECT_LE(needed.height(), size.height()) << describe(widget) << " is too low";
}

void expectWholeMenuBar(const FormView &view)
{
    const auto *bar = view.findChild<QMenuBar *>();
    if (!bar)
        return;
    EXPECT_EQ(bar->width(), view.width());
    EXPECT_GE(bar->height(), bar->sizeHint().height());
    const auto *extension = bar->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    EXPECT_TRUE(!extension || extension->isHidden()) << "menus hidden behind \u00bb";
    for (QAction *action : bar->actions()) {
        const QRect place = bar->actionGeometry(action);
        EXPECT_FALSE(place.isEmpty()) << action->objectName().toStdString();
        EXPECT_TRUE(bar->rect().contains(place)) << action->objectName().toStdString();
    }
}

TEST(FormLayoutTest, AtTheReferenceFontEveryWindowHasItsDeclaredSize)
{
    const FontScope font(sansSerif(9));
    UiApp app;
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(windowName(id));
        Window &window = app.windows.window(id);
        FormView &view = app.show(id);
        const Window::Size client = window.clientSize();
        EXPECT_EQ(view.size(), QSize(client.w, client.h + (window.menu().empty() ? 0 : 25)));
        for (Control *control : window.controls()) {
            const auto *widget = view.findChild<QWidget *>(QString::fromStdString(control->name()));
            if (!widget)
                continue;
            const Rect &place = control->geometry();
            const QPoint at = widget->mapTo(&view, QPoint(0, 0));
            const int top = window.menu().empty() ? 0 : 25;
            EXPECT_EQ(QRect(at, widget->size()), QRect(place.x, top + place.y, place.w, place.h))
                << control->name();
        }
    }
}

class FormFontTest : public ::testing::TestWithParam<int>
{
};

// Whatever the font, every control shows its caption whole, stays inside its window and off
// its neighbours, and the menu bar shows every menu; all windows grow alike.
TEST_P(FormFontTest, EveryWindowShowsEveryControlWholeAndApart)
{
    const FontScope font(sansSerif(GetParam()));
    UiApp app;
    QSize wizardSize;
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(windowName(id));
        Window &window = app.windows.window(id);
        FormView &view = app.show(id);
        if (!window.menu().empty()) {
            if (wizardSize.isEmpty())
                wizardSize = view.size();
            EXPECT_EQ(view.size(), wizardSize) << "every wizard window has one size";
        }
        EXPECT_GE(view.width(), window.clientSize().w);

        const std::vector<QWidget *> widgets = controlWidgets(window, view);
        for (QWidget *widget : widgets) {
            ASSERT_NE(widget, nullptr);
            expectShownWhole(*widget);
            EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
                << describe(*widget) << " leaves its frame";
            EXPECT_TRUE(
                view.rect().contains(QRect(widget->mapTo(&view, QPoint(0, 0)), widget->size())))
                << describe(*widget) << " leaves the window";
            for (QWidget *other : widgets) {
                if (other == widget || other->parentWidget() != widget->parentWidget())
                    continue;
                EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
                    << describe(*widget) << " overlaps " << describe(*other);
            }
        }
        expectWholeMenuBar(view);
    }
}

INSTANTIATE_TEST_SUITE_P(Points, FormFontTest, ::testing::Values(8, 10, 12, 14, 16),
                         [](const auto &info) { return std::to_string(info.param) + "pt"; });

TEST(FormLayoutTest, TheWindowGrowsWithTheFontAndLaysItselfOutAgainWhenTheFontChanges)
{
    EXPECT_EQ(FormView::fontScale(sansSerif(8)), 1.0) << "never smaller than declared";
    EXPECT_EQ(FormView::fontScale(sansSerif(9)), 1.0);
    EXPECT_NEAR(FormView::fontScale(sansSerif(18)), 2.0, 0.05);

    const FontScope reference(sansSerif(9));
    UiApp app;
    FormView &view = app.startAsBefore();
    ASSERT_EQ(view.size(), QSize(640, 480));
    view.setFont(sansSerif(14));
    QCoreApplication::processEvents();
    EXPECT_NEAR(view.width(), 640 * FormView::fontScale(sansSerif(14)), 1);
    expectWholeMenuBar(view);
    view.setFont(sansSerif(9));
    QCoreApplication::processEvents();
    EXPECT_EQ(view.size(), QSize(640, 480));
}

// ---------------------------------------------------------------------------------------------

double luminance(const QColor &colour)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct SystemPalette
{
    const char *name;
    QPalette palette;
};

QPalette darkDesktop()
{
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24));
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        dark.setColor(group, QPalette::Base, QColor(0x1d, 0x1d, 0x1d));
        dark.setColor(group, QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
        dark.setColor(group, QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
        dark.setColor(group, QPalette::ButtonText, QColor(0xe0, 0xe0, 0xe0));
        dark.setColor(group, QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        dark.setColor(group, QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    }
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x60, 0x60, 0x60));
    dark.setColor(QPalette::Disabled, QPalette::Base, QColor(0x30, 0x30, 0x30));
    return dark;
}

class FormPaletteTest : public ::testing::TestWithParam<SystemPalette>
{
protected:
    FormPaletteTest()
        : m_former(QApplication::palette())
    {
        QApplication::setPalette(GetParam().palette);
    }
    ~FormPaletteTest() override { QApplication::setPalette(m_former); }

    UiApp app;

private:
    QPalette m_former;
};

struct Pair
{
    QPalette::ColorRole text;
    QPalette::ColorRole ground;
    double least;
};

void expectContrast(const QWidget &widget, std::initializer_list<Pair> pairs)
{
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QPalette &palette = widget.palette();
        for (const Pair &pair : pairs) {
            EXPECT_GE(contrast(palette.color(group, pair.text), palette.color(group, pair.ground)),
                      pair.least)
                << widget.metaObject()->className() << " " << widget.objectName().toStdString()
                << " group " << group << " roles " << pair.text << " on " << pair.ground;
        }
    }
}

// Text the user reads has a contrast of at least 4.5:1 on its ground, the boxes and fields at
// least 3:1 against the sheet, in every state and whatever the desktop's own colours.
TEST_P(FormPaletteTest, EveryKindOfControlIsLegibleOnTheSheet)
{
    const QColor sheet = formPalette().color(QPalette::Window);
    FormView &csg = app.show(WindowId::CSG_Optionen);
    for (const char *name : {"csg_chart", "csg_threads", "CSGoptionsINFO", "csg_an_aus"}) {
        auto *widget = csg.findChild<QWidget *>(name);
        ASSERT_NE(widget, nullptr) << name;
        expectContrast(*widget, {{QPalette::WindowText, QPalette::Window, 4.5}});
        for (const auto group : {QPalette::Active, QPalette::Disabled})
            EXPECT_GE(contrast(widget->palette().color(group, QPalette::Base), sheet), 3.0) << name;
    }
    for (const char *name : {"csg_dev_value", "csg_threads_value"}) {
        auto *field = csg.findChild<QLineEdit *>(name);
        ASSERT_NE(field, nullptr) << name;
        expectContrast(*field, {{QPalette::Text, QPalette::Base, 4.5},
                                {QPalette::PlaceholderText, QPalette::Base, 4.5}});
    }
    EXPECT_FALSE(csg.findChild<QLineEdit *>("csg_threads_value")->isEnabled());
    expectContrast(*csg.findChild<QPushButton *>("step_next2"),
                   {{QPalette::ButtonText, QPalette::Button, 4.5}});

    FormView &start = app.show(WindowId::start_window);
    expectContrast(*start.findChild<QComboBox *>("ZHLTDrive"),
                   {{QPalette::ButtonText, QPalette::Button, 4.5}});
    expectContrast(*start.findChild<QWidget *>("MAPFile"),
                   {{QPalette::Text, QPalette::Base, 4.5},
                    {QPalette::HighlightedText, QPalette::Highlight, 4.5}});

    FormView &end = app.show(WindowId::end_window);
    auto *bar = end.findChild<QMenuBar *>();
    expectContrast(*bar, {{QPalette::ButtonText, QPalette::Window, 4.5},
                          {QPalette::WindowText, QPalette::Window, 4.5},
                          {QPalette::HighlightedText, QPalette::Highlight, 4.5}});
    for (const QMenu *menu : end.findChildren<QMenu *>())
        expectContrast(*menu, {{QPalette::Text, QPalette::Window, 4.5},
                               {QPalette::ButtonText, QPalette::Window, 4.5},
                               {QPalette::HighlightedText, QPalette::Highlight, 4.5}});

    // The focus ring lies on the sheet, round a button or a field.
    for (const QColor &ground : {sheet, formPalette().color(QPalette::Button)})
        EXPECT_GE(contrast(focusColour(), ground), 3.0);
}

INSTANTIATE_TEST_SUITE_P(Desktops, FormPaletteTest,
                         ::testing::Values(SystemPalette{"light", QPalette(Qt::white)},
                                           SystemPalette{"dark", darkDesktop()}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace kelvane::testing
