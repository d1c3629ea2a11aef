#include "ui/form_style.h"

#include "ui/form_view.h"

#include <QApplication>
#include <QScreen>
#include <QStyleFactory>
#include <cmath>

namespace kelvane {

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
        const qreal scale = FormView::fontScale(widget ? widget->font() : QApplication::font());
        return static_cast<int>(std::lround(size * 96.0 / dpi * scale));
    }
    default:
        return size;
    }
}

} // namespace kelvane
