#pragma once

#include "app/platform.h"

namespace kelvane {

// The program's message boxes: one "OK" button, the given icon and title, shown over the
// active window; show() returns when the user has closed the box.
class QtMessageService : public MessageService
{
public:
    void show(std::string_view text, MessageIcon icon, std::string_view title) override;
};

} // namespace kelvane
