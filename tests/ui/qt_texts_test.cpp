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

// The box shows the title, the icon, the text with its line breaks and one OK button, which closes
// it.
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
