#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

enum class WindowId;

enum class MenuAction { None, Navigate, Exit, About };

struct MenuItem
{
    std::string name;
    std::string caption; // with '&' before the mnemonic
    bool enabled = true;
    MenuAction action = MenuAction::None;
    std::optional<WindowId> target;
    std::vector<MenuItem> children;
};

// The menu bar that every working window carries, with the differences of the given window:
// its own item disabled and the names and captions it has always had.
std::vector<MenuItem> standardMenu(WindowId window);

// Finds an item anywhere in a menu bar by its name.
const MenuItem *findMenuItem(const std::vector<MenuItem> &menu, const std::string &name);

} // namespace kelvane
