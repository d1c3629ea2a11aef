#pragma once

#include <QPalette>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace kelvane {

// The picture behind every window: a dark blueprint sheet with a fine grid and a faint
// drawing of a flange, drawn in code so that the program needs no image file.
QPixmap blueprintPicture(QSize size, qreal devicePixelRatio = 1.0);

// The look of the controls over that picture, by widget type: light text, on a translucent dark
// panel for labels and frames; fields and lists stay light with dark text.
QPalette formPalette(const QPalette &base);
QString formStyleSheet();
QString menuBarStyleSheet();

} // namespace kelvane
