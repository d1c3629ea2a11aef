#pragma once

#include "app/platform.h"

#include <QObject>

namespace kelvane {

// Runs posted tasks in the event loop of the thread this was made on, one event each, so that
// the windows go on answering between them.
class QtInterfaceThread : public InterfaceThread
{
public:
    void post(std::function<void()> task) override
    {
        QMetaObject::invokeMethod(&m_receiver, std::move(task), Qt::QueuedConnection);
    }

private:
    // Lives on the interface thread; tasks still queued when it goes are dropped.
    QObject m_receiver;
};

} // namespace kelvane
