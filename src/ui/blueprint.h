#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <vector>

class QPainter;
class QRegion;

namespace kelvane {

// The picture behind every window: a dark blueprint sheet with a fine grid, darker towards the
// edges, a double border and a faint drawing of a flange. It is drawn afresh wherever a window
// is painted instead of being kept as an image: the whole window takes about a millisecond,
// and nothing stays in memory.
class Blueprint
{
public:
    explicit Blueprint(QSize size);

    QSize size() const { return m_size; }
    // Paints the part of the picture inside `region` (logical pixels of the painter's device);
    // the sheet's border runs just inside `sheet`, the part of the window it shows whole.
    void paint(QPainter &painter, const QRegion &region, const QRect &sheet) const;
    // The colour of the bare paper, grid included, at a logical pixel.
    QRgb paperAt(int x, int y) const;

private:
    struct Inks
    {
        QColor strong;
        QColor faint;
    };

    // One row of the bare paper, `count` logical pixels from `left` on.
    void paperRow(int y, int left, int count, QRgb *out) const;
    void paintPaper(QPainter &painter, const QRect &area) const;
    void paintFlange(QPainter &painter) const;
    void paintBorder(QPainter &painter, const QRect &sheet) const;
    // A pencil colour: the paper around a place mixed with white-blue ink.
    QColor ink(QPoint at, float strength) const;

    QSize m_size;
    float m_span;
    float m_reach;
    float m_middleX;
    float m_middleY;
    std::vector<float> m_columnShift;
    std::vector<float> m_columnDistance;
    std::vector<float> m_columnGrid;
    QPointF m_flangeCentre;
    qreal m_flangeRadius;
    QRect m_flangeBounds;
    Inks m_flangeInks;
    Inks m_borderInks;
};

// The look of the controls over that picture, through palettes alone: light text and blue
// buttons on the picture; fields, lists and the boxes of check boxes light with dark text.
// Labels and frames stand on a translucent dark panel. Every role is set in every colour group,
// so that nothing of the desktop's own palette (light or dark) shows through.
QPalette formPalette();
QColor panelColour();
QColor framePanelColour();
// The menu bar and its drop-down menus: light text on a dark band.
QPalette menuBarPalette();
// The ring around the control that has the keyboard focus: a colour no control has.
QColor focusColour();

} // namespace kelvane
