#pragma once

#include "DataSource.h"
#include "GridColumns.h"
#include "KeyEvents.h"

#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <vector>

namespace fai {

class DataSetTableModel;
class FocusScope;
class GridDelegate;
class TMaskEdit;

// A data-aware grid over a data source, in the classic way of business applications:
// - its current row is the dataset's current record, both ways; leaving a modified row posts
//   it, leaving a new row nobody typed into cancels it;
// - typing (or F2, Enter, a double click) on an editable cell puts the dataset into edit and
//   opens an in-place editor with the field's edit text and edit mask; the editor's text is
//   written to the field when the cell is left, on Enter, or by CommitEdit (which the screens'
//   confirm step runs); Escape closes the editor unchanged, and a second Escape cancels the
//   row's edit;
// - Insert, and the down arrow on the last row, append a row; Ctrl+Delete deletes the current
//   row, asking first with dgConfirmDelete;
// - a field's FocusControl selects its column and gives the grid the focus, or, while that
//   cell's editor is open, gives it to the editor with its text selected;
// - Tab moves between columns with dgTabs, and out of the grid without; while the grid may be
//   edited it stops only on the columns that can be typed in, and a character typed on a
//   cell that cannot take it goes to the next one of the row that can, so that nothing typed
//   is lost;
// - a row that cannot be changed (RowLockReason) shows muted, with the reason as its tool
//   tip; typing there, F2, Enter or a double click says the reason through the dialog
//   service;
// - key-down and key-press hooks see every key first, the editor's too, and can swallow it.
// Cells show the fields' display texts (display formats, OnGetText); the titles are the
// persistent columns' titles or the fields' labels. A column is never narrower than its
// title and its field's widest value in the grid's font (ColumnWidthFor).
class TDBGrid : public QTableView {
    Q_OBJECT
  public:
    enum Option {
        dgEditing = 0x001,
        dgTitles = 0x002,
        dgColumnResize = 0x004,
        dgColLines = 0x008,
        dgRowLines = 0x010,
        dgTabs = 0x020,
        dgAlwaysShowSelection = 0x040,
        dgConfirmDelete = 0x080,
        dgCancelOnExit = 0x100,
    };
    Q_DECLARE_FLAGS(Options, Option)

    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    fai::DataSource* DataSource() const;
    void SetDataSource(fai::DataSource* source);
    // Null when the source shows no dataset.
    ClientDataSet* ActiveDataSet() const;

    TDBGridColumns& Columns() { return columns_; }
    const TDBGridColumns& Columns() const { return columns_; }
    // Index of the column showing the field (letter case ignored), or -1.
    int ColumnIndexOf(const QString& fieldName) const;
    Field* ColumnField(int column) const;
    int ColumnCount() const;
    // The fields of the columns on view, in column order.
    std::vector<const Field*> ShownFields() const;

    Options GridOptions() const { return options_; }
    void SetOptions(Options options);
    void SetOption(Option option, bool on);

    // The selected column. Selecting one from code runs no column-exit event.
    int SelectedIndex() const { return selectedColumn_; }
    void SetSelectedIndex(int column);
    Field* SelectedField() const;

    // Widths the user gave columns by dragging their titles, by field name (upper case).
    // They win over the columns' own widths, here and in every dataset the grid shows later;
    // setting an empty set brings the columns' own widths back.
    const QHash<QString, int>& UserWidths() const { return userWidths_; }
    void SetUserWidths(const QHash<QString, int>& widths);
    // The grid's width when every visible column shows without a horizontal scroll bar.
    int WidthShowingAllColumns() const;

    // The in-place editor.
    bool EditorMode() const;
    // Opens the editor on the current cell when it may be edited, putting the dataset into
    // edit. Throws what the dataset's before-edit handler throws.
    void ShowEditor();
    // Writes the editor's text, when changed, to its field. Throws when the field refuses it;
    // the editor then stays open.
    void CommitEdit();
    // Closes the editor without writing its text.
    void HideEditor();
    TMaskEdit* InplaceEditor() const;
    // The editor's text and selection; with the editor closed, those it would open with on
    // the current cell: the field's edit text, all of it selected.
    QString InplaceText() const;
    int InplaceSelStart() const;
    int InplaceSelLength() const;

    // What names the current row to the clerk, said after "Confirma exclusão?".
    std::function<QString()> OnDescribeRow;
    // The question before the current row is deleted, the row named after it when
    // OnDescribeRow names it.
    QString DeleteQuestion(const QString& question = QStringLiteral("Confirma exclusão?")) const;

    // Why the row cannot be changed, or empty when it can.
    void SetRowLockReason(std::function<QString(const RowView& row)> reason);
    QString LockReasonOfCurrentRow() const;
    // Says through the dialog service why the current row cannot be changed; false when it
    // can.
    bool ExplainLockedRow() const;

    std::function<void()> OnColExit;
    std::function<void()> OnEditButtonClick;
    std::function<void()> OnEnter;
    std::function<void()> OnExit;
    KeyDownEvent OnKeyDown;
    KeyPressEvent OnKeyPress;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyboardSearch(const QString&) override {}

  private:
    friend class GridDelegate;
    friend class GridSelectionModel;

    // Selection-model hook: runs column exit and moves the dataset; false keeps the grid
    // where it is (the move was refused, or was made here already).
    bool MayMoveTo(const QModelIndex& target);
    bool HandleKey(QKeyEvent* event, bool fromEditor);
    bool GridCommand(int key, Qt::KeyboardModifiers shift, bool fromEditor);
    bool CanEditCell(int column) const;
    // Where Tab stops: with editing on, only the columns that can be typed in (all of them
    // when none can).
    bool TabStop(int column) const;
    // Onto the next column of the current row that can be typed in; false when none.
    bool MoveToEditableColumn();
    bool HasEditButton(const QModelIndex& index) const;
    static QRect EditButtonRect(const QRect& cell);
    bool ShowsSelection() const;

    void StartEditing(QChar typed);
    void MoveToRow(int target);
    void MoveRowBy(int delta);
    // False at the end of the last row (or the start of the first).
    bool MoveColumnBy(int delta);
    void AppendRow();
    void DeleteRow();
    void ClickEditButton();
    void LeaveGrid();

    void SyncCurrent();
    void ApplyOptions();
    void ApplyColumns();
    void ApplyColumn(int column);
    void ColumnsChanged(const TColumn* column);
    void ColumnResized(int column, int width);
    QString ColumnKey(int column) const;
    void EditorCreated(TMaskEdit* editor, const QModelIndex& index);
    void EditorReleased();

    TDBGridColumns columns_;
    DataSetTableModel* model_;
    GridDelegate* delegate_;
    FocusScope* focus_;
    Options options_;
    int selectedColumn_ = 0;
    bool syncing_ = false;
    bool applyingWidths_ = false;
    QHash<QString, int> userWidths_;
    QPointer<TMaskEdit> editor_;
    QPersistentModelIndex editorIndex_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TDBGrid::Options)

// Index of the grid's column that shows the field, or -1.
int IndiceCol(const TDBGrid* grid, const QString& fieldName);

}  // namespace fai
