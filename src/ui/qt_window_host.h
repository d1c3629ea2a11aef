#pragma once

#include "app/window_set.h"

#include <QPointer>
#include <QScreen>
#include <map>
#include <vector>

namespace kelvane {

class FormView;

// Shows the windows of a window set as dialogs: a FormView per window, made when the window is
// first shown and kept while it is hidden. Each window comes up centred on the screen where the
// window it replaces (or stands beside) was, so that the wizard stays on the user's monitor.
class QtWindowHost : public WindowHost
{
public:
    explicit QtWindowHost(Services &services);
    ~QtWindowHost() override;
    QtWindowHost(const QtWindowHost &) = delete;
    QtWindowHost &operator=(const QtWindowHost &) = delete;

    // The window set that hears when the user closes a window through its title bar.
    void setWindowSet(WindowSet &windows) { m_windows = &windows; }

    void showWindow(Window &window) override;
    void hideWindow(Window &window) override;
    void closeWindow(Window &window) override;
    // Hides every window and leaves the event loop once the current event is handled.
    void quit() override;

    // The view of a window; null before it was first shown and after it was closed.
    FormView *view(const Window &window) const;

private:
    // The screen a window shown now belongs on.
    QScreen *screenForNext(const FormView &shown) const;

    Services &m_services;
    WindowSet *m_windows = nullptr;
    // Where the last hidden window was, for a window shown after it.
    QPointer<QScreen> m_lastScreen;
    std::map<const Window *, FormView *> m_views;
    // Views of closed windows that wait for the event loop to delete them.
    std::vector<QPointer<FormView>> m_closed;
};

} // namespace kelvane
