#pragma once

#include <QProxyStyle>

class QFont;

namespace kelvane {

// How much larger than declared the controls are shown for a font: 1 at the reference font and
// below, the ratio of the font's letter height or average width to the reference's above.
// Measured once for each font (measuring shapes a line of text); on the interface thread.
qreal fontScale(const QFont &font);

// The program's look: Fusion, which follows the windows' palettes on every desktop, with the
// boxes of check boxes growing with the font as the windows do, so that a box stays the size of
// its caption's letters. Some icons the toolkit asks for at start are drawn here: the style's
// own are picture files whose loading brings in every image plug-in.
class FormStyle : public QProxyStyle
{
public:
    FormStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

} // namespace kelvane
