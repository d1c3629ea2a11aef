#include "toolwindows/tool_window.h"
#include "ui/form_view.h"
#include "ui/qt_window_host.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace kelvane::testing {
namespace {

struct UserRow
{
    WindowId window;
    std::vector<const char *> ticked;
    std::pair<const char *, const char *> typed; // field, text
    const char *threads;
    const char *menuItem;
    WindowId target;
    std::string line;
};

class ToolWindowViewTest : public ::testing::TestWithParam<UserRow>
{
protected:
    ToolWindowViewTest() { host.setWindowSet(windows); }

    TestServices app;
    QtWindowHost host{app.services};
    WindowSet windows{app.services, host};
};

// The user ticks boxes and types in a field through the widgets, then leaves through the menu;
// the line in the parameter field follows the compiler's order.
TEST_P(ToolWindowViewTest, TickedBoxesAndTypedValuesReachTheParameterLine)
{
    const UserRow &row = GetParam();
    auto &window = static_cast<ToolWindow &>(windows.window(row.window));
    host.showWindow(window);
    FormView *view = host.view(window);
    ASSERT_NE(view, nullptr);

    for (QAbstractButton *button : view->findChildren<QAbstractButton *>())
        EXPECT_LE(button->sizeHint().width(), button->width())
            << button->objectName().toStdString() << " shows its whole caption";
    auto *threads = view->findChild<QCheckBox *>(row.threads);
    ASSERT_NE(threads, nullptr);
    EXPECT_EQ(threads->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(threads->isEnabled());

    for (const char *name : row.ticked) {
        auto *box = view->findChild<QCheckBox *>(name);
        ASSERT_NE(box, nullptr) << name;
        clickIndicator(*box);
        EXPECT_TRUE(window.box(name).isChecked()) << name;
    }
    auto *field = view->findChild<QLineEdit *>(row.typed.first);
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->selectAll();
    typeText(*field, QString::fromUtf8(row.typed.second));

    auto *item = view->findChild<QAction *>(row.menuItem);
    ASSERT_NE(item, nullptr);
    item->trigger();

    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_FALSE(view->isVisible());
    EXPECT_EQ(windows.current(), &windows.window(row.target));
    EXPECT_EQ(window.parameterLine(), row.line);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ToolWindowViewTest,
    ::testing::Values(
        UserRow{WindowId::CSG_Optionen,
                {"csg_texdata", "csg_low", "csg_chart", "csg_estimate", "wadinclude"},
                {"wadinclude_value", "zhlt.wad halflife.wad"},
                "csg_threads",
                "bsp",
                WindowId::BSP_Optionen,
                "  -chart -estimate -low -texdata 4096 -wadinclude zhlt.wad halflife.wad "},
        UserRow{WindowId::BSP_Optionen,
                {"nofill", "bsp_noclip", "notjunc", "bsp_chart", "subdivide"},
                {"subdivide_value", "128"},
                "bsp_threads",
                "vis",
                WindowId::VIS_Optionen,
                "  -chart -notjunc -noclip -nofill -subdivide 128 "},
        UserRow{WindowId::VIS_Optionen,
                {"full", "vis_dev", "vis_estimate"},
                {"vis_dev_value", "6"},
                "vis_threads",
                "kompilieren",
                WindowId::end_window,
                "  -estimate -full -dev 6 "}),
    [](const auto &info) { return std::string(windowName(info.param.window)); });

} // namespace
} // namespace kelvane::testing
