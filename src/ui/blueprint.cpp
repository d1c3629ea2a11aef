#include "ui/blueprint.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kelvane {

namespace {

// The sheet's colours. Lines are mixed with the paper beneath them here rather than blended by
// the painter: opaque drawing is many times faster, and the picture is made at every start.
constexpr QRgb kPaperTop = qRgb(18, 52, 98);
constexpr QRgb kPaperBottom = qRgb(9, 30, 64);
constexpr QRgb kGridLine = qRgb(150, 195, 250);
constexpr float kFineGrid = 0.10f;  // share of the line colour in a fine grid line
constexpr float kMajorGrid = 0.23f; // every fifth line
constexpr float kShade = 0.45f;     // how much darker the corners are than the middle

float channel(QRgb colour, int shift)
{
    return static_cast<float>((colour >> shift) & 0xff);
}

// The paper with its grid, darker towards the edges as a print under a lamp; one pass over the
// pixels.
QImage gridPaper(QSize size)
{
    QImage paper(size, QImage::Format_RGB32);
    const int w = size.width();
    const int h = size.height();
    const float span = w * 0.35f + h;
    const float cx = w / 2.0f;
    const float cy = h / 2.0f;
    const float reach = (cx * cx + cy * cy) * 1.1f;
    const auto gridAt = [](int i) {
        return i % 50 == 0 ? kMajorGrid : i % 10 == 0 ? kFineGrid : 0.0f;
    };

    // What depends on the column alone, worked out once.
    std::vector<float> columnShift(static_cast<std::size_t>(w));
    std::vector<float> columnGrid(static_cast<std::size_t>(w));
    std::vector<float> columnDistance(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        columnShift[static_cast<std::size_t>(x)] = x * 0.35f / span;
        columnGrid[static_cast<std::size_t>(x)] = gridAt(x);
        columnDistance[static_cast<std::size_t>(x)] = (x - cx) * (x - cx);
    }
    float top[3];
    float bottom[3];
    float pen[3];
    for (int c = 0; c < 3; ++c) {
        top[c] = channel(kPaperTop, 16 - 8 * c);
        bottom[c] = channel(kPaperBottom, 16 - 8 * c);
        pen[c] = channel(kGridLine, 16 - 8 * c);
    }

    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(paper.scanLine(y));
        const float rowShift = y / span;
        const float rowGrid = gridAt(y);
        const float rowDistance = (y - cy) * (y - cy);
        for (int x = 0; x < w; ++x) {
            const auto i = static_cast<std::size_t>(x);
            const float t = columnShift[i] + rowShift;
            const float grid = std::max(rowGrid, columnGrid[i]);
            const float shade = 1.0f - kShade * (columnDistance[i] + rowDistance) / reach;
            int rgb[3];
            for (int c = 0; c < 3; ++c) {
                const float paperTone = top[c] + (bottom[c] - top[c]) * t;
                rgb[c] = static_cast<int>((paperTone + (pen[c] - paperTone) * grid) * shade);
            }
            line[x] = qRgb(rgb[0], rgb[1], rgb[2]);
        }
    }
    return paper;
}

// A colour between the paper around a place (grid included) and white-blue ink, as a faint
// pencil line shows.
QColor ink(const QImage &paper, QPointF at, float strength)
{
    const QPoint corner = at.toPoint();
    float sum[3] = {0, 0, 0};
    int count = 0;
    for (int y = corner.y(); y < corner.y() + 10 && y < paper.height(); ++y) {
        for (int x = corner.x(); x < corner.x() + 10 && x < paper.width(); ++x) {
            const QRgb under = paper.pixel(x, y);
            sum[0] += qRed(under);
            sum[1] += qGreen(under);
            sum[2] += qBlue(under);
            ++count;
        }
    }
    const QColor pen(200, 225, 255);
    const auto mix = [&](int c, int to) {
        const float from = count ? sum[c] / count : 0.0f;
        return static_cast<int>(from + (to - from) * strength);
    };
    return QColor(mix(0, pen.red()), mix(1, pen.green()), mix(2, pen.blue()));
}

