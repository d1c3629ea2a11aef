#include "app/start_window.h"

#include "app/help_file.h"
#include "util/dos_path.h"

namespace kelvane {

start_window::start_window(Services &services)
    : Window(WindowId::start_window, "Kelvane - ZHLT-Verzeichnis und .map-Datei Auswahl", "Start",
             services)
{
    store("csg", use_csg);
    store("bsp", use_bsp);
    store("vis", use_vis);
    store("netvis", use_netvis);
    store("rad", use_rad);
    store("zhltlw", ZHLTDrive);
    store("zhltpath", ZHLTDir);
    store("maplw", MAPDrive);
    store("mappath", MAPDir);
    store("mapfile", MAPFile);

    MAPFile.setDirectory(MAPDir.path());

    ZHLTDrive.changed.connect([this](char) { ZHLTDrive_changed(); });
    MAPDrive.changed.connect([this](char) { MAPDrive_changed(); });
    MAPDir.changed.connect([this](const std::string &) { MAPDir_changed(); });
    MAPDir.clicked.connect([this](const std::string &) { MAPDir_clicked(); });

    // The load step makes the program's help file known before it reads anything.
    services.help.setFile(dos::join(services.program.helpDirectory(), "deutsch.chm"));
}

void start_window::firstStart()
{
    services().messages.show(
        "Dies ist das erste Mal, dass Sie V2.7 nach der letzten Installation starten. An dieser "
        "Stelle möchte etwas wichtiges zu dieser Version sagen.\r\n"
        "Wählen Sie bitte keine ungültigen Werte wie -falloff a%6/. Dies wird die ZHLT dazu "
        "veranlassen ihnen zu zeigen, wie man sie richtig benutzt. Ich hätte einen Check für "
        "jedes Textfeld einbauen können, aber ich denke, dass es auch für die Programmgröße "
        "besser ist, wenn Sie darauf achten keine ungültigen Werte zu wählen.\r\n\r\n"
        "Vielen Dank, dass Sie mein Programm benutzen!",
        MessageIcon::Information, "Erster Start");
    services().messages.show(
        "Wenn Sie eine .map Datei ausgewählt haben, wird beim nächsten Start nur diese in der "
        "Auswahl angezeigt. Falls Sie eine andere .map aus diesem Verzeichnis auswählen "
        "möchten, klicken sie bitte ein mal auf den Verzeichnisnamen.",
        MessageIcon::Information, "Eine weitere Information zum ersten Start");
}

bool start_window::leave()
{
    if (!use_csg.isChecked() && !use_bsp.isChecked() && !use_vis.isChecked() &&
        !use_netvis.isChecked() && !use_rad.isChecked()) {
        showError("Sie haben keinen Compiler ausgewählt.");
        return false;
    }
    if (use_vis.isChecked() && use_netvis.isChecked()) {
        showError("Sie können nicht gleichzeitig VIS und NETVIS benutzen.");
        return false;
    }
    save();
    return true;
}

void start_window::ZHLTDrive_changed()
{
    if (const Outcome failed = followDrive(ZHLTDrive, ZHLTDir))
        note(failed->message);
}

void start_window::MAPDrive_changed()
{
    if (const Outcome failed = followDrive(MAPDrive, MAPDir))
        note(failed->message);
}

void start_window::MAPDir_changed()
{
    MAPFile.setDirectory(MAPDir.path());
}

void start_window::MAPDir_clicked()
{
    MAPFile.setPattern("*.map");
}

} // namespace kelvane
