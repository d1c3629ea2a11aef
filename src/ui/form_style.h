#pragma once

#include <QProxyStyle>

namespace kelvane {

// The program's look: Fusion, which follows the windows' palettes on every desktop, with the
// boxes of check boxes growing with the font as the windows do, so that a box stays the size of
// its caption's letters.
class FormStyle : public QProxyStyle
{
public:
    FormStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
};

} // namespace kelvane
