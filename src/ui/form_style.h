#pragma once

#include <QHash>
#include <QProxyStyle>

namespace kelvane {

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

private:
    // The scale of each font asked for: the boxes are measured often, and measuring a font
    // shapes a line of text.
    mutable QHash<QString, qreal> m_fontScales;
};

} // namespace kelvane
