#include "app/start_window.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using testing::TestApp;

class StartWindowTest : public ::testing::Test
{
protected:
    StartWindowTest()
    {
        app.files.addDrive('D');
        app.files.addDirectory("C:\\ZHLT");
        app.files.addFile("C:\\Maps\\test.map");
        app.files.addFile("C:\\Maps\\other.MAP");
        app.files.addFile("C:\\Maps\\notes.txt");
        app.files.addFile("D:\\Work\\Maps\\big.map");
        app.files.setCurrent("C:\\Work");
    }

    void storeAll(const std::string &mapfile = "test.map")
    {
        for (const char *box : {"csg", "bsp", "vis", "netvis", "rad"})
            app.stored("Start", box, "0");
        app.stored("Start", "bsp", "1");
        app.stored("Start", "zhltlw", "c: [fake]");
        app.stored("Start", "zhltpath", "C:\\ZHLT");
        app.stored("Start", "maplw", "c: [fake]");
        app.stored("Start", "mappath", "C:\\Maps");
        app.stored("Start", "mapfile", mapfile);
    }

    start_window &open()
    {
        app.windows.start();
        return app.windows.startWindow();
    }

    TestApp app;
};

TEST_F(StartWindowTest, FirstStartShowsBothNotesAndKeepsDefaults)
{
    start_window &w = open();
    ASSERT_EQ(app.messages.shown.size(), 2u);
    EXPECT_EQ(app.messages.shown[0].title, "Erster Start");
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(app.messages.shown[0].text,
              "Dies ist das erste Mal, dass Sie V2.7 nach der letzten Installation starten. An "
              "dieser Stelle möchte etwas wichtiges zu dieser Version sagen.\r\nWählen Sie bitte "
              "keine ungültigen Werte wie -falloff a%6/. Dies wird die ZHLT dazu veranlassen "
              "ihnen zu zeigen, wie man sie richtig benutzt. Ich hätte einen Check für jedes "
              "Textfeld einbauen können, aber ich denke, dass es auch für die Programmgröße "
              "besser ist, wenn Sie darauf achten keine ungültigen Werte zu wählen.\r\n\r\n"
              "Vielen Dank, dass Sie mein Programm benutzen!");
    EXPECT_EQ(app.messages.shown[1].title, "Eine weitere Information zum ersten Start");
    EXPECT_EQ(app.messages.shown[1].text,
              "Wenn Sie eine .map Datei ausgewählt haben, wird beim nächsten Start nur diese in "
              "der Auswahl angezeigt. Falls Sie eine andere .map aus diesem Verzeichnis "
              "auswählen möchten, klicken sie bitte ein mal auf den Verzeichnisnamen.");
    // The notes come before the window appears.
    EXPECT_TRUE(app.host.events.empty() || app.host.events.front() == "show start_window");

    for (const CheckBox *box : {&w.use_csg, &w.use_bsp, &w.use_vis, &w.use_netvis, &w.use_rad})
        EXPECT_EQ(box->state(), 0);
    EXPECT_EQ(w.ZHLTDir.path(), "C:\\Work");
    EXPECT_EQ(w.MAPDir.path(), "C:\\Work");
    EXPECT_EQ(w.ZHLTDrive.letter(), 'C');
    EXPECT_EQ(w.MAPFile.pattern(), "*.map");
    EXPECT_EQ(w.MAPFile.chosen(), "");
}

TEST_F(StartWindowTest, NotesComeBackUntilTheWindowWasSavedOnce)
{
    open().activateMenuItem("exit");
    EXPECT_TRUE(app.keyExists("Start"));
    TestApp second; // a new run on the same store
    second.backend.putRaw(windowKeyPath("Start"), "csg", RegType::String, "0");
    second.windows.start();
    EXPECT_TRUE(second.messages.shown.empty());
}

