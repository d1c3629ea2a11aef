#pragma once

#include "app/window.h"

namespace kelvane {

// A compiler's option window. Leaving it saves first, then checks, then builds the parameter
// line; a failed check keeps the user here with the values saved but the line unchanged.
class ToolWindow : public Window
{
public:
    using Window::Window;

    bool leave() override;

protected:
    // The window's checks in their order; shows the first failing one's message.
    virtual bool checks() { return true; }
    // Builds the parameter line into the window's parameter field.
    virtual void build() {}
};

} // namespace kelvane
