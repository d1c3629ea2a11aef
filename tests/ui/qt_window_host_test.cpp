#include "app/start_window.h"
#include "ui/form_view.h"
#include "ui/qt_window_host.h"
#include "ui_test_support.h"

#include <QAction>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

class QtWindowHostTest : public ::testing::Test
{
protected:
    QtWindowHostTest() { host.setWindowSet(windows); }

    // A start window saved by an earlier run, so that its first-start notes stay away.
    void startAsBefore()
    {
        app.registry.SaveString(kCurrentUser, windowKeyPath("Start"), "csg", "0");
        windows.start();
    }

    FormView *viewOf(WindowId id) { return host.view(windows.window(id)); }

    template <typename T> T *widget(WindowId id, const char *name)
    {
        FormView *view = viewOf(id);
        return view ? view->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    }

    TestServices app;
    QtWindowHost host{app.services};
    WindowSet windows{app.services, host};
};

// ---------------------------------------------------------------------------------------------

struct OwnMenuItem
{
    WindowId window;
    const char *disabledItem; // the item leading to the window itself; none for the about box
};

class EveryWindowTest : public QtWindowHostTest, public ::testing::WithParamInterface<OwnMenuItem>
{
};

void expectMenu(const FormView &view, const std::vector<MenuItem> &items)
{
    for (const MenuItem &item : items) {
        auto *action = view.findChild<QAction *>(QString::fromStdString(item.name));
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text().toStdString(), item.caption) << item.name;
        EXPECT_EQ(action->isEnabled(), item.enabled) << item.name;
        expectMenu(view, item.children);
    }
}

TEST_P(EveryWindowTest, ShowsItsTitleAndItsMenu)
{
    Window &window = windows.window(GetParam().window);
    host.showWindow(window);
    FormView *view = host.view(window);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle().toStdString(), window.title());
    expectMenu(*view, window.menu());

    if (!GetParam().disabledItem) {
        EXPECT_EQ(view->findChild<QMenuBar *>(), nullptr);
        return;
    }
    EXPECT_EQ(view->size(), QSize(640, 480));
    auto *own = view->findChild<QAction *>(QString::fromLatin1(GetParam().disabledItem));
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(own->isEnabled());
    EXPECT_TRUE(view->findChild<QAction *>("aboutmenu")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryWindowTest,
                         ::testing::Values(OwnMenuItem{WindowId::start_window, "zhltmap"},
                                           OwnMenuItem{WindowId::HL_MOD, "hlmod"},
                                           OwnMenuItem{WindowId::CSG_Optionen, "csg"},
                                           OwnMenuItem{WindowId::BSP_Optionen, "bsp"},
                                           OwnMenuItem{WindowId::VIS_Optionen, "vis"},
                                           OwnMenuItem{WindowId::NETVIS_Optionen, "netvis"},
                                           OwnMenuItem{WindowId::RAD_Optionen, "rad"},
                                           OwnMenuItem{WindowId::end_window, "kompilieren"},
                                           OwnMenuItem{WindowId::presets, "pre"},
                                           OwnMenuItem{WindowId::About, nullptr}),
                         [](const ::testing::TestParamInfo<OwnMenuItem> &info) {
                             return std::string(windowName(info.param.window));
                         });

// ---------------------------------------------------------------------------------------------

TEST_F(QtWindowHostTest, StartShowsTheStartWindowAlone)
{
    startAsBefore();
    ASSERT_NE(viewOf(WindowId::start_window), nullptr);
    EXPECT_TRUE(viewOf(WindowId::start_window)->isVisible());
    EXPECT_FALSE(windows.isLoaded(WindowId::HL_MOD));
}

TEST_F(QtWindowHostTest, NextStepWithoutACompilerShowsTheErrorAndStays)
{
    startAsBefore();
    QTest::mouseClick(widget<QPushButton>(WindowId::start_window, "step_next1"), Qt::LeftButton);

    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, "Sie haben keinen Compiler ausgewählt.");
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(app.messages.shown[0].title, "Fehler!!!");
    EXPECT_TRUE(viewOf(WindowId::start_window)->isVisible());
    EXPECT_FALSE(windows.isLoaded(WindowId::HL_MOD));
}

