#include "script/hl_mod.h"

#include "util/dos_path.h"

namespace kelvane {

HL_MOD::HL_MOD(Services &services)
    : Window(WindowId::HL_MOD, "Kelvane - Half-Life und MOD-Verzeichnis", "Hlmod", services)
{
    // Restoring these in order replays the change events, so each later value overwrites what
    // the earlier ones passed on and the lists end at the stored places.
    store("hllw", HLDrive);
    store("hlpath", HLDir);
    store("modlw", MODDrive);
    store("modpath", MODDir);

    HLDrive.changed.connect([this](char) { HLDrive_changed(); });
    HLDir.changed.connect([this](const std::string &) { HLDir_changed(); });
    MODDrive.changed.connect([this](char) { MODDrive_changed(); });
    MODDir.changed.connect([this](const std::string &) { MODDir_changed(); });
}

void HL_MOD::HLDrive_changed()
{
    if (const Outcome failed = followDrive(HLDrive, HLDir)) {
        note(failed->message);
        return;
    }
    MODDrive.setDrive(std::string(1, HLDrive.letter()) + ":");
}

void HL_MOD::HLDir_changed()
{
    // A directory restored on another drive than the stored drive entry (an edited store)
    // takes its drive list along, so that the two never disagree.
    HLDrive.revertTo(dos::driveOf(HLDir.path()).value_or(HLDrive.letter()));
    MODDir.setPath(HLDir.path());
}

void HL_MOD::MODDrive_changed()
{
    if (const Outcome failed = followDrive(MODDrive, MODDir))
        note(failed->message);
}

void HL_MOD::MODDir_changed()
{
    MODDrive.revertTo(dos::driveOf(MODDir.path()).value_or(MODDrive.letter()));
}

std::string HL_MOD::takeModName()
{
    const std::string path = MODDir.path();
    if (!path.empty() && path.back() == '\\')
        MODDir.setPath(std::string_view(path).substr(0, path.size() - 1));
    return dos::lastComponent(MODDir.path());
}

} // namespace kelvane
