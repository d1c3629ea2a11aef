#include "app/help_file.h"
#include "app/start_window.h"
#include "ui_test_support.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

struct QtWindowHostTest : ::testing::Test
{
    UiApp app;
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

// Every window shows its title, its menu and the program's icon, and F1 in it opens the help
// at its own page: the windows share one view, so the start window, a tool window and the about
// box (no menu) stand for all.
TEST_F(QtWindowHostTest, EveryWindowShowsItsTitleMenuAndIconAndOpensItsHelpPageOnF1)
{
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.example.Kelvane");
    const QIcon icon = QApplication::windowIcon();
    EXPECT_EQ(icon.availableSizes(),
              (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    EXPECT_EQ(qAlpha(icon.pixmap(16).toImage().pixel(8, 8)), 255) << "not a transparent square";

    const std::string chm = "C:\\Programme\\Kelvane\\deutsch.chm";
    app.files.addFile(chm);
    app.startAsBefore();
    for (WindowId id : {WindowId::start_window, WindowId::CSG_Optionen, WindowId::About}) {
        SCOPED_TRACE(windowName(id));
        Window &window = app.windows.window(id);
        FormView &view = app.show(id);
        EXPECT_TRUE(view.isVisible());
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
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(view.screen(), screen);
    const QPoint offset = view.frameGeometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << view.objectName().toStdString();
}

// With two monitors, the wizard stays on the one the user moved it to. Next step without a
// compiler stays until one is ticked.
TEST_F(QtWindowHostTest, EachWindowComesUpCentredOnTheScreenOfTheWindowBeforeIt)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    FormView &start = app.startAsBefore();
    expectCentredOn(start, screens[0]);

    start.move(screens[1]->geometry().topLeft() + QPoint(30, 40));
    ASSERT_EQ(start.screen(), screens[1]);
    start.findChild<QAction *>("aboutmenu")->trigger();
    expectCentredOn(*app.view(WindowId::About), screens[1]);
    app.view(WindowId::About)->close();

    auto *next = start.findChild<QPushButton *>("step_next1");
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(app.messages.shown.size(), 1u) << "no compiler chosen";
    EXPECT_TRUE(start.isVisible());
    EXPECT_FALSE(app.windows.isLoaded(WindowId::HL_MOD));
    clickIndicator(*start.findChild<QCheckBox *>("use_csg"));
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(app.messages.shown.size(), 1u);
    EXPECT_FALSE(start.isVisible());
    ASSERT_TRUE(app.view(WindowId::HL_MOD)->isVisible());
    expectCentredOn(*app.view(WindowId::HL_MOD), screens[1]);
}

// Escape stays; the title bar ends the program without saving. The about box opens beside
// and closes alone, by OK, Escape or its title bar.
TEST_F(QtWindowHostTest, EscapeStaysTheTitleBarEndsAndTheAboutBoxClosesAlone)
{
    FormView &start = app.startAsBefore();
    app.windows.startWindow().use_bsp.setState(CheckBox::Checked);
    QTest::keyClick(&start, Qt::Key_Escape);
    EXPECT_TRUE(start.isVisible());
    for (int how : {0, 2, 3}) { // OK, Escape, the title bar
        SCOPED_TRACE(how);
        start.findChild<QAction *>("aboutmenu")->trigger();
        QPointer<FormView> about = app.view(WindowId::About);
        ASSERT_TRUE(about && about->isVisible() && start.isVisible());
        if (how == 0) {
            // Its labels break their lines at the blanks, in their own fonts.
            const auto *description = about->findChild<QLabel *>("lblDescription");
            EXPECT_EQ(
                description->text().split('\n'),
                (QStringList{"Version 2.7 Systemanforderungen:", "PC mit Windows 9x/ME/NT/2000/XP",
                             "Pentium 166 MHz oder besser", "32MB RAM"}));
            EXPECT_TRUE(description->font().bold());
            EXPECT_EQ(about->findChild<QLabel *>("lblDisclaimer")->text().split('\n').size(), 3);
            EXPECT_EQ(about->findChild<QLabel *>("lblTitle")->font().families().front(), "Tahoma");
            QTest::mouseClick(about->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        } else if (how == 2) {
            QTest::keyClick(about.data(), Qt::Key_Escape);
        } else {
            about->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull() && !app.windows.isLoaded(WindowId::About));
        EXPECT_TRUE(start.isVisible());
        EXPECT_FALSE(app.windows.hasEnded());
    }
    start.close();
    EXPECT_TRUE(app.windows.hasEnded());
    EXPECT_FALSE(start.isVisible());
    EXPECT_EQ(app.registry.ReadValue(kCurrentUser, windowKeyPath("Start"), "bsp"), "");
}

} // namespace
} // namespace kelvane::testing
