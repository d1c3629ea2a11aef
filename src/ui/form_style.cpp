#include "ui/form_style.h"

#include "ui/form_view.h"

#include <QApplication>
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
        const qreal scale = FormView::fontScale(widget ? widget->font() : QApplication::font());
        return static_cast<int>(std::lround(size * scale));
    }
    default:
        return size;
    }
}

} // namespace kelvane
