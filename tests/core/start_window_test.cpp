#include "app/start_window.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing::information;
using testing::ShownMessage;
using testing::TestApp;

// Drives, the tool directory and the maps every test starts from.
void addPlaces(TestApp &app)
{
    app.files.addDrive('D');
    app.files.addDirectory("C:\\ZHLT");
    app.files.addFile("C:\\Maps\\test.map");
    app.files.addFile("C:\\Maps\\other.MAP");
    app.files.addFile("C:\\Maps\\notes.txt");
    app.files.addFile("D:\\Work\\Maps\\big.map");
    app.files.setCurrent("C:\\Work");
}

void storeAll(TestApp &app, const std::string &mapfile)
{
    for (const char *box : {"csg", "bsp", "vis", "netvis", "rad"})
        app.stored("Start", box, box == std::string("bsp") ? "1" : "0");
    app.stored("Start", "zhltlw", "c: [fake]");
    app.stored("Start", "zhltpath", "C:\\ZHLT");
    app.stored("Start", "maplw", "c: [fake]");
    app.stored("Start", "mappath", "C:\\Maps");
    app.stored("Start", "mapfile", mapfile);
}

// Both drives and directories, the file pattern, the files listed and the one chosen, as
// "C C:\ZHLT | C C:\Maps | *.map [other.MAP test.map] test.map"; names go case-blind, then by
// their bytes.
std::string lists(const start_window &w)
{
    std::string files;
    for (const auto &name : w.MAPFile.entries())
        files += (files.empty() ? "" : " ") + name;
    return std::string(1, w.ZHLTDrive.letter()) + " " + w.ZHLTDir.path() + " | " +
           w.MAPDrive.letter() + " " + w.MAPDir.path() + " | " + w.MAPFile.pattern() + " [" +
           files + "] " + w.MAPFile.chosen();
}

class StartWindowTest : public ::testing::Test
{
protected:
    StartWindowTest() { addPlaces(app); }

    start_window &openStored(const std::string &mapfile = "test.map")
    {
        storeAll(app, mapfile);
        return open();
    }

    start_window &open()
    {
        app.windows.start();
        return app.windows.startWindow();
    }

    TestApp app;
};

TEST_F(StartWindowTest, FirstStartShowsBothNotesBeforeTheWindowAndKeepsTheDefaults)
{
    start_window &w = open();
    ASSERT_EQ(app.messages.shown.size(), 2u);
    EXPECT_EQ(app.messages.shown[0].title, "Erster Start");
    EXPECT_EQ(app.messages.shown[1].title, "Eine weitere Information zum ersten Start");
    EXPECT_TRUE(app.host.events.empty() || app.host.events.front() == "show start_window");
    EXPECT_FALSE(w.use_csg.isChecked() || w.use_rad.isChecked());
    EXPECT_EQ(lists(w), "C C:\\Work | C C:\\Work | *.map [] ");
}

// The stored map is the only file listed until the directory is clicked. On a file system that
// keeps case apart, "TEST.map" and "test.map" are two maps. A step saves the ten values in one go.
TEST_F(StartWindowTest, RestoresAndSavesTheTenValuesAndAFileOfExactlyTheNameWins)
{
    app.files.addFile("C:\\Maps\\TEST.map");
    start_window &w = openStored("test.map");
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(w.use_bsp.isChecked());
    EXPECT_EQ(lists(w), "C C:\\ZHLT | C C:\\Maps | test.map [TEST.map test.map] test.map");
    w.MAPDir.clickEntry(w.MAPDir.entryCount() - 1);
    EXPECT_EQ(lists(w), "C C:\\ZHLT | C C:\\Maps | *.map [other.MAP TEST.map test.map] test.map");
    for (const auto &[clicked, chosen] :
         {std::pair{"test.map", "test.map"}, {"TEST.MAP", "TEST.map"}}) {
        w.MAPFile.choose(clicked);
        EXPECT_EQ(w.MAPFile.chosen(), chosen) << clicked;
    }
    app.backend.clearCalls();
    w.step_next1.click();
    EXPECT_EQ(app.written("Start"), "csg=0|bsp=1|vis=0|netvis=0|rad=0|zhltlw=c: [fake]|"
                                    "zhltpath=C:\\ZHLT|maplw=c: [fake]|mappath=C:\\Maps|"
                                    "mapfile=TEST.map");
    EXPECT_EQ(app.backend.batchesEnded(), 1);
}

