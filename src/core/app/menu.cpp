#include "app/menu.h"

#include "app/window_id.h"

namespace kelvane {

namespace {

MenuItem go(std::string name, std::string caption, WindowId target)
{
    return {std::move(name), std::move(caption), true, MenuAction::Navigate, target, {}};
}

MenuItem leaf(std::string name, std::string caption, MenuAction action)
{
    return {std::move(name), std::move(caption), true, action, std::nullopt, {}};
}

MenuItem parent(std::string name, std::string caption, std::vector<MenuItem> children)
{
    return {std::move(name), std::move(caption), true, MenuAction::None, std::nullopt,
            std::move(children)};
}

MenuItem *find(std::vector<MenuItem> &menu, const std::string &name)
{
    for (auto &item : menu) {
        if (item.name == name)
            return &item;
        if (MenuItem *inner = find(item.children, name))
            return inner;
    }
    return nullptr;
}

void rename(std::vector<MenuItem> &menu, const std::string &from, std::string to)
{
    find(menu, from)->name = std::move(to);
}

void recaption(std::vector<MenuItem> &menu, const std::string &name, std::string caption)
{
    find(menu, name)->caption = std::move(caption);
}

} // namespace

std::vector<MenuItem> standardMenu(WindowId window)
{
    std::vector<MenuItem> menu{
        parent("auswahl", "&Auswahl",
               {go("zhltmap", "&ZHLT-Verzeichnis und .MAP", WindowId::start_window),
                go("pre", "&Presets", WindowId::presets),
                go("hlmod", "&Half-Life und MOD", WindowId::HL_MOD)}),
        parent("optionen", "Compiler-&Optionen",
               {go("csg", "&CSG", WindowId::CSG_Optionen),
                go("bsp", "&BSP", WindowId::BSP_Optionen),
                go("vis", "&VIS", WindowId::VIS_Optionen),
                go("netvis", "&NETVIS", WindowId::NETVIS_Optionen),
                go("rad", "&RAD", WindowId::RAD_Optionen)}),
        go("kompilieren", "&Kompilieren!", WindowId::end_window),
        leaf("exit", "Programm b&eenden", MenuAction::Exit),
        leaf("aboutmenu", "&?", MenuAction::About),
    };

    // The item that leads to the window itself is disabled there.
    const char *own = nullptr;
    switch (window) {
    case WindowId::start_window:
        own = "zhltmap";
        break;
    case WindowId::HL_MOD:
        own = "hlmod";
        recaption(menu, "optionen", "&Compiler-Optionen");
        rename(menu, "optionen", "options");
        rename(menu, "kompilieren", "compile");
        break;
    case WindowId::CSG_Optionen:
        own = "csg";
        rename(menu, "auswahl", "auswah");
        break;
    case WindowId::BSP_Optionen:
        own = "bsp";
        break;
    case WindowId::VIS_Optionen:
        own = "vis";
        break;
    case WindowId::NETVIS_Optionen:
        own = "netvis";
        recaption(menu, "zhltmap", "&ZHLT und .MAP Verzeichnis");
        rename(menu, "optionen", "options");
        rename(menu, "kompilieren", "compile");
        rename(menu, "exit", "quit");
        break;
    case WindowId::RAD_Optionen:
        own = "rad";
        recaption(menu, "exit", "&Programm beenden");
        break;
    case WindowId::end_window:
        own = "kompilieren";
        recaption(menu, "pre", "Presets");
        recaption(menu, "optionen", "&Compiler-Optionen");
        break;
    case WindowId::presets:
        own = "pre";
        recaption(menu, "zhltmap", "&ZHLT-Verzeichnis und .MAP-Datei");
        rename(menu, "exit", "quit");
        break;
    case WindowId::About:
        return {};
    }
    MenuItem *item = find(menu, own);
    item->enabled = false;
    return menu;
}

const MenuItem *findMenuItem(const std::vector<MenuItem> &menu, const std::string &name)
{
    for (const auto &item : menu) {
        if (item.name == name)
            return &item;
        if (const MenuItem *inner = findMenuItem(item.children, name))
            return inner;
    }
    return nullptr;
}

std::string_view windowName(WindowId id)
{
    switch (id) {
    case WindowId::start_window: return "start_window";
    case WindowId::HL_MOD: return "HL_MOD";
    case WindowId::CSG_Optionen: return "CSG_Optionen";
    case WindowId::BSP_Optionen: return "BSP_Optionen";
    case WindowId::VIS_Optionen: return "VIS_Optionen";
    case WindowId::NETVIS_Optionen: return "NETVIS_Optionen";
    case WindowId::RAD_Optionen: return "RAD_Optionen";
    case WindowId::end_window: return "end_window";
    case WindowId::presets: return "presets";
    case WindowId::About: return "About";
    }
    return {};
}

} // namespace kelvane
