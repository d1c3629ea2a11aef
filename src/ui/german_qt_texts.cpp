#include "ui/german_qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <cstring>

namespace kelvane {

namespace {

struct Text
{
    const char *context;
    const char *english;
    const char *german;
};

constexpr Text kTexts[] = {
    {"QLineEdit", "&Undo", "&Rückgängig"},
    {"QLineEdit", "&Redo", "Wieder&herstellen"},
    {"QLineEdit", "Cu&t", "&Ausschneiden"},
    {"QLineEdit", "&Copy", "&Kopieren"},
    {"QLineEdit", "&Paste", "Einf&ügen"},
    {"QLineEdit", "Delete", "Löschen"},
    {"QLineEdit", "Select All", "Alles auswählen"},
    {"QShortcut", "Ctrl", "Strg"},
    {"QShortcut", "Shift", "Umschalt"},
    {"QShortcut", "Del", "Entf"},
    {"QShortcut", "Ins", "Einfg"},
    {"QShortcut", "Backspace", "Rücktaste"},
};

} // namespace

QString GermanQtTexts::translate(const char *context, const char *sourceText, const char *,
                                 int) const
{
    if (!context || !sourceText)
        return {};
    for (const Text &text : kTexts) {
        if (std::strcmp(text.context, context) == 0 && std::strcmp(text.english, sourceText) == 0)
            return QString::fromUtf8(text.german);
    }
    return {};
}

bool installGermanQtTexts(QCoreApplication &app)
{
    auto *qt = new QTranslator(&app);
    for (const QString &directory :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
          QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (qt->load(QStringLiteral("qtbase_de"), directory)) {
            QCoreApplication::installTranslator(qt);
            return true;
        }
    }
    delete qt;
    QCoreApplication::installTranslator(new GermanQtTexts(&app));
    return false;
}

} // namespace kelvane
