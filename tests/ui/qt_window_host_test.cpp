#include "app/help_file.h"
#include "app/start_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

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

// Every window shows its title, its menu and the program's icon, and F1 in it opens the help
// at its own page: the windows share one view, so the start window and the about box (no menu)
// stand for all.
TEST(QtWindowHostTest, EveryWindowShowsItsTitleMenuAndIconAndOpensItsHelpPageOnF1)
{
    UiApp app;
    const QIcon icon = QApplication::windowIcon();
    EXPECT_EQ(qAlpha(icon.pixmap(16).toImage().pixel(8, 8)), 255) << "not a transparent square";
    const std::string chm = "C:\\Programme\\Kelvane\\deutsch.chm";
    app.files.addFile(chm);
    app.startAsBefore();
    for (WindowId id : {WindowId::start_window, WindowId::About}) {
        SCOPED_TRACE(windowName(id));
        Window &window = app.windows.window(id);
        FormView &view = app.show(id);
        EXPECT_EQ(view.windowTitle().toStdString(), window.title());
        EXPECT_EQ(view.windowIcon().cacheKey(), icon.cacheKey());
        EXPECT_EQ(view.findChild<QMenuBar *>() != nullptr, !window.menu().empty());
        expectMenu(view, window.menu());

        QApplication::setActiveWindow(&view);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        app.opener.opened.clear();
        QTest::keyClick(&view, Qt::Key_F1);
        EXPECT_EQ(app.opener.opened, std::vector<std::string>{chm + "::/" + helpPage(id)});
    }
}

void expectCentredOn(const QWidget &view, const QScreen *screen)
{
    EXPECT_EQ(view.screen(), screen);
    const QPoint offset = view.frameGeometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << view.objectName().toStdString();
}

// With two monitors, the wizard stays on the one the user moved it to, whether the window
// before it stays up (the about box) or goes (the next step).
TEST(QtWindowHostTest, EachWindowComesUpCentredOnTheScreenOfTheWindowBeforeIt)
{
    UiApp app;
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    FormView &start = app.startAsBefore();
    expectCentredOn(start, screens[0]);

    start.move(screens[1]->geometry().topLeft() + QPoint(30, 40));
    ASSERT_EQ(start.screen(), screens[1]);
    start.findChild<QAction *>("aboutmenu")->trigger();
    expectCentredOn(*app.view(WindowId::About), screens[1]);
    app.view(WindowId::About)->close();

    app.windows.startWindow().use_csg.setState(CheckBox::Checked);
    QTest::mouseClick(start.findChild<QPushButton *>("step_next1"), Qt::LeftButton);
    EXPECT_FALSE(start.isVisible());
    expectCentredOn(*app.view(WindowId::HL_MOD), screens[1]);
}

// Escape stays; the title bar ends the program without saving. The about box opens beside
// and closes alone, by Escape or its title bar.
TEST(QtWindowHostTest, EscapeStaysTheTitleBarEndsAndTheAboutBoxClosesAlone)
{
    UiApp app;
    FormView &start = app.startAsBefore();
    app.windows.startWindow().use_bsp.setState(CheckBox::Checked);
    QTest::keyClick(&start, Qt::Key_Escape);
    EXPECT_TRUE(start.isVisible());
    for (bool byEscape : {true, false}) {
        start.findChild<QAction *>("aboutmenu")->trigger();
        QPointer<FormView> about = app.view(WindowId::About);
        ASSERT_TRUE(about && about->isVisible());
        if (byEscape)
            QTest::keyClick(about.data(), Qt::Key_Escape);
        else
            about->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull() && !app.windows.isLoaded(WindowId::About)) << byEscape;
        EXPECT_TRUE(start.isVisible() && !app.windows.hasEnded()) << byEscape;
    }
    start.close();
    EXPECT_TRUE(app.windows.hasEnded());
    EXPECT_FALSE(start.isVisible());
    EXPECT_EQ(app.registry.ReadValue(kCurrentUser, windowKeyPath("Start"), "bsp"), "");
}

} // namespace
} // namespace kelvane::testing