TEST_F(QtWindowHostTest, TickingACompilerAndGoingOnShowsTheNextWindow)
{
    startAsBefore();
    clickIndicator(*widget<QCheckBox>(WindowId::start_window, "use_csg"));
    EXPECT_TRUE(windows.startWindow().use_csg.isChecked());

    QTest::mouseClick(widget<QPushButton>(WindowId::start_window, "step_next1"), Qt::LeftButton);

    EXPECT_TRUE(app.messages.shown.empty());
    ASSERT_NE(viewOf(WindowId::HL_MOD), nullptr);
    EXPECT_TRUE(viewOf(WindowId::HL_MOD)->isVisible());
    EXPECT_FALSE(viewOf(WindowId::start_window)->isVisible());
    EXPECT_EQ(windows.current(), &windows.window(WindowId::HL_MOD));
}

TEST_F(QtWindowHostTest, AMenuItemLeadsToItsWindow)
{
    startAsBefore();
    windows.startWindow().use_rad.setState(CheckBox::Checked);
    viewOf(WindowId::start_window)->findChild<QAction *>("pre")->trigger();
    EXPECT_TRUE(viewOf(WindowId::presets)->isVisible());
    EXPECT_FALSE(viewOf(WindowId::start_window)->isVisible());
}

TEST_F(QtWindowHostTest, F1OpensTheHelpFileBesideTheProgram)
{
    app.files.addFile("C:\\Programme\\Kelvane\\deutsch.chm");
    startAsBefore();
    FormView *view = viewOf(WindowId::start_window);
    QApplication::setActiveWindow(view);
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    QTest::keyClick(view, Qt::Key_F1);
    EXPECT_EQ(app.opener.opened, std::vector<std::string>{"C:\\Programme\\Kelvane\\deutsch.chm"});
}

TEST_F(QtWindowHostTest, EscapeDoesNotLeaveAWizardWindow)
{
    startAsBefore();
    QTest::keyClick(viewOf(WindowId::start_window), Qt::Key_Escape);
    EXPECT_TRUE(viewOf(WindowId::start_window)->isVisible());
    EXPECT_FALSE(windows.hasEnded());
}

TEST_F(QtWindowHostTest, ClosingAWizardWindowEndsTheProgram)
{
    startAsBefore();
    viewOf(WindowId::start_window)->close();
    EXPECT_TRUE(windows.hasEnded());
    EXPECT_FALSE(viewOf(WindowId::start_window)->isVisible());
    // Closing is not leaving: nothing was saved.
    EXPECT_EQ(app.registry.ReadValue(kCurrentUser, windowKeyPath("Start"), "bsp"), "");
}

TEST_F(QtWindowHostTest, TheExitItemEndsTheProgramAfterSaving)
{
    startAsBefore();
    viewOf(WindowId::start_window)->findChild<QAction *>("exit")->trigger();
    EXPECT_TRUE(windows.hasEnded());
    EXPECT_FALSE(viewOf(WindowId::start_window)->isVisible());
    EXPECT_EQ(app.registry.ReadValue(kCurrentUser, windowKeyPath("Start"), "bsp"), "0");
}

class AboutBoxTest : public QtWindowHostTest
{
protected:
    QPointer<FormView> openAbout()
    {
        startAsBefore();
        viewOf(WindowId::start_window)->findChild<QAction *>("aboutmenu")->trigger();
        return viewOf(WindowId::About);
    }

    static void deleteClosedViews()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(AboutBoxTest, OpensBesideTheCurrentWindow)
{
    QPointer<FormView> about = openAbout();
    ASSERT_FALSE(about.isNull());
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(viewOf(WindowId::start_window)->isVisible());
}

TEST_F(AboutBoxTest, OkClosesIt)
{
    QPointer<FormView> about = openAbout();
    QTest::mouseClick(about->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(windows.isLoaded(WindowId::About));
    deleteClosedViews();
    EXPECT_TRUE(about.isNull());
    EXPECT_TRUE(viewOf(WindowId::start_window)->isVisible());
}

TEST_F(AboutBoxTest, EscapeClosesIt)
{
    QPointer<FormView> about = openAbout();
    QTest::keyClick(about.data(), Qt::Key_Escape);
    EXPECT_FALSE(windows.isLoaded(WindowId::About));
    deleteClosedViews();
    EXPECT_TRUE(about.isNull());
}

TEST_F(AboutBoxTest, ItsTitleBarClosesItAndNothingElse)
{
    QPointer<FormView> about = openAbout();
    about->close();
    EXPECT_FALSE(windows.isLoaded(WindowId::About));
    EXPECT_FALSE(windows.hasEnded());
}

TEST_F(AboutBoxTest, OpensAgainAfterItWasClosed)
{
    QPointer<FormView> first = openAbout();
    first->close();
    deleteClosedViews();
    windows.showAbout();
    FormView *second = viewOf(WindowId::About);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
}

} // namespace
} // namespace kelvane::testing
