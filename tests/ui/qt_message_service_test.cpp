#include "ui/qt_message_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

struct SeenBox
{
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Shows a message and closes the box with its button once it is up; returns what it showed.
SeenBox showAndClose(std::string_view text, MessageIcon icon, std::string_view title)
{
    SeenBox seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(top);
            if (!box || !box->isVisible())
                continue;
            seen = {box->text(), box->windowTitle(), box->icon(), {}};
            for (QAbstractButton *button : box->buttons())
                seen.buttons << button->text();
            poll.stop();
            box->buttons().value(0)->click();
        }
    });
    poll.start();
    QtMessageService().show(text, icon, title);
    return seen;
}

TEST(QtMessageServiceTest, ShowsTextTitleIconAndOneOkButton)
{
    const SeenBox seen =
        showAndClose("Sie haben keinen Compiler ausgewählt.", MessageIcon::Critical, "Fehler!!!");
    EXPECT_EQ(seen.text, "Sie haben keinen Compiler ausgewählt.");
    EXPECT_EQ(seen.title, "Fehler!!!");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
}

TEST(QtMessageServiceTest, BreaksLinesAtCrLf)
{
    const SeenBox seen = showAndClose("Zeile eins\r\nZeile zwei\r\n\r\nEnde",
                                      MessageIcon::Information, "Information");
    EXPECT_EQ(seen.text, "Zeile eins\nZeile zwei\n\nEnde");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
}

TEST(QtMessageServiceTest, ShowsNoIconWhenAskedForNone)
{
    const SeenBox seen = showAndClose("System Information Is Unavailable At This Time",
                                      MessageIcon::None, "Kelvane");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

} // namespace
} // namespace kelvane
