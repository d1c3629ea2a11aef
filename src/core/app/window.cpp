#include "app/window.h"

#include "settings/registry.h"

#include <cassert>

namespace kelvane {

Window::Window(WindowId id, std::string title, std::string settingsKey, Services &services)
    : m_id(id)
    , m_title(std::move(title))
    , m_settingsKey(std::move(settingsKey))
    , m_services(services)
    , m_menu(standardMenu(id))
{}

std::string Window::keyPath() const
{
    return windowKeyPath(m_settingsKey);
}

Control *Window::control(std::string_view name) const
{
    for (Control *c : m_controls)
        if (c->name() == name)
            return c;
    return nullptr;
}

void Window::registerControl(Control &control)
{
    assert(!this->control(control.name()) && "control names are unique on a window");
    m_controls.push_back(&control);
}

void Window::store(std::string valueName, Persistent &control)
{
    m_stored.push_back({std::move(valueName), &control});
}

void Window::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_loading = true;
    Registry &registry = m_services.registry;
    const std::string path = keyPath();
    if (!m_settingsKey.empty() && registry.KeyExists(kCurrentUser, path)) {
        for (const auto &value : m_stored) {
            if (auto problem = value.control->restore(
                    registry.ReadValue(kCurrentUser, path, value.name)))
                m_notes.push_back(std::move(*problem));
        }
    } else if (!m_settingsKey.empty()) {
        firstStart();
    }
    m_loading = false;
    if (!m_notes.empty()) {
        std::string text;
        for (const auto &n : m_notes) {
            if (!text.empty())
                text += "\r\n";
            text += n;
        }
        m_notes.clear();
        showInformation(text);
    }
}

void Window::save()
{
    if (m_settingsKey.empty())
        return;
    Registry &registry = m_services.registry;
    const std::string path = keyPath();
    Registry::Batch batch(registry);
    for (const auto &value : m_stored)
        registry.SaveString(kCurrentUser, path, value.name, value.control->storedText());
}

bool Window::leave()
{
    save();
    return true;
}

void Window::activateMenuItem(const std::string &name)
{
    const MenuItem *item = findMenuItem(m_menu, name);
    if (item && item->enabled && item->action != MenuAction::None)
        menuActivated(*item);
}

void Window::showError(std::string_view text)
{
    m_services.messages.show(text, MessageIcon::Critical, kErrorTitle);
}

void Window::showInformation(std::string_view text)
{
    m_services.messages.show(text, MessageIcon::Information, kInformationTitle);
}

void Window::note(std::string text)
{
    if (m_loading)
        m_notes.push_back(std::move(text));
    else
        showInformation(text);
}

} // namespace kelvane
