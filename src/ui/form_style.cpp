#include "ui/form_style.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QScreen>
#include <QStyleFactory>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kelvane {

namespace {

// The double chevron of a bar's button for what does not fit, pointing along the bar.
class ExtensionIconEngine : public QIconEngine
{
public:
    explicit ExtensionIconEngine(Qt::Orientation along)
        : m_along(along)
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const QRectF box = QRectF(rect).adjusted(rect.width() * 0.25, rect.height() * 0.25,
                                                 -rect.width() * 0.25, -rect.height() * 0.25);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(mode == QIcon::Disabled ? QColor(150, 150, 150) : QColor(60, 60, 60),
                             std::max<qreal>(1, rect.height() / 10.0)));
        for (const qreal at : {0.0, 0.45}) {
            QPolygonF chevron;
            if (m_along == Qt::Horizontal) {
                const qreal x = box.left() + at * box.width();
                chevron << QPointF(x, box.top()) << QPointF(x + box.width() * 0.5, box.center().y())
                        << QPointF(x, box.bottom());
            } else {
                const qreal y = box.top() + at * box.height();
                chevron << QPointF(box.left(), y)
                        << QPointF(box.center().x(), y + box.height() * 0.5)
                        << QPointF(box.right(), y);
            }
            painter->drawPolyline(chevron);
        }
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, picture.rect(), mode, state);
        return picture;
    }

    QIconEngine *clone() const override { return new ExtensionIconEngine(m_along); }

private:
    Qt::Orientation m_along;
};

} // namespace

qreal fontScale(const QFont &font)
{
    // The reference font the windows are declared for: a sans serif of 9 points at 96 dots per
    // inch, as most Linux desktops set up without a theme of their own. Its lines are 14 pixels
    // high and its letters 7.45 pixels wide on average (the width of the 52 letters of the Latin
    // alphabet, divided by 52).
    constexpr qreal ReferenceLineHeight = 14.0;
    constexpr qreal ReferenceLetterWidth = 7.45;
    static QHash<QString, qreal> known;
    const QString key = font.key();
    if (const auto found = known.constFind(key); found != known.cend())
        return *found;
    const QFontMetricsF metrics(font);
    const qreal letterWidth = metrics.horizontalAdvance(QStringLiteral(
                                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                              52;
    const qreal scale = std::max(
        {qreal(1), metrics.height() / ReferenceLineHeight, letterWidth / ReferenceLetterWidth});
    known.insert(key, scale);
    return scale;
}

FormStyle::FormStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{}

int FormStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                           const QWidget *widget) const
{
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight: {
        // The style sizes the box for the screen's dots per inch; it is sized for the font
        // instead, in proportion to the box at the reference font and 96 dots per inch.
        const QScreen *screen = QGuiApplication::primaryScreen();
        const qreal dpi = widget   ? widget->logicalDpiY()
                          : screen ? screen->logicalDotsPerInchY()
                                   : 96.0;
        const qreal scale = fontScale(widget ? widget->font() : QApplication::font());
        return static_cast<int>(std::lround(size * 96.0 / dpi * scale));
    }
    default:
        return size;
    }
}

QIcon FormStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                              const QWidget *widget) const
{
    switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
        return QIcon(new ExtensionIconEngine(Qt::Horizontal));
    case SP_ToolBarVerticalExtensionButton:
        return QIcon(new ExtensionIconEngine(Qt::Vertical));
    default:
        return QProxyStyle::standardIcon(icon, option, widget);
    }
}

} // namespace kelvane
