#include "ui/application.h"

#include "app/help_file.h"
#include "app/services.h"
#include "app/settings_reports.h"
#include "app/window_set.h"
#include "platform/native_platform.h"
#include "settings/registry.h"
#include "ui/form_style.h"
#include "ui/form_view.h"
#include "ui/german_qt_texts.h"
#include "ui/qt_message_service.h"
#include "ui/qt_window_host.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <future>
#include <thread>

#if KELVANE_WARM_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

// The icons are compiled into this static library; its resources must be registered by name.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace kelvane {

namespace {

// Runs a callback once, after the first paint of the widget it watches has gone out.
class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(QWidget &widget, std::function<void()> callback)
        : QObject(&widget)
        , m_callback(std::move(callback))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_callback) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(this, std::exchange(m_callback, {}), Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_callback;
};

} // namespace

void presentApplication()
{
    registerResources();
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Kelvane"));
    // Drawn at each size rather than scaled from one, so that the small ones stay crisp. Read
    // as PNG outright: left to guess the format, the reader would load every image plug-in.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImageReader reader(QStringLiteral(":/icons/%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    QApplication::setWindowIcon(icon);
}

int runKelvane(int argc, char **argv, std::function<void()> onFirstShown)
{
#if KELVANE_WARM_FONTCONFIG
    // Fontconfig reads its configuration and caches on a thread of its own while the toolkit
    // starts; the first text drawn would otherwise wait for that.
    std::thread fontconfig([] { FcInit(); });
#endif

    QApplication app(argc, argv);
    presentApplication();
    // The program ends through its windows' exit item or title bar, never because the last
    // visible window went away for a moment (a message box before the first window).
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows have a look of their own, drawn through palettes; Fusion follows palettes
    // on every desktop, where a native style may draw a caption in its own colour.
    QApplication::setStyle(new FormStyle);
    installGermanQtTexts(app);

    const std::unique_ptr<NativePlatform> platform = NativePlatform::create();
    QtMessageService messages;
    // Settings set aside or not saved are told at once, while the user can still act.
    ReportingRegistryBackend settings(platform->settings(), messages);
    Registry registry(settings);
    HelpFile help(platform->files(), platform->opener(), messages);
    Services services{registry,
                      messages,
                      platform->files(),
                      platform->program(),
                      platform->opener(),
                      platform->writer(),
                      platform->launcher(),
                      help,
                      platform->systemInformation()};

    QtWindowHost host(services);
    WindowSet windows(services, host);
    host.setWindowSet(windows);
#if KELVANE_WARM_FONTCONFIG
    // The first window loads its settings and lists its directories before the view needs
    // the fonts.
    windows.window(WindowId::start_window);
    fontconfig.join();
#endif
    windows.start();

    if (onFirstShown && windows.current()) {
        if (FormView *first = host.view(*windows.current()))
            new FirstPaintWatcher(*first, std::move(onFirstShown));
    }
    return app.exec();
}

} // namespace kelvane
