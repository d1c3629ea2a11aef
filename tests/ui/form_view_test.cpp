#include "ui/blueprint.h"
#include "ui/entry_list.h"
#include "ui/form_view.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace kelvane::testing {
namespace {

// A window with one control of every kind, so that the view is tested apart from the
// program's own windows.
class Sampler : public Window
{
public:
    explicit Sampler(Services &services)
        : Window(WindowId::CSG_Optionen, "Muster", "", services)
    {
        parameters.setHidden(true);
    }

    Label heading{*this, {"heading", "Überschrift über allem", {}, {10, 10, 300, 20}}};
    GroupBox frame{*this, {"frame", "Rahmen", {}, {10, 40, 300, 110}}};
    CheckBox threads{
        *this,
        {"threads", "-threads", "Gibt an wie viele Threads", {20, 60, 120, 24}, &frame},
        CheckBox::Grey};
    CheckBox chart{*this, {"chart", "-&chart", "Zeigt eine Tabelle", {20, 90, 120, 24}, &frame}};
    TextField value{*this, {"value", {}, "Wert als Ganzzahl", {150, 60, 100, 24}, &frame}, "1"};
    TextField parameters{*this, {"parameters", {}, {}, {0, 0, 10, 10}}};
    Button go{*this, {"go", "&Los", "Startet", {10, 160, 100, 30}}};
    DriveList drive{*this, {"drive", {}, "Das Laufwerk", {330, 10, 290, 24}}};
    DirectoryList dir{*this, {"dir", {}, "Das Verzeichnis", {330, 40, 290, 150}}};
    FileList file{*this, {"file", {}, "Die Datei", {330, 200, 290, 150}}, "*.map"};
};

class FormViewTest : public ::testing::Test
{
protected:
    FormViewTest()
    {
        app.files.addDirectory("C:\\Maps\\alt");
        app.files.addDirectory("C:\\Maps\\neu");
        app.files.addFile("C:\\Maps\\b.map");
        app.files.addFile("C:\\Maps\\a.map");
        app.files.addFile("C:\\Maps\\notes.txt");
        app.files.setCurrent("C:\\Maps");
        model = std::make_unique<Sampler>(app.services);
        model->file.setDirectory("C:\\Maps");
        view = std::make_unique<FormView>(*model, app.services, background);
    }

    template <typename T> T *widget(const char *name) const
    {
        return view->findChild<T *>(QString::fromLatin1(name));
    }

    static QStringList texts(const QListView &list)
    {
        QStringList out;
        for (int row = 0; row < list.model()->rowCount(); ++row)
            out << list.model()->index(row, 0).data().toString();
        return out;
    }

