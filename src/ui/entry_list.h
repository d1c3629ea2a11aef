#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <QListView>
#include <QStyledItemDelegate>
#include <memory>
#include <string>
#include <vector>

namespace kelvane {

// One line of a directory or file list as the view shows it.
struct ListRow
{
    enum class Look { Plain, Folder, OpenFolder };

    std::string text;
    int depth = 0;
    Look look = Look::Plain;

    bool operator==(const ListRow &) const = default;
};

// The lines of a list control: a few rows of their own (the open directories of a directory
// list), then names that the list shares with its control, which never changes them (the files,
// or the sub-directories, of a directory), all at one depth and with one look. A row becomes
// text only when the view paints it: a directory of a million entries costs the model nothing
// beyond the names its control holds already, and no strings of the toolkit.
class EntryListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int DepthRole = Qt::UserRole + 1;

    using Names = std::shared_ptr<const std::vector<std::string>>;

    explicit EntryListModel(QObject *parent = nullptr);

    // Shows new rows; resets the views only when they differ from the rows shown, and then
    // returns true.
    bool setRows(std::vector<ListRow> head, Names names = {}, int depth = 0,
                 ListRow::Look look = ListRow::Look::Plain);
    // Plain rows of shared names alone.
    bool setNames(Names names) { return setRows({}, std::move(names)); }
    // The text of a row.
    const std::string &textAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    std::vector<ListRow> m_head;
    Names m_names;
    int m_depth = 0;
    ListRow::Look m_look = ListRow::Look::Plain;
    QIcon m_folder;
    QIcon m_openFolder;
};

// Indents a row by its depth, as a directory list shows the path down to the current directory.
class IndentDelegate : public QStyledItemDelegate
{
public:
    static constexpr int Indent = 12;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// A list view that tells apart what the user does with an entry: choosing it and opening it.
// An entry is chosen when it becomes the selected one, however that happens (a click, the arrow
// keys, assistive technology selecting it), and when the user clicks it again while it is
// selected. It is opened by a double click or Enter. Neither signal comes from the program
// showing a row.
class EntryListView : public QListView
{
    Q_OBJECT

public:
    explicit EntryListView(QWidget *parent = nullptr);

    // Makes a row the current and selected one without raising either signal; -1 clears it.
    void showCurrentRow(int row);
    // The row selected alone; -1 when none is, or more than one.
    int markedRow() const;
    // New rows: none is marked until the program shows one.
    void reset() override;

Q_SIGNALS:
    void entryChosen(int row);
    void entryOpened(int row);

protected:
    // A long list is laid out a slice at a time; the current row is scrolled to once its slice is.
    void updateGeometries() override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The last row shown or chosen, which a selection taken away alone goes back to.
    int m_marked = -1;
    // The row shown before the list had laid it out, to scroll to once it has; -1 when none.
    int m_scrollPending = -1;
    bool m_showing = false;
    bool m_pressChangedSelection = false;
    bool m_releaseEndsDoubleClick = false;
};

} // namespace kelvane