TEST_F(StartWindowTest, SavesTheTenValuesInOrder)
{
    start_window &w = open();
    w.use_csg.setState(1);
    w.use_rad.setState(1);
    ASSERT_FALSE(w.MAPDir.setPath("C:\\Maps"));
    w.MAPFile.choose("test.map");
    ASSERT_FALSE(w.ZHLTDir.setPath("C:\\ZHLT"));
    app.backend.clearCalls();
    w.step_next1.click();

    std::vector<std::string> names;
    for (const auto &call : app.backend.calls())
        if (call.operation == "set")
            names.push_back(call.path.substr(call.path.rfind('\\') + 1));
    EXPECT_EQ(names, (std::vector<std::string>{"csg", "bsp", "vis", "netvis", "rad", "zhltlw",
                                               "zhltpath", "maplw", "mappath", "mapfile"}));
    EXPECT_EQ(app.backend.batchesEnded(), 1);
    EXPECT_EQ(app.read("Start", "csg"), "1");
    EXPECT_EQ(app.read("Start", "bsp"), "0");
    EXPECT_EQ(app.read("Start", "rad"), "1");
    EXPECT_EQ(app.read("Start", "zhltlw"), "c: [fake]");
    EXPECT_EQ(app.read("Start", "zhltpath"), "C:\\ZHLT");
    EXPECT_EQ(app.read("Start", "mappath"), "C:\\Maps");
    EXPECT_EQ(app.read("Start", "mapfile"), "test.map");
}

TEST_F(StartWindowTest, RestoresTheStoredMapAsTheOnlyListedFile)
{
    storeAll("test.map");
    start_window &w = open();
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(w.use_bsp.isChecked());
    EXPECT_EQ(w.ZHLTDir.path(), "C:\\ZHLT");
    EXPECT_EQ(w.MAPDir.path(), "C:\\Maps");
    EXPECT_EQ(w.MAPFile.entries(), std::vector<std::string>{"test.map"});
    EXPECT_EQ(w.MAPFile.chosen(), "test.map");

    // One click on the directory lists every map again and keeps the choice.
    w.MAPDir.clickEntry(w.MAPDir.entries().size() - 1);
    EXPECT_EQ(w.MAPFile.pattern(), "*.map");
    EXPECT_EQ(w.MAPFile.entries(), (std::vector<std::string>{"other.MAP", "test.map"}));
    EXPECT_EQ(w.MAPFile.chosen(), "test.map");
}

TEST_F(StartWindowTest, EmptyStoredMapListsAllMaps)
{
    storeAll("");
    start_window &w = open();
    EXPECT_EQ(w.MAPFile.pattern(), "*.map");
    EXPECT_EQ(w.MAPFile.entries().size(), 2u);
    EXPECT_EQ(w.MAPFile.chosen(), "");
}

TEST_F(StartWindowTest, DriveChangeMovesDirectoryAndFileList)
{
    storeAll();
    start_window &w = open();
    ASSERT_TRUE(w.MAPDrive.setDrive("d:"));
    EXPECT_EQ(w.MAPDir.path(), "D:\\");
    EXPECT_EQ(w.MAPFile.directory(), "D:\\");
    EXPECT_EQ(w.MAPFile.chosen(), "");
    ASSERT_FALSE(w.MAPDir.setPath("D:\\Work\\Maps"));
    EXPECT_TRUE(w.MAPFile.entries().empty()) << "the restored map's name still filters";
    w.MAPDir.clickEntry(0); // the first click of a double click, or a single one
    EXPECT_EQ(w.MAPFile.entries(), std::vector<std::string>{"big.map"});
    EXPECT_EQ(w.ZHLTDir.path(), "C:\\ZHLT") << "the tools list does not follow the map drive";

    ASSERT_TRUE(w.ZHLTDrive.setDrive("d: [fake]"));
    EXPECT_EQ(w.ZHLTDir.path(), "D:\\");
    ASSERT_TRUE(w.ZHLTDrive.setDrive("c:"));
    EXPECT_EQ(w.ZHLTDir.path(), "C:\\Work") << "a drive's current directory";
}

