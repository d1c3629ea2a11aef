#include "app/start_window.h"
#include "toolwindows/tool_window.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
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

// Screen readers and voice control act through the accessibility interfaces, which change the
// widgets' state without a click or a key; the windows must hear of that all the same.
QAccessibleInterface *accessible(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// Boxes, fields and buttons follow the model and reach it by click, key or accessible action;
// no click ever makes a box grey.
TEST(FormViewTest, BoxesFieldsAndButtonsReachTheModelAndShowItsState)
{
    UiApp app;
    FormView &view = app.show(WindowId::CSG_Optionen);
    auto &csg = static_cast<ToolWindow &>(app.windows.window(WindowId::CSG_Optionen));
    EXPECT_EQ(view.findChild<QWidget *>("csgvalues"), nullptr) << "a hidden field has no widget";

    auto *chart = view.findChild<QCheckBox *>("csg_chart");
    CheckBox &model = csg.box("csg_chart");
    EXPECT_EQ(chart->parentWidget(), view.findChild<QGroupBox *>("csg_an_aus"));
    EXPECT_EQ(accessible(chart)->text(QAccessible::Description).toStdString(), model.tooltip());
    model.setState(CheckBox::Grey);
    EXPECT_TRUE(accessible(chart)->state().checkStateMixed);
    clickIndicator(*chart);
    EXPECT_EQ(model.state(), CheckBox::Checked);
    accessible(chart)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(model.state(), CheckBox::Unchecked);
    EXPECT_FALSE(accessible(chart)->state().checked);
    clickIndicator(*chart);
    EXPECT_EQ(model.state(), CheckBox::Checked);

    auto *dev = view.findChild<QLineEdit *>("csg_dev_value");
    EXPECT_EQ(accessible(dev)->text(QAccessible::Name), "-dev") << "named by its box";
    accessible(dev)->setText(QAccessible::Value, QStringLiteral("4096"));
    EXPECT_EQ(csg.field("csg_dev_value").text(), "4096");
    dev->setFocus();
    dev->selectAll();
    QTest::keyClicks(dev, "5");
    EXPECT_EQ(csg.field("csg_dev_value").text(), "5") << "typed";
    csg.field("csg_dev_value").setText("7");
    EXPECT_EQ(dev->text(), "7");
    csg.field("csg_dev_value").setEnabled(false);
    EXPECT_FALSE(dev->isEnabled());

    // A press clicks the button a moment later, as a user would.
    accessible(view.findChild<QPushButton *>("step_next2"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return app.windows.current() == &app.windows.window(WindowId::BSP_Optionen); }));
}

