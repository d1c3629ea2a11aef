#include "ui/blueprint.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvane {

namespace {

// The sheet's colours. Lines are mixed with the paper beneath them here rather than blended by
// the painter: opaque drawing is many times faster.
constexpr QRgb kPaperTop = qRgb(18, 52, 98);
constexpr QRgb kPaperBottom = qRgb(9, 30, 64);
constexpr QRgb kGridLine = qRgb(150, 195, 250);
constexpr QRgb kPencil = qRgb(200, 225, 255);
constexpr float kFineGrid = 0.10f;  // share of the line colour in a fine grid line
constexpr float kMajorGrid = 0.23f; // every fifth line
constexpr float kShade = 0.45f;     // how much darker the corners are than the middle
constexpr int kStripRows = 16;      // the paper is painted in strips of this many rows

float channel(QRgb colour, int c)
{
    return static_cast<float>((colour >> (16 - 8 * c)) & 0xff);
}

float gridAt(int i)
{
    return i % 50 == 0 ? kMajorGrid : i % 10 == 0 ? kFineGrid : 0.0f;
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

} // namespace

Blueprint::Blueprint(QSize size)
    : m_size(size)
    , m_span(size.width() * 0.35f + size.height())
    , m_middleX(size.width() / 2.0f)
    , m_middleY(size.height() / 2.0f)
    , m_flangeCentre(size.width() * 0.80, size.height() * 0.60)
    , m_flangeRadius(size.height() * 0.21)
{
    m_reach = (m_middleX * m_middleX + m_middleY * m_middleY) * 1.1f;
    // What depends on the column alone, worked out once.
    const auto columns = static_cast<std::size_t>(size.width());
    m_columnShift.resize(columns);
    m_columnDistance.resize(columns);
    m_columnGrid.resize(columns);
    for (int x = 0; x < size.width(); ++x) {
        const auto i = static_cast<std::size_t>(x);
        m_columnShift[i] = x * 0.35f / m_span;
        m_columnDistance[i] = (x - m_middleX) * (x - m_middleX);
        m_columnGrid[i] = gridAt(x);
    }

    const qreal r = m_flangeRadius;
    m_flangeBounds =
        QRectF(m_flangeCentre.x() - r * 2.4, m_flangeCentre.y() - r * 1.5, r * 3.7, r * 2.75)
            .toAlignedRect();
    const QPoint centre = m_flangeCentre.toPoint();
    m_flangeInks = {ink(centre, 0.27f), ink(centre, 0.14f)};
    const QPoint edge(size.width() / 2, 8);
    m_borderInks = {ink(edge, 0.22f), ink(edge, 0.11f)};
}

QRgb Blueprint::paperAt(int x, int y) const
{
    const auto i = static_cast<std::size_t>(std::clamp(x, 0, m_size.width() - 1));
    const float t = m_columnShift[i] + y / m_span;
    const float grid = std::max(gridAt(y), m_columnGrid[i]);
    const float dy = y - m_middleY;
    const float shade = 1.0f - kShade * (m_columnDistance[i] + dy * dy) / m_reach;
    int rgb[3];
    for (int c = 0; c < 3; ++c) {
        const float paper =
            channel(kPaperTop, c) + (channel(kPaperBottom, c) - channel(kPaperTop, c)) * t;
        rgb[c] = static_cast<int>((paper + (channel(kGridLine, c) - paper) * grid) * shade);
    }
    return qRgb(rgb[0], rgb[1], rgb[2]);
}

QColor Blueprint::ink(QPoint at, float strength) const
{
    // The average over a square of the grid's size, so that a grid line under the place does
    // not decide the colour.
    float sum[3] = {0, 0, 0};
    for (int y = at.y(); y < at.y() + 10; ++y) {
        for (int x = at.x(); x < at.x() + 10; ++x) {
            const QRgb under = paperAt(x, y);
            sum[0] += qRed(under);
            sum[1] += qGreen(under);
            sum[2] += qBlue(under);
        }
    }
    int rgb[3];
    for (int c = 0; c < 3; ++c) {
        const float paper = sum[c] / 100.0f;
        rgb[c] = static_cast<int>(paper + (channel(kPencil, c) - paper) * strength);
    }
    return QColor(rgb[0], rgb[1], rgb[2]);
}

void Blueprint::paint(QPainter &painter, const QRegion &region, const QRect &sheet) const
{
    const QRect paper(QPoint(0, 0), m_size);
    for (const QRect &area : region)
        paintPaper(painter, area & paper);
    painter.save();
    painter.setClipRegion(region);
    if (region.intersects(m_flangeBounds))
        paintFlange(painter);
    paintBorder(painter, sheet);
    painter.restore();
}

void Blueprint::paperRow(int y, int left, int count, QRgb *out) const
{
    const float rowShift = y / m_span;
    const float rowGrid = gridAt(y);
    const float dy = y - m_middleY;
    const float rowShade = 1.0f - kShade * dy * dy / m_reach;
    const float columnShade = kShade / m_reach;
    float base[3];
    float rise[3];
    float pen[3];
    for (int c = 0; c < 3; ++c) {
        rise[c] = channel(kPaperBottom, c) - channel(kPaperTop, c);
        base[c] = channel(kPaperTop, c) + rise[c] * rowShift;
        pen[c] = channel(kGridLine, c);
    }
    const float *shift = m_columnShift.data() + left;
    const float *distance = m_columnDistance.data() + left;
    const float *grid = m_columnGrid.data() + left;
    for (int i = 0; i < count; ++i) {
        const float g = std::max(rowGrid, grid[i]);
        const float shade = rowShade - columnShade * distance[i];
        const float r = base[0] + rise[0] * shift[i];
        const float gr = base[1] + rise[1] * shift[i];
        const float b = base[2] + rise[2] * shift[i];
        const int red = static_cast<int>((r + (pen[0] - r) * g) * shade);
        const int green = static_cast<int>((gr + (pen[1] - gr) * g) * shade);
        const int blue = static_cast<int>((b + (pen[2] - b) * g) * shade);
        out[i] = static_cast<QRgb>(0xff000000 | (red << 16) | (green << 8) | blue);
    }
}

void Blueprint::paintPaper(QPainter &painter, const QRect &area) const
{
    if (area.isEmpty())
        return;
    const qreal scale = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const int width = static_cast<int>(std::ceil(area.width() * scale));
    QImage strip(width, static_cast<int>(std::ceil(kStripRows * scale)), QImage::Format_RGB32);
    strip.setDevicePixelRatio(scale);
    // On a screen with more device pixels than logical ones, each logical pixel of a row is
    // worked out once and repeated.
    std::vector<QRgb> logical(scale == 1.0 ? 0 : static_cast<std::size_t>(area.width()));
    for (int stripTop = area.top(); stripTop <= area.bottom(); stripTop += kStripRows) {
        const int rows = std::min(kStripRows, area.bottom() + 1 - stripTop);
        const int deviceRows = static_cast<int>(std::ceil(rows * scale));
        for (int j = 0; j < deviceRows; ++j) {
            const int y = stripTop + static_cast<int>(j / scale);
            auto *line = reinterpret_cast<QRgb *>(strip.scanLine(j));
            if (logical.empty()) {
                paperRow(y, area.left(), area.width(), line);
                continue;
            }
            paperRow(y, area.left(), area.width(), logical.data());
            for (int i = 0; i < width; ++i)
                line[i] =
                    logical[std::min(static_cast<std::size_t>(i / scale), logical.size() - 1)];
        }
        painter.drawImage(QPointF(area.left(), stripTop), strip, QRectF(0, 0, width, deviceRows));
    }
}

// A flange in two views, as on a workshop drawing: the front view with its bolt circle and
// centre lines and its diameter dimensioned above, the side view with its hub to the left.
// Every line is one pixel wide, which the painter draws many times faster than a wider one; the
// outlines stand out by a stronger ink.
void Blueprint::paintFlange(QPainter &p) const
{
    const QPointF c = m_flangeCentre;
    const qreal r = m_flangeRadius;
    const QColor line = m_flangeInks.strong;
    const QColor thin = m_flangeInks.faint;
    const QPen centre(thin, 1.0, Qt::DashDotLine);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);

