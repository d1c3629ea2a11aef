#include "app/help_file.h"
#include "app/start_window.h"
#include "ui/german_qt_texts.h"
#include "ui/qt_message_service.h"
#include "ui_test_support.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace kelvane::testing {
namespace {

// The box shows the title, the icon, the text with its line breaks and one OK button, which
// closes it. (This runs before any test that ends the program: a program that has ended runs no
// more event loops, not even a message box's.)
TEST(QtMessageServiceTest, ShowsTitleIconAndTextWithItsLineBreaksAndOneOkButton)
{
    QString seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(top);
            if (!box || !box->isVisible())
                continue;
            seen = QString::number(box->icon()) + "|" + box->windowTitle() + "|" + box->text();
            for (QAbstractButton *button : box->buttons())
                seen += "|" + button->text();
            poll.stop();
            box->buttons().value(0)->click();
        }
    });
    poll.start(10);
    QtMessageService().show("Zeile eins\r\nZeile zwei\r\n\r\nEnde", MessageIcon::Critical,
                            "Fehler!!!");
    EXPECT_EQ(seen, QString::number(QMessageBox::Critical) +
                        "|Fehler!!!|Zeile eins\nZeile zwei\n\nEnde|OK");
}

// The context menu of a text field is German on a system without Qt's own translation.
TEST(GermanQtTextsTest, TheContextMenuOfATextFieldIsGerman)
{
    const auto entries = [] {
        QLineEdit field;
        const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList out;
        for (const QAction *action : menu->actions())
            if (!action->isSeparator())
                out << action->text().section(u'\t', 0, 0).remove(u'&');
        return out;
    };
    const QStringList german{"Rückgängig", "Wiederherstellen", "Ausschneiden",   "Kopieren",
                             "Einfügen",   "Löschen",          "Alles auswählen"};
    ASSERT_NE(entries(), german) << "English without a translator";
    GermanQtTexts texts;
    QCoreApplication::installTranslator(&texts);
    EXPECT_EQ(entries(), german);
    QCoreApplication::removeTranslator(&texts);
}

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

// Escape leaves a wizard window up and closes the about box alone; the title bar ends the
// program without saving.
TEST(QtWindowHostTest, EscapeStaysTheTitleBarEndsAndTheAboutBoxClosesAlone)
{
    UiApp app;
    FormView &start = app.startAsBefore();
    app.windows.startWindow().use_bsp.setState(CheckBox::Checked);
    QTest::keyClick(&start, Qt::Key_Escape);
    EXPECT_TRUE(start.isVisible());
    start.findChild<QAction *>("aboutmenu")->trigger();
    QPointer<FormView> about = app.view(WindowId::About);
    ASSERT_TRUE(about && about->isVisible());
    QTest::keyClick(about.data(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull() && !app.windows.isLoaded(WindowId::About));
    EXPECT_TRUE(start.isVisible() && !app.windows.hasEnded());
    start.close();
    EXPECT_TRUE(app.windows.hasEnded());
    EXPECT_FALSE(start.isVisible());
    EXPECT_EQ(app.registry.ReadValue(kCurrentUser, windowKeyPath("Start"), "bsp"), "");
}

} // namespace
} // namespace kelvane::testing
