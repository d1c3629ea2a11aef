#include "app/help_file.h"
#include "app/start_window.h"
#include "support/fakes.h"
#include "toolwindows/tool_window.h"
#include "ui/blueprint.h"
#include "ui/form_view.h"
#include "ui/qt_message_service.h"
#include "ui/qt_window_host.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kelvane::testing {
namespace {

// The program's windows in memory, shown through their real views.
struct UiApp : TestServices
{
    UiApp() { host.setWindowSet(windows); }

    // A start as after an earlier run: the start window's key exists, so no first-start notes.
    FormView &startAsBefore()
    {
        registry.SaveString(kCurrentUser, windowKeyPath("Start"), "csg", "0");
        windows.start();
        return *view(WindowId::start_window);
    }

    FormView &show(WindowId id)
    {
        host.showWindow(windows.window(id));
        return *view(id);
    }

    FormView *view(WindowId id) { return host.view(windows.window(id)); }

    QtWindowHost host{services};
    WindowSet windows{services, host};
};

std::string describe(const QWidget &widget)
{
    QString out;
    QDebug(&out).nospace() << widget.objectName() << " at " << widget.geometry();
    return out.toStdString();
}

// What a control must show whole in its place: the caption of a button, check box or frame,
// the text of a label, one line and the start text of a field (unscrolled: the line edit keeps
// two pixels on either side of its text), a drop-down list.
void expectShownWhole(const QWidget &widget)
{
    QSize needed = widget.sizeHint();
    if (const auto *edit = qobject_cast<const QLineEdit *>(&widget)) {
        needed.setWidth(widget.minimumSizeHint().width());
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const QRect text =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), text.width() - 4)
            << describe(widget) << " scrolls its text";
    } else if (const auto *label = qobject_cast<const QLabel *>(&widget))
        needed = {label->minimumSizeHint().width(), label->heightForWidth(widget.width())};
    else if (qobject_cast<const QGroupBox *>(&widget))
        needed = {widget.minimumSizeHint().width(), 0};
    else if (!qobject_cast<const QAbstractButton *>(&widget) &&
             !qobject_cast<const QComboBox *>(&widget))
        return;
    EXPECT_LE(needed.width(), widget.width()) << describe(widget) << " is too narrow";
    EXPECT_LE(needed.height(), widget.height()) << describe(widget) << " is too low";
}

class FormFontTest : public ::testing::TestWithParam<int>
{
protected:
    FormFontTest()
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(GetParam());
        QApplication::setFont(font);
    }
    ~FormFontTest() override { QApplication::setFont(m_former); }

private:
    QFont m_former = QApplication::font();
};

