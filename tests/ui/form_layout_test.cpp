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
#include <QStyleOptionFrame>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

QFont sansSerif(int points)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    return font;
}

std::string describe(const QWidget &widget)
{
    const QRect r = widget.geometry();
    return widget.objectName().toStdString() + " at " + std::to_string(r.x()) + "," +
           std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// A field's start text is seen whole, not scrolled (the line edit keeps two pixels on either
// side of its text).
bool showsWholeText(const QLineEdit &edit)
{
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth =
        edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    return edit.fontMetrics().horizontalAdvance(edit.text()) <= contents.width() - 4;
}

// What a control must show whole in its place: the caption of a button, check box or frame,
// the text of a label, one line and the start text of a field, a drop-down list.
void expectShownWhole(const QWidget &widget)
{
    const QSize size = widget.size();
    QSize needed = widget.sizeHint();
    if (const auto *edit = qobject_cast<const QLineEdit *>(&widget)) {
        needed.setWidth(widget.minimumSizeHint().width());
        EXPECT_TRUE(showsWholeText(*edit)) << describe(widget) << " scrolls its text";
    } else if (const auto *label = qobject_cast<const QLabel *>(&widget))
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
    const auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    EXPECT_TRUE(!more || more->isHidden()) << "menus hidden behind \u00bb";
    for (QAction *action : bar->actions())
        EXPECT_TRUE(!bar->actionGeometry(action).isEmpty() &&
                    bar->rect().contains(bar->actionGeometry(action)))
            << action->objectName().toStdString();
}

class FormFontTest : public ::testing::TestWithParam<int>
{
protected:
    FormFontTest() { QApplication::setFont(sansSerif(GetParam())); }
    ~FormFontTest() override { QApplication::setFont(m_former); }

private:
    QFont m_former = QApplication::font();
};

// Whatever the font, every control shows its caption whole, stays inside its window and off
// its neighbours, and the menu bar shows every menu; all wizard windows grow alike. At the
// reference font of 9 points every window and control has its declared place.
TEST_P(FormFontTest, EveryWindowShowsEveryControlWholeAndApart)
{
    UiApp app;
    QSize wizardSize;
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(windowName(id));
        Window &window = app.windows.window(id);
        FormView &view = app.show(id);
        const int top = window.menu().empty() ? 0 : 25;
        if (top && wizardSize.isEmpty())
            wizardSize = view.size();
        EXPECT_EQ(view.size(), top ? wizardSize : view.size())
            << "every wizard window has one size";
        const QSize declared(window.clientSize().w, window.clientSize().h + top);
        EXPECT_EQ(view.size(), GetParam() == 9 ? declared : view.size());
        EXPECT_GE(view.width(), window.clientSize().w);

        std::vector<QWidget *> widgets;
        for (Control *control : window.controls()) {
            auto *widget = view.findChild<QWidget *>(QString::fromStdString(control->name()));
            if (control->isHidden())
                continue;
            ASSERT_NE(widget, nullptr) << control->name();
            widgets.push_back(widget);
            const Rect &place = control->geometry();
            const QRect at(widget->mapTo(&view, QPoint(0, 0)), widget->size());
            EXPECT_EQ(at, GetParam() == 9 ? QRect(place.x, top + place.y, place.w, place.h) : at)
                << control->name();
        }
        for (QWidget *widget : widgets) {
            expectShownWhole(*widget);
            EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
                << describe(*widget) << " leaves its frame";
            EXPECT_TRUE(
                view.rect().contains(QRect(widget->mapTo(&view, QPoint(0, 0)), widget->size())))
                << describe(*widget) << " leaves the window";
            for (QWidget *other : widgets)
                EXPECT_TRUE(other == widget || other->parentWidget() != widget->parentWidget() ||
                            !widget->geometry().intersects(other->geometry()))
                    << describe(*widget) << " overlaps " << describe(*other);
        }
        expectWholeMenuBar(view);
    }
}

INSTANTIATE_TEST_SUITE_P(Points, FormFontTest, ::testing::Values(9, 10, 12, 14, 16),
                         [](const auto &info) { return std::to_string(info.param) + "pt"; });

