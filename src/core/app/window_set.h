#pragma once

#include "app/services.h"
#include "app/window.h"
#include "app/window_id.h"

#include <map>
#include <memory>

namespace kelvane {

class start_window;
class HL_MOD;
class CSG_Optionen;
class BSP_Optionen;
class VIS_Optionen;
class NETVIS_Optionen;
class RAD_Optionen;
class end_window;
class presets;
class About;

// What the user interface does for the window set: show and hide windows, close the about
// box, end the program.
class WindowHost
{
public:
    virtual ~WindowHost() = default;
    virtual void showWindow(Window &window) = 0;
    virtual void hideWindow(Window &window) = 0;
    // The window goes away for good (only the about box does); its model is destroyed next.
    virtual void closeWindow(Window &window) = 0;
    virtual void quit() = 0;
};

// Owns the windows, creates each on first use (running its load step), and carries out the
// navigation between them.
class WindowSet
{
public:
    WindowSet(Services &services, WindowHost &host);
    ~WindowSet();

    // Start-up: the start window and nothing else.
    void start();

    // The window, created and loaded on first use; it stays hidden until shown.
    Window &window(WindowId id);
    bool isLoaded(WindowId id) const;
    // The working window the user sees; null before start and after the end.
    Window *current() const { return m_current; }
    bool hasEnded() const { return m_ended; }

    // A menu item with a target or a next-step button: the routines of the window left, then
    // the target shown and the window left hidden. Stops where a check fails.
    void navigate(Window &from, WindowId to);
    // The exit item: the window's save routine, then the end.
    void exit(Window &from);
    void showAbout();
    void closeAbout();
    // The user closed a window through its title bar: the about box closes, any other window
    // ends the program without saving.
    void closedByUser(Window &window);
    // Ends the program without saving (after the presets window has started its script).
    void end();

    start_window &startWindow();
    HL_MOD &hlMod();
    CSG_Optionen &csg();
    BSP_Optionen &bsp();
    VIS_Optionen &vis();
    NETVIS_Optionen &netvis();
    RAD_Optionen &rad();
    end_window &endWindow();
    presets &presetsWindow();

private:
    std::unique_ptr<Window> make(WindowId id);
    void wire(Window &window);

    Services &m_services;
    WindowHost &m_host;
    std::map<WindowId, std::unique_ptr<Window>> m_windows;
    Window *m_current = nullptr;
    bool m_ended = false;
};

} // namespace kelvane