// Whatever the font, every control shows its caption whole, stays inside its frame and window
// and off its neighbours, and the menu bar shows every menu; all wizard windows grow alike. At
// the reference font of 9 points every window and control has its declared place.
TEST_P(FormFontTest, EveryWindowShowsEveryControlWholeAndApart)
{
    UiApp app;
    const bool reference = GetParam() == 9;
    QSize wizardSize;
    for (WindowId id : kAllWindows) {
        SCOPED_TRACE(windowName(id));
        Window &window = app.windows.window(id);
        FormView &view = app.show(id);
        const int top = window.menu().empty() ? 0 : 25;
        if (top && wizardSize.isEmpty())
            wizardSize = view.size();
        EXPECT_EQ(view.size(), top ? wizardSize : view.size())
            << "every wizard window has one size";
        const QSize declared(window.clientSize().w, window.clientSize().h + top);
        EXPECT_EQ(view.size(), reference ? declared : view.size());

        std::vector<QWidget *> widgets;
        for (Control *control : window.controls()) {
            if (control->isHidden())
                continue;
            auto *widget = view.findChild<QWidget *>(QString::fromStdString(control->name()));
            ASSERT_NE(widget, nullptr) << control->name();
            widgets.push_back(widget);
            const Rect &place = control->geometry();
            const QRect at(widget->mapTo(&view, QPoint(0, 0)), widget->size());
            EXPECT_EQ(at, reference ? QRect(place.x, top + place.y, place.w, place.h) : at)
                << control->name();
            EXPECT_TRUE(view.rect().contains(at)) << describe(*widget) << " leaves the window";
            EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
                << describe(*widget) << " leaves its frame";
            expectShownWhole(*widget);
        }
        for (QWidget *a : widgets)
            for (QWidget *b : widgets)
                EXPECT_TRUE(a == b || a->parentWidget() != b->parentWidget() ||
                            !a->geometry().intersects(b->geometry()))
                    << describe(*a) << " overlaps " << describe(*b);
        if (const auto *bar = view.findChild<QMenuBar *>()) {
            EXPECT_EQ(bar->width(), view.width());
            EXPECT_GE(bar->height(), bar->sizeHint().height());
            const auto *more = bar->findChild<QToolButton *>("qt_menubar_ext_button");
            EXPECT_TRUE(!more || more->isHidden()) << "menus hidden behind \u00bb";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Points, FormFontTest, ::testing::Values(9, 10, 12, 14, 16),
                         [](const auto &info) { return std::to_string(info.param) + "pt"; });

double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const auto [dark, light] = std::minmax(luminance(a), luminance(b));
    return (light + 0.05) / (dark + 0.05);
}

class FormPaletteTest : public ::testing::TestWithParam<QColor>
{
protected:
    FormPaletteTest() { QApplication::setPalette(QPalette(GetParam(), GetParam())); }
    ~FormPaletteTest() override { QApplication::setPalette(m_former); }

private:
    QPalette m_former = QApplication::palette();
};

// Text the user reads has a contrast of at least 4.5:1 on its ground in every state, whatever
// the desktop's own colours; fields and boxes stand out at least 3:1 from the sheet, and so
// does the focus ring from the sheet and the buttons.
TEST_P(FormPaletteTest, EveryKindOfControlIsLegibleOnTheSheet)
{
    using P = QPalette;
    using Pairs = std::vector<std::pair<P::ColorRole, P::ColorRole>>;
    // clang-format off
    const Pairs onSheet{{P::WindowText, P::Window}, {P::Text, P::Base}, {P::PlaceholderText, P::Base},
                        {P::ButtonText, P::Button}, {P::HighlightedText, P::Highlight}};
    const Pairs inMenus{{P::WindowText, P::Window}, {P::Text, P::Window}, {P::ButtonText, P::Window},
                        {P::HighlightedText, P::Highlight}};
    const std::pair<WindowId, const char *> rows[] = {
        {WindowId::CSG_Optionen, "csg_chart"}, {WindowId::CSG_Optionen, "CSGoptionsINFO"},
        {WindowId::CSG_Optionen, "csg_threads_value"}, {WindowId::start_window, "MAPFile"},
        {WindowId::end_window, "QMenuBar"}, {WindowId::end_window, "QMenu"}};
    // clang-format on
    UiApp app;
    const QColor sheet = formPalette().color(P::Window);
    for (const auto &[window, name] : rows) {
        QList<QWidget *> widgets;
        for (QWidget *widget : app.show(window).findChildren<QWidget *>())
            if (widget->objectName() == name || widget->inherits(name))
                widgets << widget;
        ASSERT_FALSE(widgets.isEmpty()) << name;
        for (const QWidget *widget : widgets)
            for (const auto group : {P::Active, P::Inactive, P::Disabled}) {
                const QPalette &palette = widget->palette();
                const bool menu = widget->inherits("QMenuBar") || widget->inherits("QMenu");
                for (const auto &[text, ground] : menu ? inMenus : onSheet)
                    EXPECT_GE(contrast(palette.color(group, text), palette.color(group, ground)),
                              4.5)
                        << name << " group " << group << " roles " << text << " on " << ground;
                EXPECT_TRUE(menu || contrast(palette.color(group, P::Base), sheet) >= 3.0)
                    << name << " group " << group;
            }
    }
    for (const QColor &ground : {sheet, formPalette().color(P::Button)})
        EXPECT_GE(contrast(focusColour(), ground), 3.0);
}

INSTANTIATE_TEST_SUITE_P(Desktops, FormPaletteTest,
                         ::testing::Values(QColor(Qt::white), QColor(0x24, 0x24, 0x24)),
                         [](const auto &info) { return info.index ? "dark" : "light"; });

// Screen readers and voice control act through the accessibility interfaces, which change the
// widgets' state without a click or a key; the windows must hear of that all the same.
QAccessibleInterface *accessible(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// Boxes, fields and buttons follow the model and reach it by key or accessible action; no
// click ever makes a box grey.
TEST(FormViewTest, BoxesFieldsAndButtonsReachTheModelAndShowItsState)
{
    UiApp app;
    FormView &view = app.show(WindowId::CSG_Optionen);
    auto &csg = static_cast<ToolWindow &>(app.windows.window(WindowId::CSG_Optionen));
    EXPECT_EQ(view.findChild<QWidget *>("csgvalues"), nullptr) << "a hidden field has no widget";

    auto *chart = view.findChild<QCheckBox *>("csg_chart");
    CheckBox &model = csg.box("csg_chart");
    EXPECT_EQ(accessible(chart)->text(QAccessible::Description).toStdString(), model.tooltip());
    model.setState(CheckBox::Grey);
    EXPECT_TRUE(accessible(chart)->state().checkStateMixed);
    QTest::keyClick(chart, Qt::Key_Space);
    EXPECT_EQ(model.state(), CheckBox::Checked);
    accessible(chart)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(model.state(), CheckBox::Unchecked);
    QTest::keyClick(chart, Qt::Key_Space);
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

// The lists show the model and take the choice by click, key or accessible action; a click on
// a directory only marks it, a double click or Enter opens it.
TEST(ListsTest, DriveDirectoryAndFileListsShowTheModelAndTakeTheChoice)
{
    UiApp app;
    for (const char *file : {"C:\\Maps\\b.map", "C:\\Maps\\a.map", "C:\\Maps\\notes.txt",
                             "C:\\Maps\\alt\\c.map", "C:\\Maps\\neu\\notes.txt"})
        app.files.addFile(file);
    app.files.setCurrent("C:\\Maps");
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
    QAccessibleTableInterface *files = accessible(file)->tableInterface();
    files->cellAt(1, 0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(w.MAPFile.chosen(), "b.map");
    // Taking the selection away chooses nothing else; the list shows the choice again.
    QTest::mouseClick(file->viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(*file, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(w.MAPFile.chosen(), "b.map");
    EXPECT_EQ(files->selectedRows(), QList<int>{1});

    auto *dir = view.findChild<QListView *>("MAPDir");
    EXPECT_EQ(texts(*dir), (QStringList{"C:\\", "Maps", "alt", "neu"}));
    std::vector<std::string> clicked;
    w.MAPDir.clicked.connect([&](const std::string &path) { clicked.push_back(path); });
    EXPECT_TRUE(accessible(dir)->tableInterface()->selectRow(2));
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, centreOf(*dir, 3));
    EXPECT_EQ(clicked, (std::vector<std::string>{"C:\\Maps\\alt", "C:\\Maps\\neu"}));
    EXPECT_EQ(w.MAPDir.path(), "C:\\Maps");
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, centreOf(*dir, 3));
    EXPECT_EQ(texts(*dir), (QStringList{"C:\\", "Maps", "neu"}));
    EXPECT_EQ(dir->currentIndex().row(), 2);
    EXPECT_EQ(file->model()->rowCount(), 0);
    EXPECT_TRUE(file->selectionModel()->selectedRows().isEmpty());
    dir->setCurrentIndex(dir->model()->index(0, 0));
    QTest::keyClick(dir, Qt::Key_Return);
    EXPECT_EQ(w.MAPDir.path(), "C:\\");
}

// A long list is laid out in slices between the event loop's turns; a row chosen far down is
// scrolled to once its slice is laid out.
TEST(ListsTest, AFileChosenFarDownALongListIsScrolledTo)
{
    UiApp app;
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

void expectMenu(const FormView &view, const std::vector<MenuItem> &items)
{
    for (const MenuItem &item : items) {
        auto *action = view.findChild<QAction *>(QString::fromStdString(item.name));
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text().toStdString(), item.caption) << item.name;
        EXPECT_EQ(action->isEnabled(), item.enabled) << item.name;
        expectMenu(view, item.children);
    }
}

// Every window shows its title, its menu and the program's icon, and F1 in it opens the help
// at its own page: the windows share one view, so the start window and the about box (no menu)
// stand for all.
TEST(QtWindowHostTest, EveryWindowShowsItsTitleMenuAndIconAndOpensItsHelpPageOnF1)
{
    UiApp app;
    const QIcon icon = QApplication::windowIcon();
    EXPECT_EQ(qAlpha(icon.pixmap(16).toImage().pixel(8, 8)), 255) << "not a transparent square";
    const std::string chm = "C:\\Programme\\Kelvane\\deutsch.chm";
    app.files.addFile(chm);
    app.startAsBefore();
    for (WindowId id : {WindowId::start_window, WindowId::About}) {
        SCOPED_TRACE(windowName(id));
        Window &window = app.windows.window(id);
        FormView &view = app.show(id);
        EXPECT_EQ(view.windowTitle().toStdString(), window.title());
        EXPECT_EQ(view.windowIcon().cacheKey(), icon.cacheKey());
        EXPECT_EQ(view.findChild<QMenuBar *>() != nullptr, !window.menu().empty());
        expectMenu(view, window.menu());
        QApplication::setActiveWindow(&view);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        app.opener.opened.clear();
        QTest::keyClick(&view, Qt::Key_F1);
        EXPECT_EQ(app.opener.opened, std::vector<std::string>{chm + "::/" + helpPage(id)});
    }
}

void expectCentredOn(const QWidget &view, const QScreen *screen)
{
    EXPECT_EQ(view.screen(), screen);
    const QPoint offset = view.frameGeometry().center() - screen->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << view.objectName().toStdString();
}

// With two monitors, the wizard stays on the one the user moved it to, whether the window
// before it stays up (the about box) or goes (the next step).
TEST(QtWindowHostTest, EachWindowComesUpCentredOnTheScreenOfTheWindowBeforeIt)
{
    UiApp app;
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    FormView &start = app.startAsBefore();
    expectCentredOn(start, screens[0]);
    start.move(screens[1]->geometry().topLeft() + QPoint(30, 40));
    ASSERT_EQ(start.screen(), screens[1]);
    start.findChild<QAction *>("aboutmenu")->trigger();
    expectCentredOn(*app.view(WindowId::About), screens[1]);
    app.view(WindowId::About)->close();
    app.windows.startWindow().use_csg.setState(CheckBox::Checked);
    QTest::mouseClick(start.findChild<QPushButton *>("step_next1"), Qt::LeftButton);
    expectCentredOn(*app.view(WindowId::HL_MOD), screens[1]);
}

// Escape leaves a wizard window up and closes the about box alone; the title bar ends the
// program without saving.
TEST(QtWindowHostTest, EscapeStaysTheTitleBarEndsAndTheAboutBoxClosesAlone)
{
    UiApp app;
    FormView &start = app.startAsBefore();
    app.windows.startWindow().use_bsp.setState(CheckBox::Checked);
    QTest::keyClick(&start, Qt::Key_Escape);
    EXPECT_TRUE(start.isVisible());
    start.findChild<QAction *>("aboutmenu")->trigger();
    QPointer<FormView> about = app.view(WindowId::About);
    ASSERT_TRUE(about && about->isVisible());
    QTest::keyClick(about.data(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull() && !app.windows.isLoaded(WindowId::About));
    EXPECT_TRUE(start.isVisible() && !app.windows.hasEnded());
    start.close();
    EXPECT_TRUE(app.windows.hasEnded());
    EXPECT_EQ(app.registry.ReadValue(kCurrentUser, windowKeyPath("Start"), "bsp"), "");
    // The ended program's exit waits in the queue; the other tests share the application.
    QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
}

// The box shows the title, the icon, the text with its line breaks and one OK button, which
// closes it.
TEST(QtMessageServiceTest, ShowsTitleIconAndTextWithItsLineBreaksAndOneOkButton)
{
    QString seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(top);
            if (!box || !box->isVisible())
                continue;
            seen = QString::number(box->icon()) + "|" + box->windowTitle() + "|" + box->text();
            for (QAbstractButton *button : box->buttons())
                seen += "|" + button->text();
            poll.stop();
            box->buttons().value(0)->click();
        }
    });
    poll.start(10);
    QtMessageService().show("Zeile eins\r\nZeile zwei\r\n\r\nEnde", MessageIcon::Critical,
                            "Fehler!!!");
    EXPECT_EQ(seen, QString::number(QMessageBox::Critical) +
                        "|Fehler!!!|Zeile eins\nZeile zwei\n\nEnde|OK");
}

} // namespace
} // namespace kelvane::testing
