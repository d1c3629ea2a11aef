#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kelvane {

// A list of callbacks raised in the order they were connected. Connecting returns an id that
// disconnects again; the view uses that when a window's widgets go away before its models.
template <typename... Args>
class Signal
{
public:
    using Slot = std::function<void(Args...)>;

    int connect(Slot slot)
    {
        m_slots.push_back({m_nextId, std::make_shared<Slot>(std::move(slot))});
        return m_nextId++;
    }

    void disconnect(int id)
    {
        std::erase_if(m_slots, [id](const Entry &e) { return e.id == id; });
    }

    void operator()(Args... args) const
    {
        // A slot may connect or disconnect while the signal runs; run over a copy.
        const auto snapshot = m_slots;
        for (const auto &entry : snapshot)
            (*entry.slot)(args...);
    }

private:
    struct Entry
    {
        int id;
        std::shared_ptr<Slot> slot;
    };
    std::vector<Entry> m_slots;
    int m_nextId = 1;
};

} // namespace kelvane
