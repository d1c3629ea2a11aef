#include "ui/form_style.h"

#include "ui/form_view.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QScreen>
#include <QStyleFactory>
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
        const QFont font = widget ? widget->font() : QApplication::font();
        auto known = m_fontScales.constFind(font.key());
        if (known == m_fontScales.cend())
            known = m_fontScales.insert(font.key(), FormView::fontScale(font));
        const qreal scale = *known;
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