    p.setPen(QPen(line, 1.0));
    p.drawEllipse(c, r, r);
    p.drawEllipse(c, r * 0.42, r * 0.42);
    p.setPen(QPen(thin, 1.0));
    p.drawEllipse(c, r * 0.36, r * 0.36);
    p.setPen(centre);
    p.drawEllipse(c, r * 0.72, r * 0.72);
    p.setPen(QPen(line, 1.0));
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
    p.setPen(QPen(line, 1.0));
    p.drawRect(QRectF(sx - r * 0.12, c.y() - r, r * 0.24, 2 * r));
    p.drawRect(QRectF(sx + r * 0.12, c.y() - r * 0.42, r * 0.3, r * 0.84));
    p.setPen(QPen(thin, 1.0, Qt::DashLine));
    p.drawLine(QPointF(sx - r * 0.12, c.y() - r * 0.36), QPointF(sx + r * 0.42, c.y() - r * 0.36));
    p.drawLine(QPointF(sx - r * 0.12, c.y() + r * 0.36), QPointF(sx + r * 0.42, c.y() + r * 0.36));
    p.setPen(centre);
    p.drawLine(QPointF(sx - r * 0.35, c.y()), QPointF(sx + r * 0.6, c.y()));
}

// The double border of a drawing sheet, its lines filled as rectangles one pixel wide (the
// painter fills those far faster than it strokes a clipped outline).
void Blueprint::paintBorder(QPainter &p, const QRect &sheet) const
{
    const auto frame = [&p](const QRect &r, const QColor &ink) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), ink);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), ink);
        p.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), ink);
        p.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), ink);
    };
    frame(sheet.adjusted(6, 6, -6, -6), m_borderInks.strong);
    frame(sheet.adjusted(9, 9, -9, -9), m_borderInks.faint);
}

