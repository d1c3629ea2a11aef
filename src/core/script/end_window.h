#pragma once

#include "app/window.h"
#include "script/after_compile_boxes.h"

namespace kelvane {

class WindowSet;
class ToolWindow;

// The last step: gathers every other window's choices, writes compile.bat and starts it. The
// program stays open, so that the user can change a switch and compile again.
class end_window : public Window
{
public:
    end_window(Services &services, WindowSet &windows);

    Label Label1{*this,
                 {"Label1",
                  "Vielen Dank, dass du mein Programm benutzt hast. Mit einem Klick auf "
                  "\"Kompilieren starten\" kannst du nun fortfahren.",
                  {},
                  {20, 10, 600, 40}}};
    Label Label3{*this,
                 {"Label3",
                  "Nach dem Klick auf \"Kompilieren starten\" wird kompiliert und dieses "
                  "Programm beendet.",
                  {},
                  {20, 56, 600, 22}}};
    Label BSPoptionsINFO{*this,
                         {"BSPoptionsINFO",
                          "Wählen Sie hier aus, was nach dem Kompilieren gemacht werden soll.",
                          {},
                          {20, 84, 600, 22}}};
    AfterCompileBoxes afterCompile{
        *this, {{20, 112, 600, 110}, {32, 134, 576, 24}, {32, 162, 576, 24}, {32, 190, 576, 24}}};
    GroupBox &after_compile = afterCompile.after_compile;
    CheckBox &start_hl_check = afterCompile.start_hl_check;
    CheckBox &copy_bsp = afterCompile.copy_bsp;
    CheckBox &exit_win = afterCompile.exit_win;
    Button start_compile{*this,
                         {"start_compile", "Kompilieren starten...", {}, {450, 232, 170, 30}}};
    // The tool lines of the last click, as they stand in the script.
    TextField csgbox{*this, {"csgbox", {}, {}, {}}};
    TextField bspbox{*this, {"bspbox", {}, {}, {}}};
    TextField visbox{*this, {"visbox", {}, {}, {}}};
    TextField netvisbox{*this, {"netvisbox", {}, {}, {}}};
    TextField radbox{*this, {"radbox", {}, {}, {}}};
    Label Label2{*this,
                 {"Label2",
                  "Kritik, Anregungen, Bugs und alles andere an unten stehende eMail-Adresse "
                  "oder ins Forum auf meiner HP.",
                  {},
                  {20, 290, 600, 40}}};
    Button email{*this, {"email", "eMail an den Autor", {}, {20, 340, 190, 30}}};
    Button internet{*this, {"internet", "Das GUI im WWW", {}, {225, 340, 190, 30}}};
    Button thx{*this, {"thx", "Dank an...", {}, {430, 340, 190, 30}}};
    Label copyright_information{*this,
                                {"copyright_information", copyrightText(), {}, {20, 384, 600, 56}}};

private:
    static std::string copyrightText();

    void start_compile_clicked();
    void email_clicked();
    void internet_clicked();
    void thx_clicked();

    WindowSet &m_windows;
};

} // namespace kelvane
