#pragma once

#include <array>
#include <string_view>

namespace kelvane {

enum class WindowId {
    start_window,
    HL_MOD,
    CSG_Optionen,
    BSP_Optionen,
    VIS_Optionen,
    NETVIS_Optionen,
    RAD_Optionen,
    end_window,
    presets,
    About,
};

inline constexpr std::array kAllWindows = {
    WindowId::start_window,    WindowId::HL_MOD,       WindowId::CSG_Optionen,
    WindowId::BSP_Optionen,    WindowId::VIS_Optionen, WindowId::NETVIS_Optionen,
    WindowId::RAD_Optionen,    WindowId::end_window,   WindowId::presets,
    WindowId::About,
};

std::string_view windowName(WindowId id);

} // namespace kelvane
