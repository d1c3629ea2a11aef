#include "app/start_window.h"
#include "script/hl_mod.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing::TestApp;

class HlModTest : public ::testing::Test
{
protected:
    HlModTest()
    {
        app.files.addDrive('D');
        app.files.addDrive('E');
        app.files.addDirectory("C:\\Sierra\\Half-Life\\valve");
        app.files.addDirectory("C:\\Sierra\\Half-Life\\cstrike");
        app.files.addDirectory("D:\\Mods\\mymod");
        app.files.setCurrent("C:\\Work");
        app.stored("Start", "csg", "1"); // no first-start notes
    }

    HL_MOD &open()
    {
        app.windows.start();
        app.messages.shown.clear();
        return app.windows.hlMod();
    }

    void storeAll(const std::string &hlDrive, const std::string &hlPath,
                  const std::string &modDrive, const std::string &modPath)
    {
        app.stored("Hlmod", "hllw", hlDrive);
        app.stored("Hlmod", "hlpath", hlPath);
        app.stored("Hlmod", "modlw", modDrive);
        app.stored("Hlmod", "modpath", modPath);
    }

    TestApp app;
};

TEST_F(HlModTest, DeclaresItsControlsWithTheirTexts)
{
    HL_MOD &w = open();
    EXPECT_EQ(w.title(), "Kelvane - Half-Life und MOD-Verzeichnis");
    std::vector<std::string> names;
    for (const Control *c : w.controls())
        names.push_back(c->name());
    EXPECT_EQ(names, (std::vector<std::string>{"HLdirLABEL", "HLDrive", "HLDir", "step_next6",
                                               "Label1", "MODDrive", "MODDir"}));
    EXPECT_EQ(w.HLdirLABEL.caption(),
              "Wählen Sie hier das Verzeichnis in dem Half-Life installiert ist.");
    EXPECT_EQ(w.Label1.caption(), "Wählen Sie hier das Verzeichnis des MODs ( für Half-Life "
                                  "bitte das Verzeichnis \"valve\" ).");
    EXPECT_EQ(w.HLDrive.tooltip(), "Das Laufwerk, auf dem Half-Life installiert ist.");
    EXPECT_EQ(w.HLDir.tooltip(), "Das Verzeichnis, in dem Half-Life installiert ist.");
    EXPECT_EQ(w.MODDrive.tooltip(), "Das Laufwerk, auf dem die MOD installiert ist.");
    EXPECT_EQ(w.MODDir.tooltip(), "Das Verzeichnis, in dem die MOD installiert ist.");
    EXPECT_EQ(w.step_next6.caption(), "Zum nächsten Schritt...");
    EXPECT_EQ(w.step_next6.target(), WindowId::CSG_Optionen);
}