namespace {

struct Roles
{
    QPalette::ColorRole role;
    QColor colour;
};

QPalette pinned(std::initializer_list<Roles> active, std::initializer_list<Roles> disabled)
{
    QPalette palette;
    for (const Roles &r : active) {
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, r.role, r.colour);
    }
    for (const Roles &r : disabled)
        palette.setColor(QPalette::Disabled, r.role, r.colour);
    return palette;
}

} // namespace

QPalette formPalette()
{
    const QColor light(0xee, 0xf4, 0xff);
    const QColor dark(0x0b, 0x1a, 0x30);
    const QColor button(0x24, 0x58, 0x9c);
    const QColor sheet(0x10, 0x2c, 0x55);
    return pinned(
        {
            {QPalette::Window, sheet},
            {QPalette::WindowText, light},
            {QPalette::Base, QColor(0xf6, 0xf9, 0xfe)},
            {QPalette::AlternateBase, QColor(0xe6, 0xed, 0xf7)},
            {QPalette::Text, dark},
            {QPalette::PlaceholderText, QColor(0x55, 0x66, 0x80)},
            {QPalette::Button, button},
            {QPalette::ButtonText, light},
            {QPalette::BrightText, Qt::white},
            {QPalette::Light, QColor(0x4e, 0x82, 0xc6)},
            {QPalette::Midlight, QColor(0x39, 0x6c, 0xb0)},
            {QPalette::Mid, QColor(0x1b, 0x44, 0x7c)},
            {QPalette::Dark, QColor(0x10, 0x2c, 0x58)},
            {QPalette::Shadow, QColor(0x03, 0x0c, 0x1c)},
            {QPalette::Highlight, QColor(0x1f, 0x5f, 0xbf)},
            {QPalette::HighlightedText, Qt::white},
            {QPalette::Link, QColor(0x9c, 0xd0, 0xff)},
            {QPalette::LinkVisited, QColor(0xc8, 0xb0, 0xff)},
            {QPalette::ToolTipBase, QColor(0xff, 0xfb, 0xe0)},
            {QPalette::ToolTipText, dark},
        },
        {
            // Greyed, yet readable: a disabled field still shows a value that counts.
            {QPalette::WindowText, QColor(0x9d, 0xae, 0xc8)},
            {QPalette::ButtonText, QColor(0xb0, 0xbe, 0xd4)},
            {QPalette::Button, QColor(0x2a, 0x40, 0x60)},
            {QPalette::Base, QColor(0xd9, 0xdf, 0xe8)},
            {QPalette::Text, QColor(0x3d, 0x48, 0x5a)},
            {QPalette::PlaceholderText, QColor(0x47, 0x54, 0x6a)},
            {QPalette::Highlight, QColor(0x5a, 0x6e, 0x8c)},
        });
}

QColor panelColour()
{
    return QColor(4, 16, 38, 185);
}

QColor framePanelColour()
{
    return QColor(4, 16, 38, 140);
}

QPalette menuBarPalette()
{
    const QColor band(0x0a, 0x1d, 0x3d);
    const QColor light(0xee, 0xf4, 0xff);
    const QColor dimmed(0x8f, 0xa2, 0xbf);
    return pinned(
        {
            {QPalette::Window, band},
            {QPalette::Base, band},
            {QPalette::Button, band},
            {QPalette::WindowText, light},
            {QPalette::ButtonText, light},
            {QPalette::Text, light},
            {QPalette::BrightText, Qt::white},
            {QPalette::Light, QColor(0x3a, 0x5a, 0x8a)},
            {QPalette::Midlight, QColor(0x24, 0x40, 0x6c)},
            {QPalette::Mid, QColor(0x18, 0x30, 0x58)},
            {QPalette::Dark, QColor(0x05, 0x10, 0x24)},
            {QPalette::Shadow, QColor(0x02, 0x08, 0x14)},
            {QPalette::Highlight, QColor(0x2d, 0x62, 0xab)},
            {QPalette::HighlightedText, Qt::white},
            {QPalette::ToolTipBase, QColor(0xff, 0xfb, 0xe0)},
            {QPalette::ToolTipText, QColor(0x0b, 0x1a, 0x30)},
        },
        {
            {QPalette::WindowText, dimmed},
            {QPalette::ButtonText, dimmed},
            {QPalette::Text, dimmed},
        });
}

QColor focusColour()
{
    return QColor(0xff, 0xc2, 0x3d);
}

} // namespace kelvane
