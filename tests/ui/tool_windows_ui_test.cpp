#include "toolwindows/tool_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

struct UserRow
{
    WindowId window;
    QString ticked; // the boxes, in the order of the clicks
    const char *field;
    const char *typed;
    const char *menuItem;
    WindowId target;
    std::string line;
};

class ToolWindowViewTest : public ::testing::TestWithParam<UserRow>
{
protected:
    UiApp app;
};

// The user ticks boxes and types in a field through the widgets, then leaves through the menu;
// the line in the parameter field follows the compiler's order.
TEST_P(ToolWindowViewTest, TickedBoxesAndTypedValuesReachTheParameterLine)
{
    const UserRow &row = GetParam();
    auto &window = static_cast<ToolWindow &>(app.windows.window(row.window));
    FormView *view = &app.show(row.window);
    for (QAbstractButton *button : view->findChildren<QAbstractButton *>())
        EXPECT_LE(button->sizeHint().width(), button->width())
            << button->objectName().toStdString() << " shows its whole caption";

    for (const QString &name : row.ticked.split(' ')) {
        auto *box = view->findChild<QCheckBox *>(name);
        ASSERT_NE(box, nullptr) << name.toStdString();
        clickIndicator(*box);
        EXPECT_TRUE(window.box(name.toStdString()).isChecked()) << name.toStdString();
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

INSTANTIATE_TEST_SUITE_P(
    Windows, ToolWindowViewTest,
    ::testing::Values(
        UserRow{WindowId::CSG_Optionen, "csg_texdata csg_low csg_chart csg_estimate wadinclude",
                "wadinclude_value", "zhlt.wad halflife.wad", "bsp", WindowId::BSP_Optionen,
                "  -chart -estimate -low -texdata 4096 -wadinclude zhlt.wad halflife.wad "},
        UserRow{WindowId::BSP_Optionen, "nofill bsp_noclip notjunc bsp_chart subdivide",
                "subdivide_value", "128", "vis", WindowId::VIS_Optionen,
                "  -chart -notjunc -noclip -nofill -subdivide 128 "},
        UserRow{WindowId::VIS_Optionen, "full vis_dev vis_estimate", "vis_dev_value", "6",
                "kompilieren", WindowId::end_window, "  -estimate -full -dev 6 "}),
    [](const auto &info) { return std::string(windowName(info.param.window)); });

} // namespace
} // namespace kelvane::testing
