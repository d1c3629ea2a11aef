#include "ui/form_view.h"

#include "app/help_file.h"
#include "ui/blueprint.h"
#include "ui/entry_list.h"
#include "ui/font_warm_up.h"
#include "ui/form_style.h"
#include "util/dos_path.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <cmath>
#include <map>

namespace kelvane {

namespace {

QString qt(const std::string &text)
{
    return QString::fromStdString(text);
}

// A caption as it reads: "&System Info..." is "System Info...", "&&" a single '&'.
QString readableCaption(const std::string &caption)
{
    QString text;
    text.reserve(static_cast<qsizetype>(caption.size()));
    const QString raw = qt(caption);
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'&' && i + 1 < raw.size())
            ++i;
        text += raw[i];
    }
    return text;
}

Qt::CheckState toCheckState(int state)
{
    switch (state) {
    case CheckBox::Checked:
        return Qt::Checked;
    case CheckBox::Grey:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

int fromCheckState(int state)
{
    switch (state) {
    case Qt::Checked:
        return CheckBox::Checked;
    case Qt::PartiallyChecked:
        return CheckBox::Grey;
    default:
        return CheckBox::Unchecked;
    }
}

// A check box that shows the grey third state when the program sets it, while a click by the
// user only ever turns it on or off.
class ModelCheckBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

// A frame drawn as a translucent dark panel with a light edge, its title on a panel of its own
// a little inside the frame's corner: the style's own frame takes its colour from the ground and
// would vanish on the picture.
class PanelGroupBox : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

    QSize minimumSizeHint() const override
    {
        return {2 * TitleInset + titleRect().width(), titleRect().height()};
    }

protected:
    static constexpr int TitleInset = 10;
    static constexpr int TitlePadding = 4;
    static constexpr int Radius = 4;

    // The title's place on the frame's upper edge, with its padding.
    QRect titleRect() const
    {
        const QFontMetrics metrics(font());
        return {TitleInset, 0, metrics.horizontalAdvance(title()) + 2 * TitlePadding,
                metrics.height()};
    }

    static void fillRounded(QPainter &p, const QRect &area, int radius, const QColor &colour)
    {
        if (area.height() < 2 * radius || area.width() < 2 * radius) {
            p.fillRect(area, colour);
            return;
        }
        for (int row = 0; row < radius; ++row) {
            const double up = radius - row - 0.5;
            const int inset =
                static_cast<int>(std::lround(radius - std::sqrt(radius * radius - up * up)));
            const int width = area.width() - 2 * inset;
            p.fillRect(QRect(area.left() + inset, area.top() + row, width, 1), colour);
            p.fillRect(QRect(area.left() + inset, area.bottom() - row, width, 1), colour);
        }
        p.fillRect(area.adjusted(0, radius, 0, -radius), colour);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRect label = titleRect();
        const int titleHeight = title().isEmpty() ? 0 : label.height();
        // The panel is filled as rectangles without antialiasing, its corners cut along the
        // border's curve: filling the antialiased rounded shape costs many times as much (and
        // starts the painter's helper threads). The shape's edge runs through the middle of the
        // border's pixels, so those get the panel at half strength, as antialiasing gave them.
        const QRect panel = rect().adjusted(0, titleHeight / 2, 0, 0);
        QColor halfPanel = framePanelColour();
        halfPanel.setAlpha(halfPanel.alpha() / 2);
        for (const QRect &edge :
             {QRect(panel.left() + Radius, panel.top(), panel.width() - 2 * Radius, 1),
              QRect(panel.left() + Radius, panel.bottom(), panel.width() - 2 * Radius, 1),
              QRect(panel.left(), panel.top() + Radius, 1, panel.height() - 2 * Radius),
              QRect(panel.right(), panel.top() + Radius, 1, panel.height() - 2 * Radius)})
            p.fillRect(edge, halfPanel);
        fillRounded(p, panel.adjusted(1, 1, -1, -1), Radius - 1, framePanelColour());
        const QRectF frame = QRectF(rect()).adjusted(0.5, titleHeight / 2 + 0.5, -0.5, -0.5);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(isEnabled() ? QColor(170, 205, 250, 170) : QColor(120, 140, 170, 140), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(frame, Radius, Radius);
        if (title().isEmpty())
            return;
        p.setPen(Qt::NoPen);
        p.setBrush(panelColour());
        p.drawRoundedRect(QRectF(label), 2, 2);
        style()->drawItemText(&p, label, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                              isEnabled(), title(), QPalette::WindowText);
    }
};

// A label's caption as shown: a run of three or more blanks breaks the line there, as the
// captions were written for a word-wrapping label of one width and font.
QString shownLabelText(const std::string &caption)
{
    const QString text = qt(caption);
    QString shown;
    shown.reserve(text.size());
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = at;
        while (end < text.size() && text[end] == u' ')
            ++end;
        if (end - at >= 3) {
            shown += u'\n';
        } else if (end > at) {
            shown += text.mid(at, end - at);
        } else {
            shown += text[at];
            ++end;
        }
        at = end;
    }
    return shown;
}

// An etched line: a grey line with a white one of double width directly below it.
class EtchedLine : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(QRect(0, 0, width(), 1), QColor(128, 128, 128));
        p.fillRect(QRect(0, 1, width(), 2), Qt::white);
    }
};

