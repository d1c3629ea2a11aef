#pragma once

#include "support/fakes.h"
#include "ui/form_view.h"
#include "ui/qt_window_host.h"

#include <QTest>

namespace kelvane::testing {

// The program's windows in memory, shown through their real views.
struct UiApp : TestServices
{
    UiApp() { host.setWindowSet(windows); }

    // A start as after an earlier run: the start window's key exists, so no first-start notes.
    FormView &startAsBefore()
    {
        registry.SaveString(kCurrentUser, windowKeyPath("Start"), "csg", "0");
        windows.start();
        return *view(WindowId::start_window);
    }

    FormView &show(WindowId id)
    {
        host.showWindow(windows.window(id));
        return *view(id);
    }

    FormView *view(WindowId id) { return host.view(windows.window(id)); }

    QtWindowHost host{services};
    WindowSet windows{services, host};
};

} // namespace kelvane::testing
