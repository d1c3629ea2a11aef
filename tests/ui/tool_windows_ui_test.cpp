#include "toolwindows/tool_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

// The field's start text is seen whole, not scrolled (the line edit keeps two pixels on either
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

// The user ticks boxes and types in a field through the widgets, then leaves through the menu;
// the line in the parameter field follows the compiler's order. The tool windows share one
// view; the order of every window's line is the core's test.
TEST(ToolWindowViewTest, TickedBoxesAndTypedValuesReachTheParameterLine)
{
    const struct
    {
        WindowId window;
        QString ticked; // the boxes, in the order of the clicks
        const char *field, *typed, *menuItem;
        WindowId target;
        std::string line;
    } rows[] = {
        // clang-format off
        {WindowId::CSG_Optionen, "csg_texdata csg_low csg_chart csg_estimate wadinclude",
         "wadinclude_value", "zhlt.wad halflife.wad", "bsp", WindowId::BSP_Optionen,
         "  -chart -estimate -low -texdata 4096 -wadinclude zhlt.wad halflife.wad "},
        // Clicking -bounce unticks it: it starts ticked.
        {WindowId::RAD_Optionen, "falloff bounce sparse ambient", "falloff_value", "1.5",
         "bsp", WindowId::BSP_Optionen, "  -sparse -ambient 0.5 0.5 0.5 -smooth 80 -falloff 1.5 "},
        // clang-format on
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(windowName(row.window));
        UiApp app;
        auto &window = static_cast<ToolWindow &>(app.windows.window(row.window));
        FormView *view = &app.show(row.window);
        for (QLineEdit *edit : view->findChildren<QLineEdit *>())
            EXPECT_TRUE(showsWholeText(*edit)) << edit->objectName().toStdString();
        for (const QString &name : row.ticked.split(' ')) {
            auto *box = view->findChild<QCheckBox *>(name);
            ASSERT_NE(box, nullptr) << name.toStdString();
            const bool was = window.box(name.toStdString()).isChecked();
            clickIndicator(*box);
            EXPECT_NE(window.box(name.toStdString()).isChecked(), was) << name.toStdString();
        }
        auto *field = view->findChild<QLineEdit *>(row.field);
        ASSERT_NE(field, nullptr);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, row.typed);
        view->findChild<QAction *>(row.menuItem)->trigger();

        EXPECT_TRUE(app.messages.shown.empty());
        EXPECT_FALSE(view->isVisible());
        EXPECT_EQ(app.windows.current(), &app.windows.window(row.target));
        EXPECT_EQ(window.parameterLine(), row.line);
    }
}

} // namespace
} // namespace kelvane::testing