// Gives a widget a translucent dark ground, so that its light text reads well on any part of
// the picture.
void standOnPanel(QWidget &widget, const QColor &colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// Far beyond any real font; stops the search for room for a caption that never fits.
constexpr qreal LargestScale = 4.0;

// A declared place at a scale. The edges are scaled, not the sizes, so that controls that touch
// at the reference font still touch, and never overlap, at any other.
QRect scaled(const Rect &place, qreal scale)
{
    const auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    return QRect(QPoint(at(place.x), at(place.y)),
                 QPoint(at(place.x + place.w) - 1, at(place.y + place.h) - 1));
}

// Whether a widget shows all it has to show at a size: the whole caption of a button, check box
// or frame, the whole text of a label, and a full line of a field or drop-down list. Lists
// scroll and fit any size.
bool fitsIn(const QWidget &widget, QSize size)
{
    if (qobject_cast<const QAbstractButton *>(&widget) ||
        qobject_cast<const QComboBox *>(&widget)) {
        const QSize hint = widget.sizeHint();
        return hint.width() <= size.width() && hint.height() <= size.height();
    }
    if (qobject_cast<const QLineEdit *>(&widget))
        return widget.sizeHint().height() <= size.height() &&
               widget.minimumSizeHint().width() <= size.width();
    if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        // The text laid out once at the place's width (the label's own minimum size lays it
        // out several times over): a word too long for a line makes it wider than the place.
        // The labels are plain text with a left indent and no margins; laid out from the top,
        // as centring it in an unbounded height would round its height up.
        label->ensurePolished();
        const int indent = std::max(label->indent(), 0);
        const QRect text =
            QFontMetrics(label->font())
                .boundingRect(QRect(0, 0, size.width() - indent, QWIDGETSIZE_MAX),
                              Qt::TextWordWrap | (label->alignment() & Qt::AlignHorizontal_Mask),
                              label->text());
        return text.width() <= size.width() - indent && text.height() <= size.height();
    }
    if (qobject_cast<const QGroupBox *>(&widget))
        return widget.minimumSizeHint().width() <= size.width();
    return true;
}

// Shows a caption on one line where it fits the width, else on two, broken at the space that
// leaves the longest first line that fits; the place's height decides whether two lines fit.
void breakCaption(QAbstractButton &button, const QString &caption, int width)
{
    button.setText(caption);
    if (button.sizeHint().width() <= width)
        return;
    for (qsizetype at = caption.lastIndexOf(u' '); at > 0; at = caption.lastIndexOf(u' ', at - 1)) {
        button.setText(caption.left(at) + u'\n' + caption.mid(at + 1));
        if (button.sizeHint().width() <= width)
            return;
    }
    button.setText(caption);
}

} // namespace

// A ring around the control with the keyboard focus, in a colour that stands out from the
// picture, the buttons and the fields alike: the style's own focus marks are faint, and a
// focused drop-down list shows none. It lies above the controls and lets every click through.
class FocusRing : public QWidget
{
public:
    static constexpr int Gap = 3;

