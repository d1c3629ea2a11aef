#include "ui/german_qt_texts.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
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

} // namespace
} // namespace kelvane
