#include "ui/application.h"
#include "ui/form_style.h"

#include <QApplication>
#include <gtest/gtest.h>

// The view tests need a QApplication for their whole run; they run without a display, on two
// screens.
int main(int argc, char **argv)
{
    // The offscreen platform cannot raise windows or pass size hints and says so each time;
    // that says nothing about the program.
    static const QtMessageHandler standard = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.startsWith(QLatin1String("This plugin does not support")))
                standard(type, context, message);
        });
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
