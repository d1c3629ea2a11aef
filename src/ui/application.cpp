#include "ui/application.h"

#include "app/folder_reader.h"
#include "app/help_file.h"
#include "app/services.h"
#include "app/settings_reports.h"
#include "app/window_set.h"
#include "platform/native_platform.h"
#include "settings/registry.h"
#include "ui/font_warm_up.h"
#include "ui/form_style.h"
#include "ui/form_view.h"
#include "ui/german_qt_texts.h"
#include "ui/qt_interface_thread.h"
#include "ui/qt_message_service.h"
#include "ui/qt_window_host.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <array>

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

// The program's icon, drawn at each size rather than scaled from one so that the small ones stay
// crisp. A picture is read only when a size of it is first asked for. Read as PNG outright: left
// to guess the format, the reader would load every image plug-in. The windows carry the sizes a
// title bar, a task bar and a window switcher show; the desktop takes larger ones from the
// installed icon theme.
class ProgramIconEngine : public QIconEngine
{
public:
    static constexpr std::array<int, 5> Sizes{16, 24, 32, 48, 64};

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1);
    }

    // The size asked for is in the device's pixels already.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode, QIcon::State, qreal) override
    {
        const int wanted = std::max(size.width(), size.height());
        std::size_t at = 0;
        while (at + 1 < Sizes.size() && Sizes[at] < wanted)
            ++at;
        QPixmap &picture = m_pictures[at];
        if (picture.isNull()) {
            QImageReader reader(QStringLiteral(":/icons/%1.png").arg(Sizes[at]), "png");
            reader.setAutoDetectImageFormat(false);
            picture = QPixmap::fromImage(reader.read());
        }
        if (picture.width() <= wanted || picture.isNull())
            return picture;
        return picture.scaled(wanted, wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min({size.width(), size.height(), Sizes.back()});
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int side : Sizes)
            sizes.append(QSize(side, side));
        return sizes;
    }

    QString key() const override { return QStringLiteral("kelvane-program"); }
    QIconEngine *clone() const override { return new ProgramIconEngine(*this); }

private:
    std::array<QPixmap, Sizes.size()> m_pictures;
};

} // namespace

namespace {

void nameApplication()
{
    registerResources();
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KELVANE_APP_ID));
}

} // namespace

void presentProgramIcon()
{
    if (QGuiApplication::windowIcon().isNull())
        QApplication::setWindowIcon(QIcon(new ProgramIconEngine));
}

void presentApplication()
{
    nameApplication();
    presentProgramIcon();
}

int runKelvane(int argc, char **argv, std::function<void()> onFirstShown)
{
    startFontWarmUp();
    // The menus are drawn in the windows' own colours, never handed to a desktop's global menu
    // bar; without this, every menu bar would first ask the session bus for one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    nameApplication();
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
    QtInterfaceThread interfaceThread;
    FolderReader folders(platform->files(), interfaceThread);
    Services services{registry,
                      messages,
                      platform->files(),
                      platform->program(),
                      platform->opener(),
                      platform->writer(),
                      platform->launcher(),
                      help,
                      platform->systemInformation(),
                      folders};

    QtWindowHost host(services);
    WindowSet windows(services, host);
    host.setWindowSet(windows);
    windows.start();

    // The icon is read and handed to the window system once the first window is on screen,
    // which it would otherwise wait for; a message box shown before sets it itself, and a
    // window started minimised gets it a moment later all the same.
    if (FormView *first = windows.current() ? host.view(*windows.current()) : nullptr) {
        new FirstPaintWatcher(*first, [onFirstShown = std::move(onFirstShown)] {
            if (onFirstShown)
                onFirstShown();
            presentProgramIcon();
        });
        QTimer::singleShot(500, &app, presentProgramIcon);
    } else {
        presentProgramIcon();
    }
    const int status = app.exec();
    awaitFontWarmUp();
    return status;
}

} // namespace kelvane
