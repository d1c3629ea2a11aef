#pragma once

#include "app/controls.h"
#include "app/menu.h"
#include "app/services.h"
#include "app/window_id.h"
#include "util/signal.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class WindowSet;

// One window of the program: its declared controls, its menu, and its three routines. A
// subclass declares its controls as members (in tab order) and its stored values in the order
// they are read and written; the load step and the save routine are loops over that table.
class Window
{
public:
    Window(WindowId id, std::string title, std::string settingsKey, Services &services);
    virtual ~Window() = default;
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    // The area below the menu bar that the controls are placed on, in pixels.
    struct Size
    {
        int w = 640;
        int h = 455;
    };

    WindowId id() const { return m_id; }
    // Every working window has the same size; a box may be smaller.
    virtual Size clientSize() const { return {}; }
    const std::string &title() const { return m_title; }
    // The last component of the window key; empty for a window that stores nothing.
    const std::string &settingsKey() const { return m_settingsKey; }
    std::string keyPath() const;

    const std::vector<Control *> &controls() const { return m_controls; }
    Control *control(std::string_view name) const;
    const std::vector<MenuItem> &menu() const { return m_menu; }

    Services &services() const { return m_services; }

    // The load step: reads every stored value when the window key exists.
    void load();
    bool isLoaded() const { return m_loaded; }
    // The save routine: writes every stored value, in order, as one group.
    virtual void save();
    // What a navigation action runs on this window before moving on: by default only the save
    // routine. False keeps the user here.
    virtual bool leave();
    // The same for an action that leads to `to`; a window whose checks word a message after
    // where the user goes overrides this.
    virtual bool leaveTowards(WindowId /*to*/) { return leave(); }

    // The user chose a menu item; the window set carries out its action.
    void activateMenuItem(const std::string &name);
    Signal<const MenuItem &> menuActivated;

    void registerControl(Control &control);
    // A note about a place that could not be restored or read: gathered while the window
    // loads and shown once at its end, shown at once otherwise.
    void note(std::string text);

protected:
    // Declares a stored value; the order of the calls is the order in the store.
    void store(std::string valueName, Persistent &control);
    // Runs when the window key is missing, instead of reading.
    virtual void firstStart() {}

    void showError(std::string_view text);
    void showInformation(std::string_view text);

    std::vector<MenuItem> &menuItems() { return m_menu; }

private:
    struct StoredValue
    {
        std::string name;
        Persistent *control;
    };

    WindowId m_id;
    std::string m_title;
    std::string m_settingsKey;
    Services &m_services;
    std::vector<Control *> m_controls;
    std::vector<MenuItem> m_menu;
    std::vector<StoredValue> m_stored;
    bool m_loaded = false;
    bool m_loading = false;
    std::vector<std::string> m_notes;
};

} // namespace kelvane
