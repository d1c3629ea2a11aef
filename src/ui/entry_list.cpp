#include "ui/entry_list.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScopedValueRollback>
#include <QTimer>

namespace kelvane {

namespace {

// A folder, drawn so that an open one (a directory on the way to the current one) is told
// from a closed one at a glance, whatever icon theme the desktop has.
QImage drawFolder(bool open)
{
    QImage picture(32, 32, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(2);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge(138, 98, 22);
    p.setPen(QPen(edge, 0.8));

    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setBrush(QColor(222, 172, 62));
    p.drawPath(back);

    QPainterPath front;
    if (open) {
        p.setBrush(QColor(252, 248, 236));
        p.drawRect(QRectF(3, 6, 10, 6));
        front.moveTo(0.5, 7.5);
        front.lineTo(12.5, 7.5);
        front.lineTo(14.5, 13.5);
        front.lineTo(1.5, 13.5);
    } else {
        front.moveTo(1.5, 6.5);
        front.lineTo(14.5, 6.5);
        front.lineTo(14.5, 13.5);
        front.lineTo(1.5, 13.5);
    }
    front.closeSubpath();
    p.setBrush(QColor(250, 208, 96));
    p.drawPath(front);
    p.end();
    return picture;
}

// Drawn once for every list; kept as images, which outlive the application object safely.
QIcon folderIcon(bool open)
{
    static const QImage closedFolder = drawFolder(false);
    static const QImage openFolder = drawFolder(true);
    return QIcon(QPixmap::fromImage(open ? openFolder : closedFolder));
}

} // namespace

EntryListModel::EntryListModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_folder(folderIcon(false))
    , m_openFolder(folderIcon(true))
{}

bool EntryListModel::setRows(std::vector<ListRow> head, Names names, int depth, ListRow::Look look)
{
    const std::size_t count = names ? names->size() : 0;
    const bool sameNames = names == m_names || (count > 0 && m_names && *names == *m_names) ||
                           (count == 0 && (!m_names || m_names->empty()));
    if (head == m_head && sameNames && (count == 0 || (depth == m_depth && look == m_look))) {
        // The same names read anew: the older copy (and the read that holds it) goes.
        m_names = std::move(names);
        return false;
    }
    beginResetModel();
    m_head = std::move(head);
    m_names = std::move(names);
    m_depth = depth;
    m_look = look;
    endResetModel();
    return true;
}

const std::string &EntryListModel::textAt(int row) const
{
    const auto at = static_cast<std::size_t>(row);
    return at < m_head.size() ? m_head[at].text : (*m_names)[at - m_head.size()];
}

int EntryListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(m_head.size() + (m_names ? m_names->size() : 0));
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto at = static_cast<std::size_t>(index.row());
    const bool inHead = at < m_head.size();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromStdString(textAt(index.row()));
    case Qt::DecorationRole:
        switch (inHead ? m_head[at].look : m_look) {
        case ListRow::Look::Plain:
            return {};
        case ListRow::Look::Folder:
            return m_folder;
        case ListRow::Look::OpenFolder:
            return m_openFolder;
        }
        return {};
    case DepthRole:
        return inHead ? m_head[at].depth : m_depth;
    default:
        return {};
    }
}

// ---------------------------------------------------------------------------------------------

void IndentDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const
{
    QStyleOptionViewItem indented = option;
    indented.rect.adjust(index.data(EntryListModel::DepthRole).toInt() * Indent, 0, 0, 0);
    QStyledItemDelegate::paint(painter, indented, index);
}

QSize IndentDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return QStyledItemDelegate::sizeHint(option, index) +
           QSize(index.data(EntryListModel::DepthRole).toInt() * Indent, 0);
}

// ---------------------------------------------------------------------------------------------

EntryListView::EntryListView(QWidget *parent)
    : QListView(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setIconSize(QSize(16, 16));
    // A list of a million files is laid out a slice at a time between the event loop's turns,
    // so that the window goes on answering while it fills.
    setLayoutMode(QListView::Batched);
    setBatchSize(20000);
}

void EntryListView::showCurrentRow(int row)
{
    if (!model() || !selectionModel())
        return;
    const QScopedValueRollback showing(m_showing, true);
    m_marked = row < model()->rowCount() ? row : -1;
    if (m_marked < 0) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex index = model()->index(m_marked, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    // A hidden list scrolls to its current row when it is shown: measuring its rows before
    // that would shape their text before the window needs it.
    m_scrollPending = -1;
    if (isVisible()) {
        scrollTo(index);
        if (!visualRect(index).isValid())
            m_scrollPending = m_marked;
    }
}

void EntryListView::reset()
{
    QListView::reset();
    m_marked = -1;
    m_scrollPending = -1;
}

void EntryListView::updateGeometries()
{
    QListView::updateGeometries();
    if (m_scrollPending < 0 || !model() || m_scrollPending >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(m_scrollPending, 0);
    if (!visualRect(index).isValid())
        return;
    m_scrollPending = -1;
    scrollTo(index);
}

int EntryListView::markedRow() const
{
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    return selected.size() == 1 ? selected.first().row() : -1;
}

void EntryListView::selectionChanged(const QItemSelection &selected,
                                     const QItemSelection &deselected)
{
    QListView::selectionChanged(selected, deselected);
    if (m_showing)
        return;
    m_pressChangedSelection = true;
    if (!selected.isEmpty()) {
        m_marked = selected.indexes().first().row();
        Q_EMIT entryChosen(m_marked);
        return;
    }
    // A selection taken away alone (a control-click; assistive technology clears the selection
    // before it selects another row) comes back once the change is over, unless a row was
    // chosen by then: a list always shows what its control holds.
    QTimer::singleShot(0, this, [this] {
        if (selectionModel() && !selectionModel()->hasSelection())
            showCurrentRow(m_marked);
    });
}

void EntryListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentIndex().isValid())
            Q_EMIT entryOpened(currentIndex().row());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void EntryListView::mousePressEvent(QMouseEvent *event)
{
    m_pressChangedSelection = false;
    QListView::mousePressEvent(event);
}

void EntryListView::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    // The release that ends a double click belongs to the opening, not to a new click.
    if (m_releaseEndsDoubleClick) {
        m_releaseEndsDoubleClick = false;
        return;
    }
    // A click on the entry that is selected already changes no state, yet it is a choice.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && !m_pressChangedSelection && index.isValid() &&
        selectionModel()->isSelected(index)) {
        Q_EMIT entryChosen(index.row());
    }
}

void EntryListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid()) {
        QListView::mouseDoubleClickEvent(event);
        return;
    }
    m_releaseEndsDoubleClick = true;
    Q_EMIT entryOpened(index.row());
}

} // namespace kelvane
