#include "ui/qt_message_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

// Shows a message, and once its box is up, closes it with its button; returns what it showed
// as "icon|title|text|buttons".
QString showAndClose(std::string_view text, MessageIcon icon, std::string_view title)
{
    QString seen;
    QTimer poll;
    poll.setInterval(10);
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
    poll.start();
    QtMessageService().show(text, icon, title);
    return seen;
}

TEST(QtMessageServiceTest, ShowsTitleIconAndTextWithItsLineBreaksAndOneOkButton)
{
    EXPECT_EQ(
        showAndClose("Sie haben keinen Compiler ausgewählt.", MessageIcon::Critical, "Fehler!!!"),
        QString::number(QMessageBox::Critical) +
            "|Fehler!!!|Sie haben keinen Compiler ausgewählt.|OK");
    EXPECT_EQ(showAndClose("Zeile eins\r\nZeile zwei\r\n\r\nEnde", MessageIcon::Information,
                           "Information"),
              QString::number(QMessageBox::Information) +
                  "|Information|Zeile eins\nZeile zwei\n\nEnde|OK");
}

} // namespace
} // namespace kelvane
