#include "ui/application.h"
#include "ui/form_style.h"

#include <QApplication>
#include <gtest/gtest.h>

// The view tests need a QApplication for their whole run; they run without a display, on two
// screens.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        qputenv("QT_QPA_PLATFORM", KELVANE_UI_PLATFORM);
    }
    QApplication app(argc, argv);
    kelvane::presentApplication();
    QApplication::setStyle(new kelvane::FormStyle);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