TEST_F(HlModTest, WithoutStoredValuesAllListsStartAtTheCurrentDirectory)
{
    HL_MOD &w = open();
    EXPECT_EQ(w.HLDrive.letter(), 'C');
    EXPECT_EQ(w.HLDir.path(), "C:\\Work");
    EXPECT_EQ(w.MODDrive.letter(), 'C');
    EXPECT_EQ(w.MODDir.path(), "C:\\Work");
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(HlModTest, AnotherHalfLifeDriveMovesEveryList)
{
    HL_MOD &w = open();
    ASSERT_TRUE(w.HLDrive.setDrive("d:"));
    EXPECT_EQ(w.HLDir.path(), "D:\\");
    EXPECT_EQ(w.MODDrive.letter(), 'D');
    EXPECT_EQ(w.MODDir.path(), "D:\\");
}

TEST_F(HlModTest, TheModListFollowsTheHalfLifeDirectory)
{
    HL_MOD &w = open();
    ASSERT_FALSE(w.MODDir.setPath("C:\\Sierra\\Half-Life\\cstrike"));
    ASSERT_FALSE(w.HLDir.setPath("C:\\Sierra\\Half-Life"));
    EXPECT_EQ(w.MODDir.path(), "C:\\Sierra\\Half-Life") << "the earlier MOD choice is lost";
    ASSERT_FALSE(w.MODDir.openEntry(w.MODDir.entries().size() - 1));
    EXPECT_EQ(w.MODDir.path(), "C:\\Sierra\\Half-Life\\valve");
    EXPECT_EQ(w.HLDir.path(), "C:\\Sierra\\Half-Life") << "the Half-Life list stays";
}

TEST_F(HlModTest, AModOnAnotherDriveIsKeptAndStored)
{
    HL_MOD &w = open();
    ASSERT_FALSE(w.HLDir.setPath("C:\\Sierra\\Half-Life"));
    ASSERT_TRUE(w.MODDrive.setDrive("d:"));
    EXPECT_EQ(w.MODDir.path(), "D:\\");
    EXPECT_EQ(w.HLDir.path(), "C:\\Sierra\\Half-Life");
    ASSERT_FALSE(w.MODDir.setPath("D:\\Mods\\mymod"));

    app.backend.clearCalls();
    w.activateMenuItem("csg");
    std::vector<std::string> names;
    for (const auto &call : app.backend.calls())
        if (call.operation == "set")
            names.push_back(call.path.substr(call.path.rfind('\\') + 1));
    EXPECT_EQ(names, (std::vector<std::string>{"hllw", "hlpath", "modlw", "modpath"}));
    EXPECT_EQ(app.read("Hlmod", "hllw"), "c: [fake]");
    EXPECT_EQ(app.read("Hlmod", "hlpath"), "C:\\Sierra\\Half-Life");
    EXPECT_EQ(app.read("Hlmod", "modlw"), "d: [fake]");
    EXPECT_EQ(app.read("Hlmod", "modpath"), "D:\\Mods\\mymod");
    EXPECT_TRUE(app.host.isVisible(WindowId::CSG_Optionen));
}

TEST_F(HlModTest, RestoringEndsAtTheStoredPlacesThoughTheHalfLifeEntriesMoveTheModList)
{
    storeAll("c: [fake]", "C:\\Sierra\\Half-Life", "c: [fake]", "C:\\Sierra\\Half-Life\\valve");
    HL_MOD &w = open();
    EXPECT_EQ(w.HLDir.path(), "C:\\Sierra\\Half-Life");
    EXPECT_EQ(w.MODDir.path(), "C:\\Sierra\\Half-Life\\valve");
    EXPECT_EQ(w.MODDrive.letter(), 'C');
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(HlModTest, RestoringKeepsAModOnAnotherDrive)
{
    storeAll("c: [fake]", "C:\\Sierra\\Half-Life", "d: [fake]", "D:\\Mods\\mymod");
    HL_MOD &w = open();
    EXPECT_EQ(w.HLDrive.letter(), 'C');
    EXPECT_EQ(w.HLDir.path(), "C:\\Sierra\\Half-Life");
    EXPECT_EQ(w.MODDrive.letter(), 'D');
    EXPECT_EQ(w.MODDir.path(), "D:\\Mods\\mymod");
}

TEST_F(HlModTest, VanishedStoredDirectoriesGoToTheNearestExistingOneWithOneNote)
{
    storeAll("c: [fake]", "C:\\Sierra\\Half-Life Alt", "c: [fake]",
             "C:\\Sierra\\Half-Life Alt\\valve");
    HL_MOD &w = open();
    EXPECT_EQ(w.HLDir.path(), "C:\\Sierra");
    EXPECT_EQ(w.MODDir.path(), "C:\\Sierra");
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].title, "Information");
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(app.messages.shown[0].text,
              "Das gespeicherte Verzeichnis \"C:\\Sierra\\Half-Life Alt\" ist nicht mehr "
              "vorhanden oder kann nicht gelesen werden. Die Liste zeigt stattdessen "
              "\"C:\\Sierra\".\r\n"
              "Das gespeicherte Verzeichnis \"C:\\Sierra\\Half-Life Alt\\valve\" ist nicht mehr "
              "vorhanden oder kann nicht gelesen werden. Die Liste zeigt stattdessen "
              "\"C:\\Sierra\".");
}

