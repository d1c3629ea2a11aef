#include "ui/blueprint.h"
#include "ui/form_view.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace kelvane {
namespace {

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(QRgb colour)
{
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) +
           0.0722 * linear(qBlue(colour));
}

TEST(BlueprintTest, LightTextReadsWellAnywhereOnThePaper)
{
    const Blueprint picture(FormView::WindowSize);
    double brightest = 0;
    for (int y = 0; y < picture.size().height(); ++y)
        for (int x = 0; x < picture.size().width(); ++x)
            brightest = std::max(brightest, luminance(picture.paperAt(x, y)));
    const QRgb text = formPalette(QPalette()).color(QPalette::WindowText).rgb();
    // The strictest contrast that guidelines for text ask for, even on a major grid line.
    EXPECT_GE((luminance(text) + 0.05) / (brightest + 0.05), 7.0);
}

TEST(BlueprintTest, PaintsThePaperInsideTheRegionAndNothingOutside)
{
    const Blueprint picture(FormView::WindowSize);
    QImage canvas(FormView::WindowSize, QImage::Format_RGB32);
    const QRgb untouched = qRgb(255, 0, 255);
    canvas.fill(untouched);
    // Across a strip boundary and off the grid, away from the drawing and the border.
    const QRect area(103, 45, 57, 40);
    {
        QPainter painter(&canvas);
        picture.paint(painter, QRegion(area), FormView::WindowSize);
    }
    for (int y = area.top() - 1; y <= area.bottom() + 1; ++y) {
        for (int x = area.left() - 1; x <= area.right() + 1; ++x) {
            const QRgb expected = area.contains(x, y) ? picture.paperAt(x, y) : untouched;
            ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(BlueprintTest, FillsEveryDevicePixelOnADenseScreen)
{
    const Blueprint picture(FormView::WindowSize);
    QImage canvas(FormView::WindowSize * 2, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(2);
    canvas.fill(qRgb(255, 0, 255));
    {
        QPainter painter(&canvas);
        picture.paint(painter, QRegion(QRect(100, 40, 20, 20)), FormView::WindowSize);
    }
    for (int y = 80; y < 120; ++y)
        for (int x = 200; x < 240; ++x)
            ASSERT_EQ(canvas.pixel(x, y), picture.paperAt(x / 2, y / 2)) << x << "," << y;
}

} // namespace
} // namespace kelvane