// The ring round the focused control follows the focus; it is never hidden, so that following
// the focus never makes the toolkit ask where the mouse is.
TEST(FormViewTest, TheFocusRingFollowsTheFocusAndShrinksAwayFromIt)
{
    UiApp app;
    FormView &view = app.show(WindowId::CSG_Optionen);
    QApplication::setActiveWindow(&view);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    auto *ring = view.findChild<QWidget *>("focusRing");
    ASSERT_NE(ring, nullptr);
    for (int step = 0; step < 3; ++step) {
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        const QRect around(focused->mapTo(ring->parentWidget(), QPoint()), focused->size());
        EXPECT_EQ(ring->geometry(), around.adjusted(-3, -3, 3, 3))
            << focused->objectName().toStdString();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QApplication::focusWidget()->clearFocus();
    EXPECT_TRUE(ring->geometry().isEmpty());
    EXPECT_TRUE(ring->isVisible());
}

class ListsTest : public ::testing::Test
{
protected:
    ListsTest()
    {
        for (const char *dir : {"C:\\Maps\\alt", "C:\\Maps\\neu"})
            app.files.addDirectory(dir);
        for (const char *file : {"C:\\Maps\\b.map", "C:\\Maps\\a.map", "C:\\Maps\\notes.txt"})
            app.files.addFile(file);
        app.files.setCurrent("C:\\Maps");
    }

    UiApp app;
};

TEST_F(ListsTest, DriveAndFileListsShowTheModelAndTakeTheChoiceByClickKeyOrAccessibleAction)
{
    app.files.addDrive('D');
    FormView &view = app.startAsBefore();
    start_window &w = app.windows.startWindow();
    auto *drive = view.findChild<QComboBox *>("ZHLTDrive");
    ASSERT_EQ(drive->count(), 2);
    QTest::keyClick(drive, Qt::Key_Down);
    EXPECT_EQ(w.ZHLTDrive.letter(), 'D');

    auto *file = view.findChild<QListView *>("MAPFile");
    EXPECT_EQ(texts(*file), (QStringList{"a.map", "b.map"}));
    QTest::mouseClick(file->viewport(), Qt::LeftButton, {}, centreOf(*file, 1));
    EXPECT_EQ(w.MAPFile.chosen(), "b.map");
    w.MAPFile.choose("A.MAP");
    EXPECT_EQ(file->selectionModel()->selectedRows().value(0).row(), 0);
    EXPECT_EQ(accessible(file)->text(QAccessible::Name),
              "Wählen Sie die .map-Datei aus, die kompiliert werden soll.")
        << "named by the text above it";
    QAccessibleTableInterface *files = accessible(file)->tableInterface();
    files->cellAt(1, 0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(w.MAPFile.chosen(), "b.map");

    // Taking the selection away chooses nothing else; the list shows the choice again.
    QTest::mouseClick(file->viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(*file, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(w.MAPFile.chosen(), "b.map");
    EXPECT_EQ(files->selectedRows(), QList<int>{1});

    std::vector<std::string> clicked;
    w.MAPDir.clicked.connect([&](const std::string &path) { clicked.push_back(path); });
    EXPECT_TRUE(accessible(view.findChild<QListView *>("MAPDir"))->tableInterface()->selectRow(2));
    EXPECT_EQ(clicked, std::vector<std::string>{"C:\\Maps\\alt"});

    w.MAPFile.setDirectory("C:\\Maps\\alt");
    EXPECT_EQ(file->model()->rowCount(), 0);
    EXPECT_TRUE(file->selectionModel()->selectedRows().isEmpty());
}

// A long list is laid out in slices between the event loop's turns; a row chosen far down is
// scrolled to once its slice is laid out.
TEST_F(ListsTest, AFileChosenFarDownALongListIsScrolledTo)
{
    for (int i = 0; i < 60000; ++i)
        app.files.addFile("C:\\Maps\\Lang\\" + std::to_string(100000 + i) + ".map");
    FormView &view = app.startAsBefore();
    view.show();
    start_window &w = app.windows.startWindow();
    ASSERT_FALSE(w.MAPDir.setPath("C:\\Maps\\Lang"));
    auto *file = view.findChild<QListView *>("MAPFile");
    w.MAPFile.choose("159990.map");
    const QModelIndex chosen = file->model()->index(59990, 0);
    ASSERT_EQ(file->currentIndex(), chosen);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return file->viewport()->rect().contains(file->visualRect(chosen)); }));
}

TEST_F(ListsTest, DirectoryListShowsThePathAndOpensOnDoubleClickOrEnterOnly)
{
    FormView &view = app.startAsBefore();
    DirectoryList &model = app.windows.startWindow().ZHLTDir;
    auto *dir = view.findChild<QListView *>("ZHLTDir");
    EXPECT_EQ(texts(*dir), (QStringList{"C:\\", "Maps", "alt", "neu"}));
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, centreOf(*dir, 2));
    EXPECT_EQ(model.path(), "C:\\Maps") << "one click opens nothing";
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, centreOf(*dir, 3));
    EXPECT_EQ(texts(*dir), (QStringList{"C:\\", "Maps", "neu"}));
    EXPECT_EQ(dir->currentIndex().row(), 2);
    dir->setCurrentIndex(dir->model()->index(0, 0));
    QTest::keyClick(dir, Qt::Key_Return);
    EXPECT_EQ(model.path(), "C:\\");
}

} // namespace
} // namespace kelvane::testing
