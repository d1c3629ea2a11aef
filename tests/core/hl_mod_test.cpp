#include "app/start_window.h"
#include "script/hl_mod.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

struct HlModApp : testing::TestApp
{
    HlModApp()
    {
        files.addDrive('D');
        files.addDrive('E');
        files.addDirectory("C:\\Sierra\\Half-Life\\valve");
        files.addDirectory("C:\\Sierra\\Half-Life\\cstrike");
        files.addDirectory("D:\\Mods\\mymod");
        files.setCurrent("C:\\Work");
        stored("Start", "csg", "1"); // no first-start notes
    }

    HL_MOD &open()
    {
        windows.start();
        messages.shown.clear();
        return windows.hlMod();
    }

    // Drive and directory of both lists, as "C C:\Work | C C:\Work".
    static std::string places(const HL_MOD &w)
    {
        return std::string(1, w.HLDrive.letter()) + " " + w.HLDir.path() + " | " +
               w.MODDrive.letter() + " " + w.MODDir.path();
    }
};

// Restoring the Half-Life lists moves the MOD list on the way; it still ends where it was. A
// directory stored on another drive than its entry takes the drive along.
TEST(HlModTest, RestoringEndsAtTheStoredPlacesWhereverTheyAre)
{
    HlModApp app;
    app.stored("Hlmod", "hllw", "d: [fake]");
    app.stored("Hlmod", "hlpath", "C:\\Sierra\\Half-Life");
    app.stored("Hlmod", "modlw", "e: [fake]");
    app.stored("Hlmod", "modpath", "D:\\Mods\\mymod");
    EXPECT_EQ(HlModApp::places(app.open()), "C C:\\Sierra\\Half-Life | D D:\\Mods\\mymod");
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST(HlModTest, TheHalfLifeListsLeadTheModListsWhichMayGoElsewhereAndIsStored)
{
    HlModApp app;
    HL_MOD &w = app.open();
    ASSERT_FALSE(w.MODDir.setPath("C:\\Sierra\\Half-Life\\cstrike"));
    ASSERT_FALSE(w.HLDir.setPath("C:\\Sierra\\Half-Life"));
    EXPECT_EQ(w.MODDir.path(), "C:\\Sierra\\Half-Life") << "the earlier MOD choice is lost";
    ASSERT_FALSE(w.MODDir.openEntry(w.MODDir.entryCount() - 1));
    EXPECT_EQ(HlModApp::places(w), "C C:\\Sierra\\Half-Life | C C:\\Sierra\\Half-Life\\valve");

    ASSERT_TRUE(w.MODDrive.setDrive("d:"));
    EXPECT_EQ(HlModApp::places(w), "C C:\\Sierra\\Half-Life | D D:\\");
    ASSERT_FALSE(w.MODDir.setPath("D:\\Mods\\mymod"));
    app.backend.clearCalls();
    w.activateMenuItem("csg");
    EXPECT_EQ(app.written("Hlmod"), "hllw=c: [fake]|hlpath=C:\\Sierra\\Half-Life|modlw=d: "
                                    "[fake]|modpath=D:\\Mods\\mymod");
    EXPECT_TRUE(app.host.isVisible(WindowId::CSG_Optionen));
}

TEST(HlModTest, TheModNameIsTheLastComponentOrAtARootThatOfTheDrivesCurrentDirectory)
{
    HlModApp app;
    HL_MOD &w = app.open();
    ASSERT_FALSE(w.MODDir.setPath("C:\\Sierra\\Half-Life\\valve"));
    EXPECT_EQ(w.takeModName(), "valve");
    ASSERT_FALSE(w.MODDir.setPath("C:\\"));
    EXPECT_EQ(w.takeModName(), "Work");
    EXPECT_EQ(w.MODDir.path(), "C:\\Work") << "the list stays where the name came from";
    ASSERT_FALSE(w.MODDir.setPath("D:\\"));
    EXPECT_EQ(w.takeModName(), "") << "D:'s current directory is its root";
    EXPECT_EQ(w.MODDir.path(), "D:\\");
}

} // namespace
} // namespace kelvane
