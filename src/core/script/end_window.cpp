#include "script/end_window.h"

#include "app/start_window.h"
#include "app/window_set.h"
#include "info/maker.h"
#include "script/hl_mod.h"
#include "script/places.h"
#include "script/script_file.h"
#include "toolwindows/tool_window.h"

namespace kelvane {

namespace {

// The compilers in the order the script runs them.
struct Tool
{
    CheckBox start_window::*use;
    WindowId window;
    std::string_view program;
    TextField end_window::*box;
    std::string_view notUsed;
    std::string_view optionsField; // the parameter line's name in a message
};

const Tool kTools[] = {
    {&start_window::use_csg, WindowId::CSG_Optionen, "HLCSG.EXE", &end_window::csgbox,
     "echo CSG wird nicht verwendet...", "CSG-Optionen"},
    {&start_window::use_bsp, WindowId::BSP_Optionen, "HLBSP.EXE", &end_window::bspbox,
     "echo BSP wird nicht verwendet...", "BSP-Optionen"},
    {&start_window::use_vis, WindowId::VIS_Optionen, "HLVIS.EXE", &end_window::visbox,
     "echo VIS wird nicht verwendet...", "VIS-Optionen"},
    {&start_window::use_netvis, WindowId::NETVIS_Optionen, "NETVIS.EXE", &end_window::netvisbox,
     "echo NETVIS wird nicht verwendet...", "NETVIS-Optionen"},
    {&start_window::use_rad, WindowId::RAD_Optionen, "HLRAD.EXE", &end_window::radbox,
     "echo RAD wird nicht verwendet...", "RAD-Optionen"},
};

} // namespace

end_window::end_window(Services &services, WindowSet &windows)
    : Window(WindowId::end_window, "Kelvane - Wichtigstes Fenster", "End", services)
    , m_windows(windows)
{
    for (const auto &[name, box] : afterCompile.stored())
        store(name, *box);
    for (const Tool &tool : kTools)
        (this->*tool.box).setHidden(true);

    start_compile.clicked.connect([this] { start_compile_clicked(); });
    email.clicked.connect([this] { email_clicked(); });
    internet.clicked.connect([this] { internet_clicked(); });
    thx.clicked.connect([this] { thx_clicked(); });
}

std::string end_window::copyrightText()
{
    // Runs of blanks break the label's lines.
    return "Copyright © 2001 Ostrabel. Alle Rechte vorbehalten.      eMail: " +
           std::string(kMakerMail) + "      WWW: " + std::string(kMakerPage);
}

void end_window::start_compile_clicked()
{
    save();
    start_window &start = m_windows.startWindow();
    if (start.MAPFile.chosen().empty()) {
        showError("Sie haben keine .map ausgewählt");
        return;
    }

    std::vector<script::BlockLine> block;
    for (const Tool &tool : kTools) {
        if (!(start.*tool.use).isChecked()) {
            block.emplace_back(std::string(tool.notUsed));
            continue;
        }
        // Read as it stands; a window never shown is loaded for it and stays hidden.
        auto &options = static_cast<ToolWindow &>(m_windows.window(tool.window));
        const ToolWindow::LineForScript parameters = options.lineForScript();
        if (parameters.refusal) {
            // Nothing is written: the user is taken to the switch that must be mended.
            m_windows.navigate(*this, tool.window);
            services().messages.show(parameters.refusal->message, parameters.refusal->icon,
                                     parameters.refusal->title);
            return;
        }
        block.emplace_back(script::ToolRun{std::string(tool.program), parameters.line,
                                           std::string(tool.optionsField)});
    }

    std::vector<std::string> toolLines;
    const script::Script compile =
        script::compileScript(placesFrom(start, m_windows.hlMod()), block, afterCompile.chosen(),
                              script::kNoShutdownEndWindow, &toolLines);
    for (std::size_t i = 0; i < toolLines.size(); ++i)
        (this->*kTools[i].box).setText(toolLines[i]);
    if (const Outcome failed = script::writeAndStart(compile, services()))
        showError(failed->message);
}

void end_window::email_clicked()
{
    if (const Outcome failed = services().opener.openUrl(makerMailLink()))
        showInformation(failed->message);
}

void end_window::internet_clicked()
{
    if (const Outcome failed = services().opener.openUrl(makerPageAddress()))
        showInformation(failed->message);
}

void end_window::thx_clicked()
{
    services().messages.show(creditsText(), MessageIcon::Information, "Danksagung...");
}

} // namespace kelvane
