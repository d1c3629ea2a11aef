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

class QtWindowHostTest : public ::testing::Test
{
protected:
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

TEST_F(QtWindowHostTest, EveryWindowShowsItsTitleAndItsMenu)
{
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(windowName(id));
        Window &window = app.windows.window(id);
        app.host.showWindow(window);
        FormView *view = app.host.view(window);
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->isVisible());
        EXPECT_EQ(view->windowTitle().toStdString(), window.title());
        EXPECT_EQ(view->findChild<QMenuBar *>() != nullptr, !window.menu().empty());
        if (!window.menu().empty()) {
            EXPECT_EQ(view->size(), QSize(640, 480));
        }
        expectMenu(*view, window.menu());
    }
}

TEST_F(QtWindowHostTest, EveryWindowAndBoxCarriesTheProgramsIconAndDesktopEntry)
{
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.example.Kelvane");
    const QIcon icon = QApplication::windowIcon();
    EXPECT_EQ(icon.availableSizes(),
              (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    // Not a transparent square: the middle of the small icon has colour.
    const QImage small = icon.pixmap(16).toImage();
    EXPECT_EQ(qAlpha(small.pixel(8, 8)), 255);
    for (WindowId id : {WindowId::start_window, WindowId::About}) {
        FormView &view = app.show(id);
        EXPECT_EQ(view.windowIcon().cacheKey(), icon.cacheKey()) << windowName(id);
    }
}

TEST_F(QtWindowHostTest, NextStepWithoutACompilerStaysUntilOneIsTicked)
{
    FormView &start = app.startAsBefore();
    auto *next = start.findChild<QPushButton *>("step_next1");
    ASSERT_NE(next, nullptr);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(app.messages.texts(),
              std::vector<std::string>{"Sie haben keinen Compiler ausgewählt."});
    EXPECT_TRUE(start.isVisible());
    EXPECT_FALSE(app.windows.isLoaded(WindowId::HL_MOD));

    clickIndicator(*start.findChild<QCheckBox *>("use_csg"));
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(app.messages.shown.size(), 1u);
    EXPECT_FALSE(start.isVisible());
    EXPECT_TRUE(app.view(WindowId::HL_MOD)->isVisible());
}

void expectCentredOn(const QWidget &view, const QScreen *screen)
{
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(view.screen(), screen);
    const QPoint offset = view.frameGeometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << view.objectName().toStdString();
}

// With two monitors, the wizard stays on the one the user moved it to.
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

    clickIndicator(*start.findChild<QCheckBox *>("use_csg"));
    QTest::mouseClick(start.findChild<QPushButton *>("step_next1"), Qt::LeftButton);
    expectCentredOn(*app.view(WindowId::HL_MOD), screens[1]);
}

TEST_F(QtWindowHostTest, F1OpensTheHelpAtThePageOfTheWindowItWasPressedIn)
{
    const std::string chm = "C:\\Programme\\Kelvane\\deutsch.chm";
    app.files.addFile(chm);
    app.startAsBefore();
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(windowName(id));
        FormView &view = app.show(id);
        QApplication::setActiveWindow(&view);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        app.opener.opened.clear();
        QTest::keyClick(&view, Qt::Key_F1);
        EXPECT_EQ(app.opener.opened, std::vector<std::string>{chm + "::/" + helpPage(id)});
    }
}

TEST_F(QtWindowHostTest, EscapeStaysAndTheTitleBarEndsWithoutSaving)
{
    FormView &start = app.startAsBefore();
    app.windows.startWindow().use_bsp.setState(CheckBox::Checked);
    QTest::keyClick(&start, Qt::Key_Escape);
    EXPECT_TRUE(start.isVisible());
    EXPECT_FALSE(app.windows.hasEnded());
    start.close();
    EXPECT_TRUE(app.windows.hasEnded());
    EXPECT_FALSE(start.isVisible());
    EXPECT_EQ(app.registry.ReadValue(kCurrentUser, windowKeyPath("Start"), "bsp"), "");
}

TEST_F(QtWindowHostTest, TheAboutBoxOpensBesideAndClosesByOkEscapeOrTitleBarAlone)
{
    FormView &start = app.startAsBefore();
    for (const char *how : {"OK", "Enter", "Escape", "title bar"}) {
        SCOPED_TRACE(how);
        start.findChild<QAction *>("aboutmenu")->trigger();
        QPointer<FormView> about = app.view(WindowId::About);
        ASSERT_TRUE(about && about->isVisible());
        EXPECT_TRUE(start.isVisible());
        if (how == std::string("OK"))
            QTest::mouseClick(about->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        else if (how == std::string("Enter"))
            QTest::keyClick(about.data(), Qt::Key_Return);
        else if (how == std::string("Escape"))
            QTest::keyClick(about.data(), Qt::Key_Escape);
        else
            about->close();
        EXPECT_FALSE(app.windows.isLoaded(WindowId::About));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull());
        EXPECT_TRUE(start.isVisible());
        EXPECT_FALSE(app.windows.hasEnded());
    }
}

TEST_F(QtWindowHostTest, TheAboutBoxSetsItsLabelsInTheirFontsAndBreaksTheirLinesAtTheBlanks)
{
    app.windows.showAbout();
    FormView *about = app.view(WindowId::About);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->size(), QSize(480, 236));
    const auto lines = [&](const char *name) {
        return about->findChild<QLabel *>(name)->text().split('\n');
    };
    EXPECT_EQ(lines("lblDescription"),
              (QStringList{"Version 2.7 Systemanforderungen:", "PC mit Windows 9x/ME/NT/2000/XP",
                           "Pentium 166 MHz oder besser", "32MB RAM"}));
    EXPECT_EQ(lines("lblDisclaimer").size(), 3);
    EXPECT_EQ(lines("lblTitle"), QStringList{"Kelvane  - Deutsche Version (v2.7 Final)"});
    for (const char *name : {"lblTitle", "lblDescription", "lblDisclaimer"}) {
        const QFont font = about->findChild<QLabel *>(name)->font();
        EXPECT_EQ(font.families().front(), "Tahoma") << name;
        EXPECT_EQ(font.bold(), name == std::string("lblDescription")) << name;
    }
    EXPECT_TRUE(about->findChild<QPushButton *>("cmdOK")->isDefault());
    EXPECT_NE(about->findChild<QWidget *>("Line1"), nullptr);
}

} // namespace
} // namespace kelvane::testing