TEST_F(StartWindowTest, UnreadableDriveLeavesTheListsAndTellsTheUser)
{
    app.files.addDrive('E', false);
    storeAll();
    start_window &w = open();
    ASSERT_TRUE(w.MAPDrive.setDrive("e:"));
    EXPECT_EQ(w.MAPDir.path(), "C:\\Maps");
    EXPECT_EQ(w.MAPDrive.letter(), 'C') << "drive and directory agree again";
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, "Auf das Laufwerk E: kann nicht zugegriffen werden.");
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(app.messages.shown[0].title, "Information");
    EXPECT_EQ(w.MAPFile.chosen(), "test.map");
}

TEST_F(StartWindowTest, VanishedStoredPlacesGoToTheNearestExistingOneWithOneNote)
{
    storeAll("gone.map");
    app.stored("Start", "zhltpath", "C:\\ZHLT\\old\\tools");
    app.stored("Start", "maplw", "x: [gone]");
    app.stored("Start", "mappath", "X:\\Maps");
    start_window &w = open();
    EXPECT_EQ(w.ZHLTDir.path(), "C:\\ZHLT");
    EXPECT_EQ(w.MAPDrive.letter(), 'C');
    EXPECT_EQ(w.MAPDir.path(), "C:\\Work");
    EXPECT_EQ(w.MAPFile.pattern(), "*.map");
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].title, "Information");
    EXPECT_EQ(app.messages.shown[0].text,
              "Das gespeicherte Verzeichnis \"C:\\ZHLT\\old\\tools\" ist nicht mehr vorhanden oder "
              "kann nicht gelesen werden. Die Liste zeigt stattdessen \"C:\\ZHLT\".\r\n"
              "Das gespeicherte Laufwerk \"x: [gone]\" ist nicht mehr vorhanden. Die Liste zeigt "
              "stattdessen das Laufwerk \"c: [fake]\".\r\n"
              "Das gespeicherte Verzeichnis \"X:\\Maps\" ist nicht mehr vorhanden oder kann nicht "
              "gelesen werden. Die Liste zeigt stattdessen \"C:\\Work\".\r\n"
              "Die zuletzt gewählte Datei \"gone.map\" ist im Verzeichnis \"C:\\Work\" nicht mehr "
              "vorhanden.");
}

TEST_F(StartWindowTest, OddStoredCheckBoxTextsReadAsUnchecked)
{
    storeAll();
    app.stored("Start", "csg", "");
    app.stored("Start", "bsp", "yes");
    app.stored("Start", "vis", "7");
    app.stored("Start", "netvis", "2");
    app.stored("Start", "rad", "1");
    start_window &w = open();
    EXPECT_EQ(w.use_csg.state(), 0);
    EXPECT_EQ(w.use_bsp.state(), 0);
    EXPECT_EQ(w.use_vis.state(), 0);
    EXPECT_EQ(w.use_netvis.state(), 2);
    EXPECT_EQ(w.use_rad.state(), 1);
}

TEST_F(StartWindowTest, HelpFileIsInTheProgramDirectory)
{
    open();
    EXPECT_EQ(app.help.file(), "C:\\Programme\\Kelvane\\deutsch.chm");
    app.messages.shown.clear();
    app.help.open();
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text,
              "Die Hilfedatei \"C:\\Programme\\Kelvane\\deutsch.chm\" wurde nicht gefunden.");
    EXPECT_TRUE(app.opener.opened.empty());

    app.files.addFile("C:\\Programme\\Kelvane\\deutsch.chm");
    app.messages.shown.clear();
    app.help.open();
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_EQ(app.opener.opened, std::vector<std::string>{"C:\\Programme\\Kelvane\\deutsch.chm"});

    app.opener.failure = Failure{"Kein Programm zum Öffnen gefunden."};
    app.help.open();
    EXPECT_EQ(app.messages.texts(), std::vector<std::string>{"Kein Programm zum Öffnen gefunden."});
}

TEST_F(StartWindowTest, HelpFileAtADriveRootGetsNoSecondBackslash)
{
    app.program.directory = "D:\\";
    open();
    EXPECT_EQ(app.help.file(), "D:\\deutsch.chm");
}

} // namespace
} // namespace kelvane
