#include "ui/blueprint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace kelvane {

namespace {

void drawGrid(QPainter &p, QSize size)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor fine(120, 170, 235, 26);
    const QColor major(150, 195, 250, 58);
    for (int x = 0; x <= size.width(); x += 10) {
        p.setPen(QPen(x % 50 == 0 ? major : fine, 0));
        p.drawLine(x, 0, x, size.height());
    }
    for (int y = 0; y <= size.height(); y += 10) {
        p.setPen(QPen(y % 50 == 0 ? major : fine, 0));
        p.drawLine(0, y, size.width(), y);
    }
}

void drawArrowHead(QPainter &p, QPointF tip, QPointF from)
{
    const QPointF d = tip - from;
    const qreal length = std::hypot(d.x(), d.y());
    if (length == 0)
        return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - u * 9 + n * 2.5);
    head.lineTo(tip - u * 9 - n * 2.5);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

// A flange in two views, as on a workshop drawing: the front view with its bolt circle and
// centre lines, and a dimension line over its diameter.
void drawFlange(QPainter &p, QPointF c, qreal r)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor line(190, 220, 255, 52);
    const QColor thin(190, 220, 255, 38);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(line, 1.4));
    p.drawEllipse(c, r, r);
    p.drawEllipse(c, r * 0.42, r * 0.42);
    p.setPen(QPen(thin, 1.0));
    p.drawEllipse(c, r * 0.36, r * 0.36);

    // The bolt circle and its six holes.
    QPen centre(thin, 1.0, Qt::DashDotLine);
    p.setPen(centre);
    p.drawEllipse(c, r * 0.72, r * 0.72);
    p.setPen(QPen(line, 1.2));
    for (int i = 0; i < 6; ++i) {
        const qreal a = i * std::numbers::pi / 3 + std::numbers::pi / 6;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * r * 0.72, r * 0.08, r * 0.08);
    }

    // Centre lines run a little beyond the outline.
    p.setPen(centre);
    p.drawLine(c - QPointF(r * 1.18, 0), c + QPointF(r * 1.18, 0));
    p.drawLine(c - QPointF(0, r * 1.18), c + QPointF(0, r * 1.18));

    // The diameter, dimensioned above the part.
    const qreal dimY = c.y() - r * 1.32;
    p.setPen(QPen(thin, 1.0));
    p.drawLine(QPointF(c.x() - r, c.y() - r * 0.2), QPointF(c.x() - r, dimY - 6));
    p.drawLine(QPointF(c.x() + r, c.y() - r * 0.2), QPointF(c.x() + r, dimY - 6));
    p.setPen(QPen(line, 1.0));
    const QPointF left(c.x() - r, dimY);
    const QPointF right(c.x() + r, dimY);
    p.drawLine(left, right);
    drawArrowHead(p, left, right);
    drawArrowHead(p, right, left);

    // The side view, to the left: the flange seen edge-on with its hub.
    const qreal sx = c.x() - r * 1.9;
    p.setPen(QPen(line, 1.4));
    p.drawRect(QRectF(sx - r * 0.12, c.y() - r, r * 0.24, 2 * r));
    p.drawRect(QRectF(sx + r * 0.12, c.y() - r * 0.42, r * 0.3, r * 0.84));
    p.setPen(QPen(thin, 1.0, Qt::DashLine));
    p.drawLine(QPointF(sx - r * 0.12, c.y() - r * 0.36), QPointF(sx + r * 0.42, c.y() - r * 0.36));
    p.drawLine(QPointF(sx - r * 0.12, c.y() + r * 0.36), QPointF(sx + r * 0.42, c.y() + r * 0.36));
    p.setPen(centre);
    p.drawLine(QPointF(sx - r * 0.35, c.y()), QPointF(sx + r * 0.6, c.y()));
}

// The frame and title block of a drawing sheet.
void drawSheetFrame(QPainter &p, QSize size)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(190, 220, 255, 60), 0));
    p.drawRect(QRect(QPoint(6, 6), size - QSize(13, 13)));
    p.setPen(QPen(QColor(190, 220, 255, 30), 0));
    p.drawRect(QRect(QPoint(9, 9), size - QSize(19, 19)));
}

} // namespace

QPixmap blueprintPicture(QSize size, qreal devicePixelRatio)
{
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    QPainter p(&picture);

    QLinearGradient paper(0, 0, size.width() * 0.35, size.height());
    paper.setColorAt(0.0, QColor(18, 52, 98));
    paper.setColorAt(1.0, QColor(9, 30, 64));
    p.fillRect(QRect(QPoint(0, 0), size), paper);

    drawGrid(p, size);
    drawFlange(p, QPointF(size.width() * 0.80, size.height() * 0.60), size.height() * 0.21);
    drawSheetFrame(p, size);

    // Darker towards the edges, as a print under a lamp.
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient shade(QPointF(size.width() / 2.0, size.height() / 2.0), size.width() * 0.75);
    shade.setColorAt(0.0, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 8, 24, 110));
    p.fillRect(QRect(QPoint(0, 0), size), shade);
    return picture;
}

QPalette formPalette(const QPalette &base)
{
    // Text on the picture is light; the text in fields and lists and the marks in check boxes
    // (Text on Base) keep the dark-on-light of the base palette.
    QPalette palette = base;
    palette.setColor(QPalette::Active, QPalette::WindowText, QColor(0xee, 0xf4, 0xff));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, QColor(0xee, 0xf4, 0xff));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x93, 0xa6, 0xc2));
    return palette;
}

QString formStyleSheet()
{
    return QStringLiteral(R"(
QLabel {
    color: #eef4ff;
    background-color: rgba(4, 16, 38, 185);
    border-radius: 3px;
    padding: 1px 5px;
}
QLabel:disabled { color: #93a6c2; }
QGroupBox {
    color: #eef4ff;
    background-color: rgba(4, 16, 38, 150);
    border: 1px solid rgba(170, 205, 250, 150);
    border-radius: 4px;
    margin-top: 7px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
    padding: 0 4px;
    background-color: rgba(4, 16, 38, 220);
    border-radius: 2px;
}
QCheckBox { spacing: 5px; }
QPushButton {
    color: #f6f9ff;
    background-color: rgba(32, 78, 142, 225);
    border: 1px solid #a3c6f2;
    border-radius: 3px;
    padding: 2px 6px;
}
QPushButton:hover { background-color: rgba(52, 106, 178, 240); }
QPushButton:pressed { background-color: rgba(16, 46, 96, 245); }
QPushButton:focus { border: 2px solid #ffd27a; }
QPushButton:disabled { color: #93a6c2; border-color: #5a7398; }
)");
}

QString menuBarStyleSheet()
{
    return QStringLiteral(R"(
QMenuBar {
    color: #eef4ff;
    background-color: #0a1d3d;
    border-bottom: 1px solid #31578c;
}
QMenuBar::item { padding: 3px 8px; background: transparent; }
QMenuBar::item:selected { background-color: #23508f; }
QMenuBar::item:pressed { background-color: #2d62ab; }
QMenuBar::item:disabled { color: #7d90ad; }
)");
}

} // namespace kelvane