struct Inks
{
    QColor strong;
    QColor faint;
};

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
// centre lines and its diameter dimensioned above, the side view with its hub to the left.
void drawFlange(QPainter &p, const Inks &inks, QPointF c, qreal r)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    const QColor line = inks.strong;
    const QColor thin = inks.faint;
    const QPen centre(thin, 1.0, Qt::DashDotLine);

    p.setPen(QPen(line, 1.4));
    p.drawEllipse(c, r, r);
    p.drawEllipse(c, r * 0.42, r * 0.42);
    p.setPen(QPen(thin, 1.0));
    p.drawEllipse(c, r * 0.36, r * 0.36);
    p.setPen(centre);
    p.drawEllipse(c, r * 0.72, r * 0.72);
    p.setPen(QPen(line, 1.2));
    for (int i = 0; i < 6; ++i) {
        const qreal a = i * std::numbers::pi / 3 + std::numbers::pi / 6;
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * r * 0.72, r * 0.08, r * 0.08);
    }
    p.setPen(centre);
    p.drawLine(c - QPointF(r * 1.18, 0), c + QPointF(r * 1.18, 0));
    p.drawLine(c - QPointF(0, r * 1.18), c + QPointF(0, r * 1.18));

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

// The double border of a drawing sheet.
void drawSheetFrame(QPainter &p, const Inks &inks, QSize size)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(inks.strong, 0));
    p.drawRect(QRect(QPoint(6, 6), size - QSize(13, 13)));
    p.setPen(QPen(inks.faint, 0));
    p.drawRect(QRect(QPoint(9, 9), size - QSize(19, 19)));
}

} // namespace

QImage blueprintPaper(QSize size, qreal devicePixelRatio)
{
    QImage paper = gridPaper((QSizeF(size) * devicePixelRatio).toSize());
    paper.setDevicePixelRatio(devicePixelRatio);
    return paper;
}

QPixmap blueprintPicture(QImage paper)
{
    const qreal scale = paper.devicePixelRatio();
    const QSizeF size = QSizeF(paper.size()) / scale;
    // The pencil colours come from the bare paper, before anything is drawn on it.
    const QPointF centre(size.width() * 0.80, size.height() * 0.60);
    const Inks flangeInks{ink(paper, centre * scale, 0.20f), ink(paper, centre * scale, 0.14f)};
    const QPointF edge(size.width() / 2.0, 8);
    const Inks frameInks{ink(paper, edge * scale, 0.22f), ink(paper, edge * scale, 0.11f)};
    {
        QPainter p(&paper);
        drawFlange(p, flangeInks, centre, size.height() * 0.21);
        drawSheetFrame(p, frameInks, size.toSize());
    }
    return QPixmap::fromImage(std::move(paper));
}

QPixmap blueprintPicture(QSize size, qreal devicePixelRatio)
{
    return blueprintPicture(blueprintPaper(size, devicePixelRatio));
}

QPalette formPalette(const QPalette &base)
{
    QPalette palette = base;
    const auto both = [&palette](QPalette::ColorRole role, const QColor &colour) {
        palette.setColor(QPalette::Active, role, colour);
        palette.setColor(QPalette::Inactive, role, colour);
    };
    const QColor light(0xee, 0xf4, 0xff);
    const QColor dimmed(0x93, 0xa6, 0xc2);
    both(QPalette::WindowText, light);
    both(QPalette::ButtonText, light);
    both(QPalette::Button, QColor(0x24, 0x58, 0x9c));
    both(QPalette::Light, QColor(0x4e, 0x82, 0xc6));
    both(QPalette::Dark, QColor(0x10, 0x2c, 0x58));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(0x2a, 0x40, 0x60));
    return palette;
}

QColor panelColour()
{
    return QColor(4, 16, 38, 185);
}

QColor framePanelColour()
{
    return QColor(4, 16, 38, 140);
}

QPalette menuBarPalette(const QPalette &base)
{
    QPalette palette = base;
    const QColor light(0xee, 0xf4, 0xff);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, QColor(0x0a, 0x1d, 0x3d));
        palette.setColor(group, QPalette::WindowText, light);
        palette.setColor(group, QPalette::ButtonText, light);
        palette.setColor(group, QPalette::Highlight, QColor(0x2d, 0x62, 0xab));
        palette.setColor(group, QPalette::HighlightedText, light);
    }
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7d, 0x90, 0xad));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7d, 0x90, 0xad));
    return palette;
}

} // namespace kelvane