TEST_F(HlModTest, AVanishedStoredDriveLeavesTheListsOnAnExistingOne)
{
    storeAll("x: [gone]", "X:\\Half-Life", "x: [gone]", "X:\\Half-Life\\valve");
    HL_MOD &w = open();
    EXPECT_EQ(w.HLDrive.letter(), 'C');
    EXPECT_EQ(w.HLDir.path(), "C:\\Work");
    EXPECT_EQ(w.MODDrive.letter(), 'C');
    EXPECT_EQ(w.MODDir.path(), "C:\\Work");
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text,
              "Das gespeicherte Laufwerk \"x: [gone]\" ist nicht mehr vorhanden. Die Liste zeigt "
              "stattdessen das Laufwerk \"c: [fake]\".\r\n"
              "Das gespeicherte Verzeichnis \"X:\\Half-Life\" ist nicht mehr vorhanden oder kann "
              "nicht gelesen werden. Die Liste zeigt stattdessen \"C:\\Work\".\r\n"
              "Das gespeicherte Laufwerk \"x: [gone]\" ist nicht mehr vorhanden. Die Liste zeigt "
              "stattdessen das Laufwerk \"c: [fake]\".\r\n"
              "Das gespeicherte Verzeichnis \"X:\\Half-Life\\valve\" ist nicht mehr vorhanden "
              "oder kann nicht gelesen werden. Die Liste zeigt stattdessen \"C:\\Work\".");
}

TEST_F(HlModTest, ADirectoryStoredOnAnotherDriveThanItsEntryTakesTheDriveAlong)
{
    storeAll("d: [fake]", "C:\\Sierra\\Half-Life", "e: [fake]", "D:\\Mods\\mymod");
    HL_MOD &w = open();
    EXPECT_EQ(w.HLDrive.letter(), 'C');
    EXPECT_EQ(w.HLDir.path(), "C:\\Sierra\\Half-Life");
    EXPECT_EQ(w.MODDrive.letter(), 'D');
    EXPECT_EQ(w.MODDir.path(), "D:\\Mods\\mymod");
}

TEST_F(HlModTest, AnUnreadableDriveLeavesTheListsAndTellsTheUser)
{
    app.files.addDrive('F', false);
    HL_MOD &w = open();
    ASSERT_FALSE(w.HLDir.setPath("C:\\Sierra\\Half-Life"));
    ASSERT_TRUE(w.HLDrive.setDrive("f:"));
    EXPECT_EQ(w.HLDrive.letter(), 'C');
    EXPECT_EQ(w.HLDir.path(), "C:\\Sierra\\Half-Life");
    EXPECT_EQ(w.MODDrive.letter(), 'C');
    EXPECT_EQ(w.MODDir.path(), "C:\\Sierra\\Half-Life");
    ASSERT_TRUE(w.MODDrive.setDrive("f:"));
    EXPECT_EQ(w.MODDrive.letter(), 'C');
    EXPECT_EQ(w.MODDir.path(), "C:\\Sierra\\Half-Life");
    EXPECT_EQ(app.messages.texts(),
              (std::vector<std::string>{"Auf das Laufwerk F: kann nicht zugegriffen werden.",
                                        "Auf das Laufwerk F: kann nicht zugegriffen werden."}));
}

TEST_F(HlModTest, TheModNameIsTheLastComponent)
{
    HL_MOD &w = open();
    ASSERT_FALSE(w.MODDir.setPath("C:\\Sierra\\Half-Life\\valve"));
    EXPECT_EQ(w.takeModName(), "valve");
    EXPECT_EQ(w.MODDir.path(), "C:\\Sierra\\Half-Life\\valve");
}

TEST_F(HlModTest, AModAtADriveRootTakesItsNameFromThatDrivesCurrentDirectory)
{
    HL_MOD &w = open();
    ASSERT_FALSE(w.MODDir.setPath("C:\\"));
    EXPECT_EQ(w.takeModName(), "Work");
    EXPECT_EQ(w.MODDir.path(), "C:\\Work") << "the list stays where the name came from";

    ASSERT_FALSE(w.MODDir.setPath("D:\\"));
    EXPECT_EQ(w.takeModName(), "") << "D:'s current directory is its root";
    EXPECT_EQ(w.MODDir.path(), "D:\\");
}

} // namespace
} // namespace kelvane
