#include "ui/german_qt_texts.h"
#include "ui/qt_message_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace kelvane {
namespace {

// The entries of a text field's context menu, without their shortcuts.
QStringList contextMenu()
{
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList entries;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            entries << action->text().section(u'\t', 0, 0).remove(u'&');
    }
    return entries;
}

TEST(GermanQtTextsTest, TheContextMenuOfATextFieldIsGermanWithOrWithoutQtsTranslation)
{
    const QStringList german{"Rückgängig", "Wiederherstellen", "Ausschneiden",   "Kopieren",
                             "Einfügen",   "Löschen",          "Alles auswählen"};
    {
        GermanQtTexts fallback;
        QCoreApplication::installTranslator(&fallback);
        EXPECT_EQ(contextMenu(), german);
        QCoreApplication::removeTranslator(&fallback);
    }
    ASSERT_NE(contextMenu(), german) << "English again without a translator";

    installGermanQtTexts(*QCoreApplication::instance());
    EXPECT_EQ(contextMenu(), german);
    for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

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
