#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace kelvane {

// The picture behind every window: a dark blueprint sheet with a fine grid and a faint
// drawing of a flange, drawn in code so that the program needs no image file.
QPixmap blueprintPicture(QSize size, qreal devicePixelRatio = 1.0);

// The same in two steps, so that the bulk of the work can go ahead while the toolkit starts:
// the gridded paper is plain pixel work that may run on any thread, even before the
// application object exists; the drawing on it needs the painter and so the GUI thread after
// the application object is made.
QImage blueprintPaper(QSize size, qreal devicePixelRatio = 1.0);
QPixmap blueprintPicture(QImage paper);

// The look of the controls over that picture, by widget type, through palettes alone: light
// text and blue buttons on the picture; fields, lists and the boxes of check boxes stay light
// with dark text. Labels and frames stand on a translucent dark panel.
QPalette formPalette(const QPalette &base);
QColor panelColour();
QColor framePanelColour();
QPalette menuBarPalette(const QPalette &base);

} // namespace kelvane
