#include "toolwindows/tool_window.h"

namespace kelvane {

bool ToolWindow::leave()
{
    save();
    if (!checks())
        return false;
    build();
    return true;
}

} // namespace kelvane
