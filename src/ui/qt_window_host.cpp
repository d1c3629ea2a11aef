#include "ui/qt_window_host.h"

#include "ui/form_view.h"

#include <QGuiApplication>

namespace kelvane {

QtWindowHost::QtWindowHost(Services &services)
    : m_services(services)
{}

QtWindowHost::~QtWindowHost()
{
    // The windows may be destroyed already, so the views go without detaching.
    for (auto &[window, view] : m_views)
        delete view;
    for (const QPointer<FormView> &view : m_closed)
        delete view.data();
}

FormView *QtWindowHost::view(const Window &window) const
{
    const auto found = m_views.find(&window);
    return found == m_views.end() ? nullptr : found->second;
}

QScreen *QtWindowHost::screenForNext(const FormView &shown) const
{
    for (const auto &[window, view] : m_views) {
        if (view != &shown && view->isVisible() && view->screen())
            return view->screen();
    }
    if (m_lastScreen)
        return m_lastScreen;
    return QGuiApplication::primaryScreen();
}

void QtWindowHost::showWindow(Window &window)
{
    FormView *shown = view(window);
    if (!shown) {
        shown = new FormView(window, m_services);
        m_views[&window] = shown;
        QObject::connect(shown, &FormView::closeRequested, shown, [this, &window] {
            if (m_windows)
                m_windows->closedByUser(window);
        });
    }
    if (QScreen *screen = screenForNext(*shown)) {
        shown->setScreen(screen);
        // The frame is centred where the system knows it (the window was shown before, or the
        // platform tells it in advance), else the window alone.
        shown->winId();
        const QSize frame = shown->frameGeometry().size();
        shown->move(screen->availableGeometry().center() -
                    QPoint(frame.width() / 2, frame.height() / 2));
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void QtWindowHost::hideWindow(Window &window)
{
    if (FormView *hidden = view(window)) {
        if (hidden->isVisible())
            m_lastScreen = hidden->screen();
        hidden->hide();
    }
}

void QtWindowHost::closeWindow(Window &window)
{
    const auto found = m_views.find(&window);
    if (found == m_views.end())
        return;
    FormView *closed = found->second;
    m_views.erase(found);
    // The window is destroyed right after this call, perhaps while its view is still busy
    // with the click that closed it: cut the view loose now, delete it later.
    closed->detach();
    closed->hide();
    closed->deleteLater();
    std::erase_if(m_closed, [](const QPointer<FormView> &view) { return view.isNull(); });
    m_closed.emplace_back(closed);
}

void QtWindowHost::quit()
{
    for (auto &[window, view] : m_views)
        view->hide();
    // exit() rather than quit(): quit() first asks every window to close, and the views
    // refuse that, since closing a window is the window set's decision.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

} // namespace kelvane
