#pragma once

#include <QTranslator>

class QCoreApplication;

namespace kelvane {

// The few texts of Qt itself a user of the program meets (the context menu of a text field and
// the names of its shortcut keys) in German, for a system without Qt's German translation.
class GermanQtTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText,
                      const char *disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};

// Makes Qt's own texts German, like the program's: Qt's German translation where it is
// installed (beside Qt, or in "translations" beside the program), else GermanQtTexts.
// Returns whether Qt's translation was found.
bool installGermanQtTexts(QCoreApplication &app);

} // namespace kelvane