    // Shown with the form and never hidden: away from the focus it has no size. Showing or
    // hiding a widget makes the toolkit ask the window system where the mouse is, a round trip
    // that held up the first window by a millisecond, each time the focus came or went.
    explicit FocusRing(QWidget &form)
        : QWidget(&form)
    {
        setObjectName(QStringLiteral("focusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(QRect());
        connect(qApp, &QApplication::focusChanged, this, [this] { follow(); });
    }

    // Moves round the focused control of the form, or shrinks to nothing when the focus is
    // elsewhere.
    void follow()
    {
        QWidget *focused = QApplication::focusWidget();
        QWidget *form = parentWidget();
        if (!focused || !form->isAncestorOf(focused)) {
            setGeometry(QRect());
            return;
        }
        const QRect around(focused->mapTo(form, QPoint(0, 0)), focused->size());
        setGeometry(around.adjusted(-Gap, -Gap, Gap, Gap));
        raise();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(focusColour(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), Gap + 1, Gap + 1);
    }
};

FormView::FormView(Window &window, Services &services, QWidget *parent)
    : QDialog(parent)
    , m_window(window)
    , m_services(services)
    , m_clientSize(window.clientSize())
    , m_self(std::make_shared<FormView *>(this))
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(qt(window.title()));
    setObjectName(qt(std::string(windowName(window.id()))));

    if (!window.menu().empty()) {
        m_menuBar = new QMenuBar(this);
        m_menuBar->setObjectName(QStringLiteral("menuBar"));
        m_menuBar->setNativeMenuBar(false);
        m_menuBar->setPalette(menuBarPalette());
        buildMenu(*m_menuBar);
    }

    m_form = new QWidget(this);
    m_form->setObjectName(QStringLiteral("formArea"));
    m_form->setPalette(formPalette());

    std::map<const GroupBox *, QWidget *> groups;
    QWidget *previous = nullptr;
    std::string lastCaption;
    for (Control *control : window.controls()) {
        if (control->isHidden())
            continue;
        QWidget *parentWidget = m_form;
        Rect origin;
        if (const GroupBox *group = control->group()) {
            if (auto found = groups.find(group); found != groups.end()) {
                parentWidget = found->second;
                origin = group->geometry();
            }
        }
        QWidget *widget = createWidget(*control, *parentWidget);
        if (!widget)
            continue;
        if (control->kind() == ControlKind::GroupBox)
            groups[static_cast<const GroupBox *>(control)] = widget;
        m_placements.push_back({widget, control->geometry(), origin, qt(control->caption())});

        widget->setObjectName(qt(control->name()));
        if (!control->tooltip().empty())
            widget->setToolTip(qt(control->tooltip()));
        if (control->kind() == ControlKind::Label || control->kind() == ControlKind::CheckBox)
            lastCaption = control->caption();
        // A field or list without a caption of its own is named by the text or box that
        // introduces it: the box before a value field, the line of text above a list.
        const std::string &name = !control->caption().empty() ? control->caption()
                                  : !lastCaption.empty()      ? lastCaption
                                                              : control->name();
        widget->setAccessibleName(readableCaption(name).simplified());
        widget->setAccessibleDescription(qt(control->tooltip()));

        // The tab order is the order of the declaration, across group boxes.
        if (widget->focusPolicy() & Qt::TabFocus) {
            if (previous)
                QWidget::setTabOrder(previous, widget);
            else
                widget->setFocus(Qt::OtherFocusReason);
            previous = widget;
        }
    }
    m_focusRing = new FocusRing(*m_form);

    // F1 shows the help at this window's page; the id is kept, the window may go first.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this, id = window.id()] { m_services.help.open(id); });

    layOut();
}

bool FormView::fitEverything(qreal scale)
{
    bool fits = true;
    for (const Placement &p : m_placements) {
        const QSize size = scaled(p.place, scale).size();
        if (auto *button = qobject_cast<QAbstractButton *>(p.widget))
            breakCaption(*button, p.caption, size.width());
        fits = fitsIn(*p.widget, size) && fits;
    }
    return fits;
}

void FormView::layOut()
{
    m_layingOut = true;
    awaitFontWarmUp();
    const Window::Size client = m_clientSize;
    qreal scale = fontScale(font());
    const QSize bar = m_menuBar ? m_menuBar->sizeHint() : QSize(0, 0);
    // The menu bar shows every menu, never the button that hides some behind it.
    scale = std::max(scale, qreal(bar.width()) / client.w);
    // A font whose letters are shaped unlike the reference's may need a little more room still.
    while (!fitEverything(scale) && scale < LargestScale)
        scale *= 1.02;

    const QRect form = scaled({0, 0, client.w, client.h}, scale);
    int top = 0;
    if (m_menuBar) {
        top = std::max(MenuBarHeight, bar.height());
        m_menuBar->setGeometry(0, 0, form.width(), top);
        // A drop-down menu is a window of its own and takes no colours from the bar; the bar
        // makes some of its menus (the one for menus that do not fit) only as it lays out.
        for (QMenu *menu : m_menuBar->findChildren<QMenu *>())
            menu->setPalette(menuBarPalette());
    }
    m_form->setGeometry(form.translated(0, top));
    for (const Placement &p : m_placements) {
        const QRect origin = scaled(p.origin, scale);
        p.widget->setGeometry(scaled(p.place, scale).translated(-origin.topLeft()));
    }
    setFixedSize(form.width(), top + form.height());
    if (!m_background || m_background->size() != size())
        m_background = std::make_unique<Blueprint>(size());
    m_focusRing->follow();
    m_layingOut = false;
}

FormView::~FormView()
{
    // The models may be gone already (the window set goes before the host): leave their
    // signals alone, let the callbacks find the view gone, and take the widgets down while the
    // view's own members still exist.
    *m_self = nullptr;
    m_detached = true;
    delete m_form;
    m_form = nullptr;
}

void FormView::detach()
{
    if (m_detached)
        return;
    m_detached = true;
    *m_self = nullptr;
    for (const Subscription &s : m_subscriptions)
        s.control->viewChanged.disconnect(s.id);
    m_subscriptions.clear();
}

void FormView::buildMenu(QMenuBar &bar)
{
    addMenuItems(bar, m_window.menu());
}

void FormView::addMenuItems(QWidget &into, const std::vector<MenuItem> &items)
{
    for (const MenuItem &item : items) {
        if (!item.children.empty()) {
            auto *menu = new QMenu(qt(item.caption), &into);
            menu->setObjectName(qt(item.name));
            menu->menuAction()->setObjectName(qt(item.name));
            menu->menuAction()->setEnabled(item.enabled);
            addMenuItems(*menu, item.children);
            into.addAction(menu->menuAction());
            continue;
        }
        auto *action = new QAction(qt(item.caption), &into);
        action->setObjectName(qt(item.name));
        action->setEnabled(item.enabled);
        const std::string name = item.name;
        connect(action, &QAction::triggered, this, [this, name] {
            if (!m_detached)
                m_window.activateMenuItem(name);
        });
        into.addAction(action);
    }
}

QWidget *FormView::createWidget(Control &control, QWidget &parent)
{
    switch (control.kind()) {
    case ControlKind::Label:
        return bindLabel(static_cast<Label &>(control), parent);
    case ControlKind::GroupBox:
        return bindGroupBox(static_cast<GroupBox &>(control), parent);
    case ControlKind::CheckBox:
        return bindCheckBox(static_cast<CheckBox &>(control), parent);
    case ControlKind::TextField:
        return bindTextField(static_cast<TextField &>(control), parent);
    case ControlKind::Button:
        return bindButton(static_cast<Button &>(control), parent);
    case ControlKind::DriveList:
        return bindDriveList(static_cast<DriveList &>(control), parent);
    case ControlKind::DirectoryList:
        return bindDirectoryList(static_cast<DirectoryList &>(control), parent);
    case ControlKind::FileList:
        return bindFileList(static_cast<FileList &>(control), parent);
    case ControlKind::Separator:
        return new EtchedLine(&parent);
    }
    return nullptr;
}

void FormView::follow(Control &control, std::function<void()> refresh)
{
    refresh();
    std::weak_ptr<FormView *> view = m_self;
    const int id = control.viewChanged.connect([view, refresh] {
        if (const auto self = view.lock(); self && *self)
            refresh();
    });
    m_subscriptions.push_back({&control, id});
}

void FormView::act(const std::function<void()> &refresh, const std::function<void()> &action)
{
    if (m_detached)
        return;
    // The action may close this window for good (the about box); its models are gone then.
    const std::weak_ptr<FormView *> view = m_self;
    action();
    if (const auto self = view.lock(); self && *self)
        refresh();
}

void FormView::report(const Outcome &outcome)
{
    if (outcome)
        m_services.messages.show(outcome->message, MessageIcon::Information, kInformationTitle);
}

QWidget *FormView::bindLabel(Label &label, QWidget &parent)
{
    auto *widget = new QLabel(shownLabelText(label.caption()), &parent);
    if (!label.look().family.empty() || label.look().bold) {
        QFont font = widget->font();
        if (!label.look().family.empty())
            font.setFamilies({qt(label.look().family), font.family()});
        font.setBold(label.look().bold);
        widget->setFont(font);
    }
    widget->setTextFormat(Qt::PlainText);
    widget->setWordWrap(true);
    widget->setIndent(5);
    standOnPanel(*widget, panelColour());
    widget->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    follow(label, [widget, &label] { widget->setEnabled(label.isEnabled()); });
    return widget;
}

QWidget *FormView::bindGroupBox(GroupBox &group, QWidget &parent)
{
    auto *widget = new PanelGroupBox(qt(group.caption()), &parent);
    follow(group, [widget, &group] { widget->setEnabled(group.isEnabled()); });
    return widget;
}

QWidget *FormView::bindCheckBox(CheckBox &box, QWidget &parent)
{
    auto *widget = new ModelCheckBox(qt(box.caption()), &parent);
    widget->setTristate(true);
    if (!box.group())
        standOnPanel(*widget, panelColour());
    const auto refresh = [widget, &box] {
        const QSignalBlocker quiet(widget);
        widget->setCheckState(toCheckState(box.state()));
        widget->setEnabled(box.isEnabled());
    };
    follow(box, refresh);
    connect(widget, &QCheckBox::stateChanged, this, [this, &box, refresh](int state) {
        act(refresh, [&box, state] { box.setState(fromCheckState(state)); });
    });
    return widget;
}

QWidget *FormView::bindTextField(TextField &field, QWidget &parent)
{
    auto *widget = new QLineEdit(&parent);
    const auto refresh = [widget, &field] {
        const QSignalBlocker quiet(widget);
        const QString text = qt(field.text());
        if (widget->text() != text)
            widget->setText(text);
        widget->setEnabled(field.isEnabled());
    };
    follow(field, refresh);
    connect(widget, &QLineEdit::textChanged, this, [this, &field, refresh](const QString &text) {
        act(refresh, [&field, text] { field.setText(text.toStdString()); });
    });
    return widget;
}

QWidget *FormView::bindButton(Button &button, QWidget &parent)
{
    auto *widget = new QPushButton(qt(button.caption()), &parent);
    // Enter presses the button that has the focus, else the box's default button; see
    // keyPressEvent().
    widget->setAutoDefault(false);
    widget->setDefault(button.isDefault());
    const auto refresh = [widget, &button] { widget->setEnabled(button.isEnabled()); };
    follow(button, refresh);
    connect(widget, &QAbstractButton::clicked, this,
            [this, &button, refresh] { act(refresh, [&button] { button.click(); }); });
    return widget;
}

QWidget *FormView::bindDriveList(DriveList &drives, QWidget &parent)
{
    auto *widget = new QComboBox(&parent);
    const auto refresh = [widget, &drives] {
        const QSignalBlocker quiet(widget);
        QStringList texts;
        int current = -1;
        for (const DriveEntry &entry : drives.entries()) {
            if (entry.letter == drives.letter())
                current = static_cast<int>(texts.size());
            texts << qt(entry.text);
        }
        QStringList shown;
        for (int i = 0; i < widget->count(); ++i)
            shown << widget->itemText(i);
        if (shown != texts) {
            widget->clear();
            widget->addItems(texts);
        }
        widget->setCurrentIndex(current);
        widget->setEnabled(drives.isEnabled());
    };
    follow(drives, refresh);
    connect(widget, &QComboBox::currentIndexChanged, this,
            [this, widget, &drives, refresh](int index) {
                const std::string text = widget->itemText(index).toStdString();
                act(refresh, [&drives, text] { drives.setDrive(text); });
            });
    return widget;
}

QWidget *FormView::bindDirectoryList(DirectoryList &directories, QWidget &parent)
{
    auto *widget = new EntryListView(&parent);
    auto *rows = new EntryListModel(widget);
    widget->setModel(rows);
    widget->setItemDelegate(new IndentDelegate(widget));
    const auto refresh = [widget, rows, &directories] {
        const auto &open = directories.openEntries();
        std::vector<ListRow> lines;
        lines.reserve(open.size());
        for (const DirectoryEntry &entry : open)
            lines.push_back({entry.label, entry.depth, ListRow::Look::OpenFolder});
        // The current directory, the last open one, is marked; an entry the user has only
        // clicked stays marked until the list changes.
        if (rows->setRows(std::move(lines), directories.subdirectories(),
                          open.empty() ? 0 : open.back().depth + 1, ListRow::Look::Folder))
            widget->showCurrentRow(static_cast<int>(open.size()) - 1);
        widget->setEnabled(directories.isEnabled());
    };
    follow(directories, refresh);
    connect(widget, &EntryListView::entryChosen, this, [this, &directories, refresh](int row) {
        act(refresh,
            [&directories, row] { directories.clickEntry(static_cast<std::size_t>(row)); });
    });
    connect(widget, &EntryListView::entryOpened, this, [this, &directories, refresh](int row) {
        act(refresh, [this, &directories, row] {
            report(directories.openEntry(static_cast<std::size_t>(row)));
        });
    });
    return widget;
}

QWidget *FormView::bindFileList(FileList &files, QWidget &parent)
{
    auto *widget = new EntryListView(&parent);
    auto *rows = new EntryListModel(widget);
    widget->setModel(rows);
    const auto refresh = [widget, rows, &files] {
        const auto &names = files.entries();
        // The names are in the list's case-blind order, which finds the chosen one quickly.
        int chosen = -1;
        if (!files.chosen().empty()) {
            auto at = std::lower_bound(
                names.begin(), names.end(), files.chosen(),
                [](const std::string &a, const std::string &b) { return dos::lessNoCase(a, b); });
            if (at == names.end() || *at != files.chosen())
                at = std::find(names.begin(), names.end(), files.chosen());
            if (at != names.end())
                chosen = static_cast<int>(at - names.begin());
        }
        rows->setNames(files.sharedEntries());
        if (widget->markedRow() != chosen)
            widget->showCurrentRow(chosen);
        widget->setEnabled(files.isEnabled());
    };
    follow(files, refresh);
    const auto choose = [this, &files, rows, refresh](int row) {
        if (row < 0 || row >= rows->rowCount())
            return;
        const std::string name = rows->textAt(row);
        act(refresh, [&files, name] { files.choose(name); });
    };
    connect(widget, &EntryListView::entryChosen, this, choose);
    connect(widget, &EntryListView::entryOpened, this, choose);
    return widget;
}

QPushButton *FormView::buttonWith(bool (Button::*role)() const) const
{
    if (m_detached)
        return nullptr;
    for (Control *control : m_window.controls()) {
        if (control->kind() != ControlKind::Button || !(static_cast<Button *>(control)->*role)())
            continue;
        return m_form->findChild<QPushButton *>(qt(control->name()));
    }
    return nullptr;
}

void FormView::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // The controls take the new font after the window; they are measured once they all have.
    if ((event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) && m_form &&
        !m_layingOut) {
        QMetaObject::invokeMethod(this, &FormView::layOut, Qt::QueuedConnection);
    }
}

void FormView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    m_background->paint(painter, event->region(), QRect(m_form->pos(), m_form->size()));
}

void FormView::closeEvent(QCloseEvent *event)
{
    // The window set decides what closing means (the about box goes, any other window ends
    // the program) and tells the host what to hide.
    event->ignore();
    if (!m_detached && isVisible())
        Q_EMIT closeRequested();
}

void FormView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // A box presses its cancel button, or closes like its title bar when it has none. A
        // wizard window ignores Escape, so that no step is dismissed by accident.
        if (QPushButton *cancel = buttonWith(&Button::isCancel))
            cancel->click();
        else if (!m_menuBar && !m_detached)
            Q_EMIT closeRequested();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The focused button, else (the dialog's own way) the default button.
        if (auto *button = qobject_cast<QPushButton *>(focusWidget());
            button && button->isEnabled()) {
            button->click();
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace kelvane