TEST(FormLayoutTest, TheWindowGrowsWithTheFontAndLaysItselfOutAgainWhenTheFontChanges)
{
    EXPECT_EQ(FormView::fontScale(sansSerif(8)), 1.0) << "never smaller than declared";
    EXPECT_NEAR(FormView::fontScale(sansSerif(18)), 2.0, 0.05);

    UiApp app;
    FormView &view = app.startAsBefore();
    view.setFont(sansSerif(9));
    QCoreApplication::processEvents();
    ASSERT_EQ(view.size(), QSize(640, 480));
    view.setFont(sansSerif(14));
    QCoreApplication::processEvents();
    EXPECT_NEAR(view.width(), 640 * FormView::fontScale(sansSerif(14)), 1);
    expectWholeMenuBar(view);
    view.setFont(sansSerif(9));
    QCoreApplication::processEvents();
    EXPECT_EQ(view.size(), QSize(640, 480));
}

double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkDesktop()
{
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24));
    const QColor light(0xe0, 0xe0, 0xe0);
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        dark.setColor(role, light);
    dark.setColor(QPalette::Base, QColor(0x1d, 0x1d, 0x1d));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x60, 0x60, 0x60));
    dark.setColor(QPalette::Disabled, QPalette::Base, QColor(0x30, 0x30, 0x30));
    return dark;
}

// Text the user reads has a contrast of at least 4.5:1 on its ground in every state, whatever
// the desktop's own colours; the boxes and fields stand out at least 3:1 from the sheet.
class FormPaletteTest : public ::testing::TestWithParam<bool>
{
protected:
    FormPaletteTest() { QApplication::setPalette(GetParam() ? darkDesktop() : Qt::white); }
    ~FormPaletteTest() override { QApplication::setPalette(m_former); }

private:
    QPalette m_former = QApplication::palette();
};

TEST_P(FormPaletteTest, EveryKindOfControlIsLegibleOnTheSheet)
{
    using P = QPalette;
    constexpr WindowId CSG = WindowId::CSG_Optionen;
    const struct
    {
        WindowId window;
        const char *widget; // a name, or the class of every menu bar or menu
        std::vector<std::pair<P::ColorRole, P::ColorRole>> pairs;
        bool fieldOnSheet = false;
    } rows[] = {
        // clang-format off
        {CSG, "csg_chart", {{P::WindowText, P::Window}}, true},
        {CSG, "CSGoptionsINFO", {{P::WindowText, P::Window}}, true},
        {CSG, "csg_an_aus", {{P::WindowText, P::Window}}, true},
        {CSG, "csg_threads_value", {{P::Text, P::Base}, {P::PlaceholderText, P::Base}}},
        {CSG, "step_next2", {{P::ButtonText, P::Button}}},
        {WindowId::start_window, "ZHLTDrive", {{P::ButtonText, P::Button}}},
        {WindowId::start_window, "MAPFile", {{P::Text, P::Base}, {P::HighlightedText, P::Highlight}}},
        {WindowId::end_window, "QMenuBar",
         {{P::ButtonText, P::Window}, {P::WindowText, P::Window}, {P::HighlightedText, P::Highlight}}},
        {WindowId::end_window, "QMenu",
         {{P::Text, P::Window}, {P::ButtonText, P::Window}, {P::HighlightedText, P::Highlight}}},
        // clang-format on
    };
    UiApp app;
    const QColor sheet = formPalette().color(P::Window);
    for (const auto &row : rows) {
        FormView &view = app.show(row.window);
        QList<QWidget *> widgets;
        for (QWidget *widget : view.findChildren<QWidget *>())
            if (widget->objectName() == row.widget || widget->inherits(row.widget))
                widgets << widget;
        ASSERT_FALSE(widgets.isEmpty()) << row.widget;
        for (const QWidget *widget : widgets)
            for (const auto group : {P::Active, P::Inactive, P::Disabled}) {
                const QPalette &palette = widget->palette();
                for (const auto &[text, ground] : row.pairs)
                    EXPECT_GE(contrast(palette.color(group, text), palette.color(group, ground)),
                              4.5)
                        << row.widget << " group " << group << " roles " << text << " on "
                        << ground;
                EXPECT_TRUE(!row.fieldOnSheet || group == P::Inactive ||
                            contrast(palette.color(group, P::Base), sheet) >= 3.0)
                    << row.widget << " group " << group;
            }
    }
    EXPECT_FALSE(
        app.view(WindowId::CSG_Optionen)->findChild<QWidget *>("csg_threads_value")->isEnabled());
    // The focus ring lies on the sheet, round a button or a field.
    for (const QColor &ground : {sheet, formPalette().color(P::Button)})
        EXPECT_GE(contrast(focusColour(), ground), 3.0);
}

INSTANTIATE_TEST_SUITE_P(Desktops, FormPaletteTest, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "dark" : "light"; });

} // namespace
} // namespace kelvane::testing