    TestServices app;
    Blueprint background{FormView::WindowSize};
    std::unique_ptr<Sampler> model;
    std::unique_ptr<FormView> view;
};

TEST_F(FormViewTest, ShowsTheWindowTitleAtAFixedSize)
{
    EXPECT_EQ(view->windowTitle(), "Muster");
    EXPECT_EQ(view->minimumSize(), QSize(640, 480));
    EXPECT_EQ(view->maximumSize(), QSize(640, 480));
    EXPECT_FALSE(view->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(view->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(FormViewTest, WidgetsCarryTheControlsNamesCaptionsAndTooltips)
{
    auto *chart = widget<QCheckBox>("chart");
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->text(), "-&chart");
    EXPECT_EQ(chart->toolTip(), "Zeigt eine Tabelle");
    EXPECT_EQ(chart->accessibleName(), "-chart");
    EXPECT_EQ(chart->accessibleDescription(), "Zeigt eine Tabelle");
    EXPECT_EQ(widget<QLabel>("heading")->text(), "Überschrift über allem");
    EXPECT_EQ(widget<QGroupBox>("frame")->title(), "Rahmen");
    EXPECT_EQ(widget<QPushButton>("go")->text(), "&Los");
    // A control without a caption is announced by its name.
    EXPECT_EQ(widget<QListView>("dir")->accessibleName(), "dir");
    EXPECT_EQ(widget<QListView>("dir")->accessibleDescription(), "Das Verzeichnis");
}

TEST_F(FormViewTest, HiddenFieldsHaveNoWidget)
{
    EXPECT_EQ(widget<QWidget>("parameters"), nullptr);
    EXPECT_NE(widget<QLineEdit>("value"), nullptr);
}

TEST_F(FormViewTest, ControlsOfAGroupBoxStandInItAtTheirWindowPlace)
{
    auto *frame = widget<QGroupBox>("frame");
    auto *chart = widget<QCheckBox>("chart");
    EXPECT_EQ(chart->parentWidget(), frame);
    EXPECT_EQ(chart->geometry(), QRect(10, 50, 120, 24));
    EXPECT_EQ(chart->mapTo(view.get(), QPoint(0, 0)), QPoint(20, 90 + FormView::MenuBarHeight));
}

TEST_F(FormViewTest, TabOrderFollowsTheDeclaration)
{
    const QStringList declared{"threads", "chart", "value", "go", "drive", "dir", "file"};
    QStringList chain;
    QWidget *first = widget<QWidget>("threads");
    QWidget *at = first;
    do {
        if (declared.contains(at->objectName()) && !chain.contains(at->objectName()))
            chain << at->objectName();
        at = at->nextInFocusChain();
    } while (at != first);
    EXPECT_EQ(chain, declared);
}

TEST_F(FormViewTest, GreyStateShowsAsPartiallyChecked)
{
    EXPECT_EQ(widget<QCheckBox>("threads")->checkState(), Qt::PartiallyChecked);
    model->chart.setState(CheckBox::Grey);
    EXPECT_EQ(widget<QCheckBox>("chart")->checkState(), Qt::PartiallyChecked);
}

TEST_F(FormViewTest, ClicksTurnACheckBoxOnAndOffButNeverGrey)
{
    auto *chart = widget<QCheckBox>("chart");
    clickIndicator(*chart);
    EXPECT_EQ(model->chart.state(), CheckBox::Checked);
    EXPECT_EQ(chart->checkState(), Qt::Checked);
    clickIndicator(*chart);
    EXPECT_EQ(model->chart.state(), CheckBox::Unchecked);
    clickIndicator(*chart);
    EXPECT_EQ(model->chart.state(), CheckBox::Checked);

    clickIndicator(*widget<QCheckBox>("threads"));
    EXPECT_EQ(model->threads.state(), CheckBox::Checked);
}

TEST_F(FormViewTest, DisabledControlsHaveDisabledWidgets)
{
    model->threads.setEnabled(false);
    model->value.setEnabled(false);
    EXPECT_FALSE(widget<QCheckBox>("threads")->isEnabled());
    EXPECT_FALSE(widget<QLineEdit>("value")->isEnabled());
    clickIndicator(*widget<QCheckBox>("threads"));
    EXPECT_EQ(model->threads.state(), CheckBox::Grey);
}

TEST_F(FormViewTest, ProgramChangesReachTheWidgets)
{
    model->value.setText("4096");
    model->chart.setState(CheckBox::Checked);
    EXPECT_EQ(widget<QLineEdit>("value")->text(), "4096");
    EXPECT_EQ(widget<QCheckBox>("chart")->checkState(), Qt::Checked);
}

TEST_F(FormViewTest, TypingReachesTheTextField)
{
    auto *value = widget<QLineEdit>("value");
    value->clear();
    typeText(*value, QStringLiteral("Größe 7"));
    EXPECT_EQ(model->value.text(), "Größe 7");
}

TEST_F(FormViewTest, ButtonClicksReachTheModel)
{
    int clicks = 0;
    model->go.clicked.connect([&] { ++clicks; });
    QTest::mouseClick(widget<QPushButton>("go"), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormViewTest, DriveListShowsTheDrivesAndTakesTheUsersChoice)
{
    app.files.addDrive('D');
    model->drive.refresh();
    auto *drive = widget<QComboBox>("drive");
    ASSERT_EQ(drive->count(), 2);
    EXPECT_EQ(drive->itemText(0), "c: [fake]");
    EXPECT_EQ(drive->currentIndex(), 0);

    QTest::keyClick(drive, Qt::Key_Down);
    EXPECT_EQ(model->drive.letter(), 'D');
}

TEST_F(FormViewTest, DirectoryListShowsTheOpenPathIndentedThenTheSubdirectories)
{
    auto *dir = widget<QListView>("dir");
    EXPECT_EQ(texts(*dir), (QStringList{"C:\\", "Maps", "alt", "neu"}));
    QList<int> depths;
    for (int row = 0; row < 4; ++row)
        depths << dir->model()->index(row, 0).data(EntryListModel::DepthRole).toInt();
    EXPECT_EQ(depths, (QList<int>{0, 1, 2, 2}));
    EXPECT_EQ(dir->currentIndex().row(), 1);
    EXPECT_TRUE(dir->uniformItemSizes());

    ASSERT_FALSE(model->dir.setPath("C:\\Maps\\alt"));
    EXPECT_EQ(texts(*dir), (QStringList{"C:\\", "Maps", "alt"}));
    EXPECT_EQ(dir->currentIndex().row(), 2);
}

TEST_F(FormViewTest, OneClickOnADirectoryOnlyRaisesTheClickNotice)
{
    std::vector<std::string> clicked;
    model->dir.clicked.connect([&](const std::string &path) { clicked.push_back(path); });
    view->show();
    auto *dir = widget<QListView>("dir");
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {},
                      dir->visualRect(dir->model()->index(2, 0)).center());
    EXPECT_EQ(clicked, std::vector<std::string>{"C:\\Maps\\alt"});
    EXPECT_EQ(model->dir.path(), "C:\\Maps");
}

TEST_F(FormViewTest, DoubleClickOpensADirectory)
{
    view->show();
    auto *dir = widget<QListView>("dir");
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {},
                       dir->visualRect(dir->model()->index(3, 0)).center());
    EXPECT_EQ(model->dir.path(), "C:\\Maps\\neu");
}

TEST_F(FormViewTest, EnterOpensTheCurrentDirectory)
{
    auto *dir = widget<QListView>("dir");
    dir->setCurrentIndex(dir->model()->index(0, 0));
    QTest::keyClick(dir, Qt::Key_Return);
    EXPECT_EQ(model->dir.path(), "C:\\");
}

TEST_F(FormViewTest, ADirectoryThatCannotBeOpenedIsReportedAsInformation)
{
    auto *dir = widget<QListView>("dir");
    app.files.setReadable('C', false);
    dir->setCurrentIndex(dir->model()->index(2, 0));
    QTest::keyClick(dir, Qt::Key_Return);
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, "Auf das Laufwerk C: kann nicht zugegriffen werden.");
    EXPECT_EQ(app.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(app.messages.shown[0].title, "Information");
    EXPECT_EQ(model->dir.path(), "C:\\Maps");
}

TEST_F(FormViewTest, FileListShowsTheMatchingFilesAndTakesTheUsersChoice)
{
    view->show();
    auto *file = widget<QListView>("file");
    EXPECT_EQ(texts(*file), (QStringList{"a.map", "b.map"}));
    QTest::mouseClick(file->viewport(), Qt::LeftButton, {},
                      file->visualRect(file->model()->index(1, 0)).center());
    EXPECT_EQ(model->file.chosen(), "b.map");

    QTest::keyClick(file, Qt::Key_Up);
    EXPECT_EQ(model->file.chosen(), "a.map");
}

TEST_F(FormViewTest, AFileChosenByTheProgramIsMarked)
{
    auto *file = widget<QListView>("file");
    model->file.choose("B.MAP");
    EXPECT_EQ(file->selectionModel()->selectedRows().value(0).row(), 1);
    model->file.setDirectory("C:\\Maps\\alt");
    EXPECT_EQ(file->model()->rowCount(), 0);
    EXPECT_TRUE(file->selectionModel()->selectedRows().isEmpty());
}

TEST_F(FormViewTest, MenuItemsReachTheWindow)
{
    std::vector<std::string> chosen;
    model->menuActivated.connect([&](const MenuItem &item) { chosen.push_back(item.name); });
    auto *bsp = view->findChild<QAction *>("bsp");
    ASSERT_NE(bsp, nullptr);
    bsp->trigger();
    EXPECT_EQ(chosen, std::vector<std::string>{"bsp"});
}

TEST_F(FormViewTest, F1OpensTheHelpFile)
{
    app.files.addFile("C:\\Programme\\Kelvane\\deutsch.chm");
    app.help.setFile("C:\\Programme\\Kelvane\\deutsch.chm");
    view->show();
    QApplication::setActiveWindow(view.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QTest::keyClick(widget<QLineEdit>("value"), Qt::Key_F1);
    EXPECT_EQ(app.opener.opened, std::vector<std::string>{"C:\\Programme\\Kelvane\\deutsch.chm"});
}

TEST_F(FormViewTest, EscapeLeavesAWindowWithAMenuOpen)
{
    int closeRequests = 0;
    QObject::connect(view.get(), &FormView::closeRequested, [&] { ++closeRequests; });
    view->show();
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(closeRequests, 0);
}

TEST_F(FormViewTest, ClosingThroughTheTitleBarIsLeftToTheWindowSet)
{
    int closeRequests = 0;
    QObject::connect(view.get(), &FormView::closeRequested, [&] { ++closeRequests; });
    view->show();
    view->close();
    EXPECT_EQ(closeRequests, 1);
    EXPECT_TRUE(view->isVisible());
}

TEST_F(FormViewTest, AViewCutLooseNoLongerTouchesItsWindow)
{
    view->detach();
    model.reset();
    QTest::mouseClick(widget<QPushButton>("go"), Qt::LeftButton);
    clickIndicator(*widget<QCheckBox>("chart"));
    SUCCEED();
}

TEST_F(FormViewTest, AWindowOutlivingItsViewNotifiesNobody)
{
    view.reset();
    model->value.setText("gone");
    model->chart.setState(CheckBox::Checked);
    SUCCEED();
}

TEST_F(FormViewTest, AViewOutlivingItsWindowIsDestroyedQuietly)
{
    model.reset();
    view.reset();
    SUCCEED();
}

} // namespace
} // namespace kelvane::testing
