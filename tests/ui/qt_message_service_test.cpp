#include "ui/qt_message_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

// The box shows the title, the icon, the text with its line breaks and one OK button, which
// closes it.
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

} // namespace
} // namespace kelvane
