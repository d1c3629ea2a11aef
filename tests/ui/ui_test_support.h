#pragma once

#include "support/fakes.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace kelvane::testing {

// Clicks the box of a check box, where a user clicks, rather than the middle of a widget that
// may be much wider than its caption.
inline void clickIndicator(QCheckBox &box)
{
    QStyleOptionButton option;
    option.initFrom(&box);
    const QRect indicator =
        box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
    QTest::mouseClick(&box, Qt::LeftButton, {}, indicator.center());
}

// Types text the way a keyboard does: the offscreen platform cannot type characters beyond
// ASCII through keyClicks(), so those go one key event at a time.
inline void typeText(QWidget &widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(&widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, &widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, &widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

} // namespace kelvane::testing
