#include "app/start_window.h"
#include "toolwindows/tool_window.h"
#include "ui/entry_list.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

QStringList texts(const QListView &list)
{
    QStringList out;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        out << list.model()->index(row, 0).data().toString();
    return out;
}

QPoint centreOf(QListView &list, int row)
{
    return list.visualRect(list.model()->index(row, 0)).center();
}

TEST(FormViewTest, CheckBoxesAndTextFieldsFollowTheModelAndClicksNeverMakeGrey)
{
    UiApp app;
    FormView &view = app.show(WindowId::CSG_Optionen);
    auto &csg = static_cast<ToolWindow &>(app.windows.window(WindowId::CSG_Optionen));
    auto *chart = view.findChild<QCheckBox *>("csg_chart");
    auto *threads = view.findChild<QCheckBox *>("csg_threads");
    EXPECT_EQ(chart->parentWidget(), view.findChild<QGroupBox *>("csg_an_aus"));
    EXPECT_EQ(threads->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(threads->isEnabled());
    clickIndicator(*threads);
    EXPECT_EQ(csg.box("csg_threads").state(), CheckBox::Grey);

    csg.box("csg_chart").setState(CheckBox::Grey);
    EXPECT_EQ(chart->checkState(), Qt::PartiallyChecked);
    for (int state : {CheckBox::Checked, CheckBox::Unchecked, CheckBox::Checked}) {
        clickIndicator(*chart);
        EXPECT_EQ(csg.box("csg_chart").state(), state);
        EXPECT_EQ(chart->checkState(), state == CheckBox::Checked ? Qt::Checked : Qt::Unchecked);
    }

    auto *dev = view.findChild<QLineEdit *>("csg_dev_value");
    csg.field("csg_dev_value").setText("4096");
    EXPECT_EQ(dev->text(), "4096");
    csg.field("csg_dev_value").setEnabled(false);
    EXPECT_FALSE(dev->isEnabled());
    EXPECT_EQ(view.findChild<QWidget *>("csgvalues"), nullptr) << "a hidden field has no widget";
}

class ListsTest : public ::testing::Test
{
protected:
    ListsTest()
    {
        app.files.addDirectory("C:\\Maps\\alt");
        app.files.addDirectory("C:\\Maps\\neu");
        app.files.addFile("C:\\Maps\\b.map");
        app.files.addFile("C:\\Maps\\a.map");
        app.files.addFile("C:\\Maps\\notes.txt");
        app.files.setCurrent("C:\\Maps");
    }

    UiApp app;
};

TEST_F(ListsTest, DriveAndFileListsShowTheModelAndTakeTheUsersChoice)
{
    app.files.addDrive('D');
    FormView &view = app.startAsBefore();
    start_window &w = app.windows.startWindow();
    auto *drive = view.findChild<QComboBox *>("ZHLTDrive");
    ASSERT_EQ(drive->count(), 2);
    EXPECT_EQ(drive->itemText(0), "c: [fake]");
    EXPECT_EQ(drive->currentIndex(), 0);
    QTest::keyClick(drive, Qt::Key_Down);
    EXPECT_EQ(w.ZHLTDrive.letter(), 'D');

    auto *file = view.findChild<QListView *>("MAPFile");
    EXPECT_EQ(texts(*file), (QStringList{"a.map", "b.map"}));
    QTest::mouseClick(file->viewport(), Qt::LeftButton, {}, centreOf(*file, 1));
    EXPECT_EQ(w.MAPFile.chosen(), "b.map");
    QTest::keyClick(file, Qt::Key_Up);
    EXPECT_EQ(w.MAPFile.chosen(), "a.map");
    w.MAPFile.choose("B.MAP");
    EXPECT_EQ(file->selectionModel()->selectedRows().value(0).row(), 1);
    w.MAPFile.setDirectory("C:\\Maps\\alt");
    EXPECT_EQ(file->model()->rowCount(), 0);
    EXPECT_TRUE(file->selectionModel()->selectedRows().isEmpty());
}

TEST_F(ListsTest, DirectoryListShowsThePathIndentedAndOpensOnDoubleClickOrEnterOnly)
{
    FormView &view = app.startAsBefore();
    DirectoryList &model = app.windows.startWindow().ZHLTDir;
    auto *dir = view.findChild<QListView *>("ZHLTDir");
    EXPECT_EQ(texts(*dir), (QStringList{"C:\\", "Maps", "alt", "neu"}));
    EXPECT_EQ(dir->model()->index(2, 0).data(EntryListModel::DepthRole).toInt(), 2);
    EXPECT_EQ(dir->currentIndex().row(), 1);

    std::vector<std::string> clicked;
    model.clicked.connect([&](const std::string &path) { clicked.push_back(path); });
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, centreOf(*dir, 2));
    EXPECT_EQ(clicked, std::vector<std::string>{"C:\\Maps\\alt"});
    EXPECT_EQ(model.path(), "C:\\Maps") << "one click opens nothing";

    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, centreOf(*dir, 3));
    EXPECT_EQ(model.path(), "C:\\Maps\\neu");
    EXPECT_EQ(texts(*dir), (QStringList{"C:\\", "Maps", "neu"}));
    EXPECT_EQ(dir->currentIndex().row(), 2);
    dir->setCurrentIndex(dir->model()->index(0, 0));
    QTest::keyClick(dir, Qt::Key_Return);
    EXPECT_EQ(model.path(), "C:\\");

    app.files.setReadable('C', false);
    dir->setCurrentIndex(dir->model()->index(1, 0));
    QTest::keyClick(dir, Qt::Key_Return);
    EXPECT_EQ(app.messages.shown, std::vector<ShownMessage>{information(
                                      "Auf das Laufwerk C: kann nicht zugegriffen werden.")});
    EXPECT_EQ(model.path(), "C:\\");
}

} // namespace
} // namespace kelvane::testing
