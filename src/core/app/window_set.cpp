#include "app/window_set.h"

#include "app/start_window.h"
#include "info/about.h"
#include "script/end_window.h"
#include "script/hl_mod.h"
#include "script/presets.h"
#include "toolwindows/bsp_optionen.h"
#include "toolwindows/csg_optionen.h"
#include "toolwindows/netvis_optionen.h"
#include "toolwindows/rad_optionen.h"
#include "toolwindows/vis_optionen.h"

namespace kelvane {

WindowSet::WindowSet(Services &services, WindowHost &host)
    : m_services(services)
    , m_host(host)
{}

WindowSet::~WindowSet() = default;

std::unique_ptr<Window> WindowSet::make(WindowId id)
{
    switch (id) {
    case WindowId::start_window: return std::make_unique<start_window>(m_services);
    case WindowId::HL_MOD: return std::make_unique<HL_MOD>(m_services);
    case WindowId::CSG_Optionen: return std::make_unique<CSG_Optionen>(m_services);
    case WindowId::BSP_Optionen: return std::make_unique<BSP_Optionen>(m_services);
    case WindowId::VIS_Optionen: return std::make_unique<VIS_Optionen>(m_services);
    case WindowId::NETVIS_Optionen: return std::make_unique<NETVIS_Optionen>(m_services);
    case WindowId::RAD_Optionen: return std::make_unique<RAD_Optionen>(m_services);
    case WindowId::end_window: return std::make_unique<end_window>(m_services, *this);
    case WindowId::presets: return std::make_unique<presets>(m_services, *this);
    case WindowId::About: return std::make_unique<About>(m_services);
    }
    return nullptr;
}

void WindowSet::wire(Window &w)
{
    w.menuActivated.connect([this, &w](const MenuItem &item) {
        switch (item.action) {
        case MenuAction::Navigate:
            navigate(w, *item.target);
            break;
        case MenuAction::Exit:
            exit(w);
            break;
        case MenuAction::About:
            showAbout();
            break;
        case MenuAction::None:
            break;
        }
    });
    for (Control *c : w.controls()) {
        if (c->kind() != ControlKind::Button)
            continue;
        auto *button = static_cast<Button *>(c);
        if (button->target()) {
            const WindowId to = *button->target();
            button->clicked.connect([this, &w, to] { navigate(w, to); });
        }
    }
    if (w.id() == WindowId::About)
        static_cast<About &>(w).cmdOK.clicked.connect([this] { closeAbout(); });
}

Window &WindowSet::window(WindowId id)
{
    auto found = m_windows.find(id);
    if (found != m_windows.end())
        return *found->second;
    Window &w = *m_windows.emplace(id, make(id)).first->second;
    wire(w);
    w.load();
    return w;
}

bool WindowSet::isLoaded(WindowId id) const
{
    return m_windows.contains(id);
}

void WindowSet::start()
{
    Window &first = window(WindowId::start_window);
    m_current = &first;
    m_host.showWindow(first);
}

void WindowSet::navigate(Window &from, WindowId to)
{
    if (m_ended || !from.leaveTowards(to))
        return;
    Window &target = window(to);
    m_host.showWindow(target);
    if (&target != &from)
        m_host.hideWindow(from);
    m_current = &target;
}

void WindowSet::exit(Window &from)
{
    from.save();
    end();
}

void WindowSet::end()
{
    m_ended = true;
    m_current = nullptr;
    m_host.quit();
}

void WindowSet::showAbout()
{
    m_host.showWindow(window(WindowId::About));
}

void WindowSet::closeAbout()
{
    auto found = m_windows.find(WindowId::About);
    if (found == m_windows.end())
        return;
    std::unique_ptr<Window> about = std::move(found->second);
    m_windows.erase(found);
    m_host.closeWindow(*about);
}

void WindowSet::closedByUser(Window &w)
{
    if (w.id() == WindowId::About)
        closeAbout();
    else
        end();
}

start_window &WindowSet::startWindow()
{
    return static_cast<start_window &>(window(WindowId::start_window));
}

HL_MOD &WindowSet::hlMod()
{
    return static_cast<HL_MOD &>(window(WindowId::HL_MOD));
}

CSG_Optionen &WindowSet::csg()
{
    return static_cast<CSG_Optionen &>(window(WindowId::CSG_Optionen));
}

BSP_Optionen &WindowSet::bsp()
{
    return static_cast<BSP_Optionen &>(window(WindowId::BSP_Optionen));
}

VIS_Optionen &WindowSet::vis()
{
    return static_cast<VIS_Optionen &>(window(WindowId::VIS_Optionen));
}

NETVIS_Optionen &WindowSet::netvis()
{
    return static_cast<NETVIS_Optionen &>(window(WindowId::NETVIS_Optionen));
}

RAD_Optionen &WindowSet::rad()
{
    return static_cast<RAD_Optionen &>(window(WindowId::RAD_Optionen));
}

end_window &WindowSet::endWindow()
{
    return static_cast<end_window &>(window(WindowId::end_window));
}

presets &WindowSet::presetsWindow()
{
    return static_cast<presets &>(window(WindowId::presets));
}

} // namespace kelvane
