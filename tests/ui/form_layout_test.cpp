#include "ui/blueprint.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
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
    QString out;
    QDebug(&out).nospace() << widget.objectName() << " at " << widget.geometry();
    return out.toStdString();
}

// What a control must show whole in its place: the caption of a button, check box or frame,
// the text of a label, one line and the start text of a field (unscrolled: the line edit keeps
// two pixels on either side of its text), a drop-down list.
void expectShownWhole(const QWidget &widget)
{
    QSize needed = widget.sizeHint();
    if (const auto *edit = qobject_cast<const QLineEdit *>(&widget)) {
        needed.setWidth(widget.minimumSizeHint().width());
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const QRect text =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), text.width() - 4)
            << describe(widget) << " scrolls its text";
    } else if (const auto *label = qobject_cast<const QLabel *>(&widget))
        needed = {label->minimumSizeHint().width(), label->heightForWidth(widget.width())};
    else if (qobject_cast<const QGroupBox *>(&widget))
        needed = {widget.minimumSizeHint().width(), 0};
    else if (!qobject_cast<const QAbstractButton *>(&widget) &&
             !qobject_cast<const QComboBox *>(&widget))
        return;
    EXPECT_LE(needed.width(), widget.width()) << describe(widget) << " is too narrow";
    EXPECT_LE(needed.height(), widget.height()) << describe(widget) << " is too low";
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
}

class FormFontTest : public ::testing::TestWithParam<int>
{
protected:
    FormFontTest() { QApplication::setFont(sansSerif(GetParam())); }
    ~FormFontTest() override { QApplication::setFont(m_former); }

private:
    QFont m_former = QApplication::font();
};

// Whatever the font, every control shows its caption whole, stays inside its frame and window
// and off its neighbours, and the menu bar shows every menu; all wizard windows grow alike. At
// the reference font of 9 points every window and control has its declared place.
TEST_P(FormFontTest, EveryWindowShowsEveryControlWholeAndApart)
{
    UiApp app;
    const bool reference = GetParam() == 9;
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
        EXPECT_EQ(view.size(), reference ? declared : view.size());

        std::vector<QWidget *> widgets;
        for (Control *control : window.controls()) {
            if (control->isHidden())
                continue;
            auto *widget = view.findChild<QWidget *>(QString::fromStdString(control->name()));
            ASSERT_NE(widget, nullptr) << control->name();
            widgets.push_back(widget);
            const Rect &place = control->geometry();
            const QRect at(widget->mapTo(&view, QPoint(0, 0)), widget->size());
            EXPECT_EQ(at, reference ? QRect(place.x, top + place.y, place.w, place.h) : at)
                << control->name();
            EXPECT_TRUE(view.rect().contains(at)) << describe(*widget) << " leaves the window";
            EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
                << describe(*widget) << " leaves its frame";
            expectShownWhole(*widget);
        }
        for (QWidget *a : widgets)
            for (QWidget *b : widgets)
                EXPECT_TRUE(a == b || a->parentWidget() != b->parentWidget() ||
                            !a->geometry().intersects(b->geometry()))
                    << describe(*a) << " overlaps " << describe(*b);
        expectWholeMenuBar(view);
    }
}

INSTANTIATE_TEST_SUITE_P(Points, FormFontTest, ::testing::Values(9, 10, 12, 14, 16),
                         [](const auto &info) { return std::to_string(info.param) + "pt"; });

TEST(FormLayoutTest, TheWindowGrowsWithTheFontAndLaysItselfOutAgainWhenTheFontChanges)
{
    EXPECT_EQ(FormView::fontScale(sansSerif(8)), 1.0) << "never smaller than declared";
    UiApp app;
    FormView &view = app.startAsBefore();
    for (int points : {9, 14, 9}) {
        view.setFont(sansSerif(points));
        QCoreApplication::processEvents();
        EXPECT_NEAR(view.width(), 640 * FormView::fontScale(sansSerif(points)), 1) << points;
    }
    EXPECT_EQ(view.size(), QSize(640, 480));
    expectWholeMenuBar(view);
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
    const auto [dark, light] = std::minmax(luminance(a), luminance(b));
    return (light + 0.05) / (dark + 0.05);
}

// Text the user reads has a contrast of at least 4.5:1 on its ground in every state, whatever
// the desktop's own colours; the boxes and fields stand out at least 3:1 from the sheet.
class FormPaletteTest : public ::testing::TestWithParam<QColor>
{
protected:
    FormPaletteTest() { QApplication::setPalette(QPalette(GetParam(), GetParam())); }
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
        {CSG, "csg_threads_value", {{P::Text, P::Base}, {P::PlaceholderText, P::Base}}},
        {CSG, "step_next2", {{P::ButtonText, P::Button}}},
        {WindowId::start_window, "MAPFile", {{P::Text, P::Base}, {P::HighlightedText, P::Highlight}}},
        {WindowId::end_window, "QMenuBar", {{P::ButtonText, P::Window}, {P::HighlightedText, P::Highlight}}},
        {WindowId::end_window, "QMenu", {{P::Text, P::Window}, {P::HighlightedText, P::Highlight}}},
        // clang-format on
    };
    UiApp app;
    const QColor sheet = formPalette().color(P::Window);
    for (const auto &row : rows) {
        QList<QWidget *> widgets;
        for (QWidget *widget : app.show(row.window).findChildren<QWidget *>())
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
    // The focus ring lies on the sheet, round a button or a field.
    for (const QColor &ground : {sheet, formPalette().color(P::Button)})
        EXPECT_GE(contrast(focusColour(), ground), 3.0);
}

INSTANTIATE_TEST_SUITE_P(Desktops, FormPaletteTest,
                         ::testing::Values(QColor(Qt::white), QColor(0x24, 0x24, 0x24)),
                         [](const auto &info) { return info.index ? "dark" : "light"; });

} // namespace
} // namespace kelvane::testing