TEST_F(StartWindowTest, AnUnreadableDriveLeavesTheListsAndStoredPlacesGoneGoToTheNearest)
{
    app.files.addDrive('E', false);
    storeAll(app, "test.map");
    app.stored("Start", "zhltpath", "C:\\ZHLT\\old\\tools");
    start_window &w = open();
    EXPECT_EQ(app.messages.shown,
              std::vector<ShownMessage>{information(
                  "Das gespeicherte Verzeichnis \"C:\\ZHLT\\old\\tools\" ist nicht mehr vorhanden "
                  "oder kann nicht gelesen werden. Die Liste zeigt stattdessen \"C:\\ZHLT\".")});
    app.messages.shown.clear();
    ASSERT_TRUE(w.MAPDrive.setDrive("e:"));
    EXPECT_EQ(lists(w), "C C:\\ZHLT | C C:\\Maps | test.map [test.map] test.map");
    EXPECT_EQ(app.messages.texts(),
              std::vector<std::string>{"Auf das Laufwerk E: kann nicht zugegriffen werden."});
}

// The directories are read in the background; these reads wait until the test finishes them.
class StartWindowReadingTest : public StartWindowTest
{
protected:
    StartWindowReadingTest() { app.files.holdReads = true; }
};

TEST_F(StartWindowReadingTest, ANewerDirectoryWinsOverAnOlderOneStillBeingRead)
{
    start_window &w = openStored("");
    app.files.finishReads();
    for (const bool newerFirst : {true, false}) {
        ASSERT_FALSE(w.MAPDir.setPath("C:\\Work"));
        ASSERT_FALSE(w.MAPDir.setPath("D:\\Work\\Maps"));
        app.files.finishReads(newerFirst);
        EXPECT_EQ(lists(w), "C C:\\ZHLT | C D:\\Work\\Maps | *.map [big.map] ") << newerFirst;
        EXPECT_EQ(w.MAPDir.entry(w.MAPDir.entryCount() - 1).path, "D:\\Work\\Maps");
        EXPECT_FALSE(w.MAPFile.isReading());
        EXPECT_FALSE(w.MAPDir.isReading());
    }
    EXPECT_GE(app.files.readsCancelled, 1) << "nobody waits for the older directory";
}

TEST_F(StartWindowReadingTest, AChoiceMadeWhileTheFilesAreReadIsKeptWhenTheyListIt)
{
    start_window &w = openStored("");
    app.files.finishReads();
    for (const auto &[clicked, chosen] :
         {std::pair{"test.map", "test.map"}, {"TEST.MAP", "test.map"}, {"gone.map", ""}}) {
        w.MAPDir.clickEntry(w.MAPDir.entryCount() - 1);
        ASSERT_TRUE(w.MAPFile.isReading());
        w.MAPFile.choose(clicked);
        EXPECT_EQ(w.MAPFile.chosen(), clicked) << "until the files arrive";
        app.files.finishReads();
        EXPECT_EQ(lists(w),
                  std::string("C C:\\ZHLT | C C:\\Maps | *.map [other.MAP test.map] ") + chosen);
    }
    EXPECT_TRUE(app.messages.shown.empty());
}

// The compiled file through a viewer is the first way to a window's page; with no viewer and
// no page as HTML, the user learns what to install.
TEST(HelpFileTest, OpensTheWindowsPageByTheFirstWayThereIs)
{
    const std::string chm = "C:\\Programme\\Kelvane\\deutsch.chm";
    for (const bool viewer : {true, false}) {
        TestApp app;
        app.windows.start();
        app.files.addFile(chm);
        app.opener.helpViewer = viewer;
        app.opener.failure = Failure{"Kein Programm zum Öffnen gefunden."};
        app.messages.shown.clear();
        app.help.open(WindowId::CSG_Optionen);
        EXPECT_EQ(app.opener.opened,
                  viewer ? std::vector{chm + "::/csg_optionen.html"} : std::vector<std::string>{});
        EXPECT_EQ(app.messages.texts(),
                  std::vector<std::string>{
                      viewer
                          ? "Kein Programm zum Öffnen gefunden."
                          : "Für die Hilfedatei \"" + chm +
                                "\" ist kein Anzeigeprogramm eingerichtet, und die Seite "
                                "\"C:\\Programme\\Kelvane\\hilfe\\csg_optionen.html\" fehlt. Bitte "
                                "installieren Sie ein Programm für CHM-Dateien, zum Beispiel "
                                "xCHM (unter Debian und Ubuntu mit: sudo apt install xchm)."});
    }
}

} // namespace
} // namespace kelvane
