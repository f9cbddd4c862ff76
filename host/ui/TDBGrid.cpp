#include "TDBGrid.h"

#include "ColumnWidth.h"
#include "DataSetTableModel.h"
#include "DialogService.h"
#include "EventGuard.h"
#include "FocusScope.h"
#include "GridDelegate.h"
#include "TMaskEdit.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyle>

#include <algorithm>

namespace fai {

// Asks the grid before the current cell moves, so that a column exit or a row that cannot
// be posted keeps the grid where it is.
class GridSelectionModel : public QItemSelectionModel {
  public:
    GridSelectionModel(QAbstractItemModel* model, TDBGrid& grid)
        : QItemSelectionModel(model, &grid), grid_(grid) {}

    void setCurrentIndex(const QModelIndex& index,
                         QItemSelectionModel::SelectionFlags command) override {
        if (grid_.MayMoveTo(index)) QItemSelectionModel::setCurrentIndex(index, command);
    }

  private:
    TDBGrid& grid_;
};

namespace {

constexpr int kEditButtonWidth = 18;

}  // namespace

TDBGrid::TDBGrid(QWidget* parent)
    : QTableView(parent),
      columns_([this](const TColumn* column) { ColumnsChanged(column); }),
      model_(new DataSetTableModel(columns_, this)),
      delegate_(new GridDelegate(*this)),
      focus_(new FocusScope(this)),
      options_(dgEditing | dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs |
               dgConfirmDelete | dgCancelOnExit) {
    setModel(model_);
    QItemSelectionModel* standard = selectionModel();
    setSelectionModel(new GridSelectionModel(model_, *this));
    delete standard;
    setItemDelegate(delegate_);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setShowGrid(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);

    // Whoever posts the row (the confirm command, a screen's code, a move to another row),
    // what is typed in the open cell goes with it.
    model_->OnUpdateData = [this] { CommitEdit(); };
    connect(model_, &DataSetTableModel::currentRowChanged, this, [this] { SyncCurrent(); });
    connect(model_, &DataSetTableModel::stateChanged, this, [this](DataSetState state) {
        if (state == DataSetState::Browse || state == DataSetState::Inactive) HideEditor();
        viewport()->update();
    });
    connect(model_, &DataSetTableModel::columnsRebuilt, this, [this] { ApplyColumns(); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { ColumnResized(column, width); });
    connect(model_, &DataSetTableModel::focusRequested, this, [this](Field* field) {
        const int column = model_->ColumnOf(*field);
        if (column < 0 || !isVisible()) return;
        SetSelectedIndex(column);
        // A cell still being typed in keeps the keys, its text selected, so that the user types
        // over what was refused; on the grid the next key would only leave the cell again.
        if (editor_ && editorIndex_.column() == column) {
            editor_->setFocus();
            editor_->selectAll();
            return;
        }
        setFocus();
    });
    // A field assigned from code shows in an editor the user has not typed into.
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& top, const QModelIndex& bottom) {
                if (!editor_ || editor_->isModified()) return;
                if (editorIndex_.row() < top.row() || editorIndex_.row() > bottom.row()) return;
                if (const Field* field = ColumnField(editorIndex_.column())) {
                    editor_->SetText(field->Text());
                    editor_->setModified(false);
                }
            });
    focus_->OnEnter = [this] {
        if (OnEnter) OnEnter();
    };
    focus_->OnExit = [this] { LeaveGrid(); };
    ApplyOptions();
}

// The editor, the focus handlers and the model reach members that are gone once this
// destructor has run, before the view's own teardown (which still paints and sizes).
TDBGrid::~TDBGrid() {
    HideEditor();
    delete focus_;
    setModel(nullptr);
}

fai::DataSource* TDBGrid::DataSource() const { return model_->Source(); }

void TDBGrid::SetDataSource(fai::DataSource* source) {
    HideEditor();
    model_->SetSource(source);
}

ClientDataSet* TDBGrid::ActiveDataSet() const { return model_->ActiveDataSet(); }

int TDBGrid::ColumnIndexOf(const QString& fieldName) const {
    if (!columns_.IsEmpty()) return columns_.IndexOf(fieldName);
    for (int column = 0; column < ColumnCount(); ++column) {
        const Field* field = model_->FieldAt(column);
        if (field && field->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0) return column;
    }
    return -1;
}

Field* TDBGrid::ColumnField(int column) const { return model_->FieldAt(column); }

std::vector<const Field*> TDBGrid::ShownFields() const {
    std::vector<const Field*> fields;
    for (int column = 0; column < ColumnCount(); ++column) {
        if (const Field* field = ColumnField(column); field && !isColumnHidden(column))
            fields.push_back(field);
    }
    return fields;
}

void TDBGrid::SetRowLockReason(std::function<QString(const RowView& row)> reason) {
    model_->RowLockReason = std::move(reason);
    viewport()->update();
}

QString TDBGrid::LockReasonOfCurrentRow() const { return model_->LockReason(model_->CurrentRow()); }

bool TDBGrid::ExplainLockedRow() const {
    const QString reason = LockReasonOfCurrentRow();
    if (reason.isEmpty()) return false;
    DialogService::Instance().Message(DialogKind::Warning, reason, mbOk);
    return true;
}

int TDBGrid::ColumnCount() const { return model_->columnCount(); }

void TDBGrid::SetOptions(Options options) {
    options_ = options;
    ApplyOptions();
}

void TDBGrid::SetOption(Option option, bool on) { SetOptions(options_.setFlag(option, on)); }

void TDBGrid::SetSelectedIndex(int column) {
    if (column < 0 || column >= ColumnCount()) return;
    if (editor_ && editorIndex_.column() != column) HideEditor();
    selectedColumn_ = column;
    SyncCurrent();
}

Field* TDBGrid::SelectedField() const { return ColumnField(selectedColumn_); }

bool TDBGrid::EditorMode() const { return editor_ != nullptr; }

TMaskEdit* TDBGrid::InplaceEditor() const { return editor_; }

void TDBGrid::ShowEditor() {
    const QModelIndex current = currentIndex();
    const int column = current.isValid() ? current.column() : selectedColumn_;
    if (EditorMode()) return;
    if (!CanEditCell(column)) {
        ExplainLockedRow();
        return;
    }
    // Only an empty grid has no current cell to edit: editing it starts a new row.
    if (!current.isValid() && model_->rowCount() > 0) return;
    ClientDataSet* dataSet = ActiveDataSet();
    if (dataSet->State() == DataSetState::Browse) dataSet->Edit();
    const QModelIndex cell = model_->index(model_->CurrentRow(), column);
    if (cell.isValid()) QAbstractItemView::edit(cell);
}

void TDBGrid::CommitEdit() {
    if (!editor_ || !editor_->isModified()) return;
    Field* field = ColumnField(editorIndex_.column());
    ClientDataSet* dataSet = ActiveDataSet();
    if (!field || !dataSet) return;
    if (dataSet->State() == DataSetState::Browse) dataSet->Edit();
    field->SetText(editor_->Text());
    if (editor_) {
        editor_->SetText(field->Text());
        editor_->setModified(false);
    }
}

void TDBGrid::HideEditor() {
    if (editor_) closeEditor(editor_, QAbstractItemDelegate::NoHint);
}

QString TDBGrid::InplaceText() const {
    if (editor_) return editor_->text();
    const Field* field = SelectedField();
    return field && model_->CurrentRow() >= 0 ? field->Text() : QString();
}

int TDBGrid::InplaceSelStart() const { return editor_ ? editor_->SelStart() : 0; }

int TDBGrid::InplaceSelLength() const {
    return editor_ ? editor_->SelLength() : int(InplaceText().size());
}

// ---- keys and mouse --------------------------------------------------------------------

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    if (HandleKey(event, false)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        // Not taken by the grid: the focus moves on out of it.
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool TDBGrid::HandleKey(QKeyEvent* event, bool fromEditor) {
    int key = event->key();
    if (!PassKeyDown(OnKeyDown, key, event->modifiers())) return true;
    bool handled = true;
    if (!GuardEvent([&] { handled = GridCommand(key, event->modifiers(), fromEditor); }))
        return true;
    if (handled) return true;

    const QChar typed = TypedChar(*event);
    if (typed.isNull()) return false;
    QChar character = typed;
    if (!PassKeyPress(OnKeyPress, character)) return true;
    if (typed.unicode() < 32) return false;
    if (!fromEditor) {
        // What is typed where it cannot go goes on to where it can, and is judged there.
        if (!CanEditCell(currentIndex().column()) && LockReasonOfCurrentRow().isEmpty() &&
            MoveToEditableColumn())
            return HandleKey(event, false);
        GuardEvent([&] { StartEditing(character); });
        return true;
    }
    if (character == typed) return false;
    editor_->insert(QString(character));
    return true;
}

bool TDBGrid::GridCommand(int key, Qt::KeyboardModifiers shift, bool fromEditor) {
    ClientDataSet* dataSet = ActiveDataSet();
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const bool forward = key == Qt::Key_Tab && !(shift & Qt::ShiftModifier);
            if ((options_ & dgTabs) && MoveColumnBy(forward ? 1 : -1)) return true;
            if (!fromEditor) return false;
            CommitEdit();
            HideEditor();  // the focus is back on the grid, to move on from there
            QAbstractScrollArea::focusNextPrevChild(forward);
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (shift & Qt::ControlModifier) {
                if (HasEditButton(currentIndex())) ClickEditButton();
            } else if (EditorMode()) {
                CommitEdit();
                HideEditor();
            } else {
                ShowEditor();
            }
            return true;
        case Qt::Key_Escape:
            if (EditorMode()) {
                HideEditor();
                return true;
            }
            if (dataSet && Editing(dataSet->State())) {
                dataSet->Cancel();
                return true;
            }
            return false;
        case Qt::Key_F2:
            ShowEditor();
            return true;
        case Qt::Key_Insert:
            if (shift != Qt::NoModifier) return false;
            AppendRow();
            return true;
        case Qt::Key_Delete:
            if (!(shift & Qt::ControlModifier)) return false;
            DeleteRow();
            return true;
        case Qt::Key_Down:
            if (currentIndex().row() >= model_->rowCount() - 1) {
                AppendRow();
                return true;
            }
            if (!fromEditor) return false;
            MoveRowBy(1);
            return true;
        case Qt::Key_Up:
            if (!fromEditor) return false;
            MoveRowBy(-1);
            return true;
        default:
            return false;
    }
}

void TDBGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex current = currentIndex();
    if (HasEditButton(current) && EditButtonRect(visualRect(current)).contains(event->pos())) {
        event->accept();
        ClickEditButton();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (indexAt(event->pos()) == currentIndex()) {
        event->accept();
        GuardEvent([this] { ShowEditor(); });
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

// ---- moving ----------------------------------------------------------------------------

bool TDBGrid::MayMoveTo(const QModelIndex& target) {
    if (syncing_ || !target.isValid()) return true;
    bool moved = false;
    const bool completed = GuardEvent([&] {
        CommitEdit();
        if (target.column() != selectedColumn_) {
            if (currentIndex().isValid() && OnColExit) OnColExit();
            selectedColumn_ = target.column();
        }
        if (ActiveDataSet() && target.row() != model_->CurrentRow()) {
            HideEditor();
            MoveToRow(target.row());
            moved = true;
        }
    });
    if (completed && !moved) return true;
    SyncCurrent();
    viewport()->update();
    return false;
}

void TDBGrid::MoveToRow(int target) {
    ClientDataSet& dataSet = *ActiveDataSet();
    const int current = dataSet.RecNo() - 1;
    if (dataSet.State() == DataSetState::Insert && !model_->NewRowModified()) {
        dataSet.Cancel();
        if (target > current) --target;
    } else if (Editing(dataSet.State())) {
        dataSet.Post();
    }
    dataSet.MoveBy(target - (dataSet.RecNo() - 1));
}

void TDBGrid::MoveRowBy(int delta) {
    const int rows = model_->rowCount();
    if (rows == 0) return;
    const int target = std::clamp(currentIndex().row() + delta, 0, rows - 1);
    selectionModel()->setCurrentIndex(model_->index(target, selectedColumn_),
                                      QItemSelectionModel::NoUpdate);
}

bool TDBGrid::MoveColumnBy(int delta) {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return false;
    const auto shownFrom = [this, delta](int column) {
        for (; column >= 0 && column < ColumnCount(); column += delta) {
            if (TabStop(column)) return column;
        }
        return -1;
    };
    int row = current.row();
    int column = shownFrom(current.column() + delta);
    if (column < 0) {
        // Past the end of the row: on to the next row, back from its start to the last one.
        row += delta;
        if (row < 0 || row >= model_->rowCount()) return false;
        column = shownFrom(delta > 0 ? 0 : ColumnCount() - 1);
        if (column < 0) return false;
    }
    selectionModel()->setCurrentIndex(model_->index(row, column), QItemSelectionModel::NoUpdate);
    return true;
}

void TDBGrid::SyncCurrent() {
    const int row = model_->CurrentRow();
    if (editor_ && editorIndex_.row() != row) HideEditor();
    syncing_ = true;
    if (row < 0 || ColumnCount() == 0) {
        selectionModel()->clearCurrentIndex();
    } else {
        selectedColumn_ = std::clamp(selectedColumn_, 0, ColumnCount() - 1);
        selectionModel()->setCurrentIndex(model_->index(row, selectedColumn_),
                                          QItemSelectionModel::NoUpdate);
    }
    syncing_ = false;
}

// ---- editing ---------------------------------------------------------------------------

bool TDBGrid::CanEditCell(int column) const {
    if (!(options_ & dgEditing) || !ActiveDataSet()) return false;
    const Field* field = ColumnField(column);
    if (!field || field->ReadOnly() || field->IsCalculated()) return false;
    const TColumn* persistent = model_->ColumnAt(column);
    return !persistent || !persistent->ReadOnly();
}

bool TDBGrid::TabStop(int column) const {
    if (isColumnHidden(column)) return false;
    if (!(options_ & dgEditing) || CanEditCell(column)) return true;
    for (int other = 0; other < ColumnCount(); ++other) {
        if (!isColumnHidden(other) && CanEditCell(other)) return false;
    }
    return true;
}

bool TDBGrid::MoveToEditableColumn() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return false;
    for (int column = current.column() + 1; column < ColumnCount(); ++column) {
        if (isColumnHidden(column) || !CanEditCell(column)) continue;
        selectionModel()->setCurrentIndex(model_->index(current.row(), column),
                                          QItemSelectionModel::NoUpdate);
        return currentIndex().column() == column;
    }
    return false;
}

void TDBGrid::StartEditing(QChar typed) {
    ShowEditor();
    if (!editor_) return;
    editor_->insert(QString(typed));
    editor_->setModified(true);
}

void TDBGrid::AppendRow() {
    ClientDataSet* dataSet = ActiveDataSet();
    if (!dataSet || !(options_ & dgEditing)) return;
    CommitEdit();
    // Already on a new row nobody typed into: no second one.
    if (dataSet->State() == DataSetState::Insert && !model_->NewRowModified()) return;
    HideEditor();
    dataSet->Append();
}

void TDBGrid::DeleteRow() {
    ClientDataSet* dataSet = ActiveDataSet();
    if (!dataSet || !(options_ & dgEditing)) return;
    if (dataSet->IsEmpty() && dataSet->State() != DataSetState::Insert) return;
    if ((options_ & dgConfirmDelete) &&
        DialogService::Instance().Message(DialogKind::Confirmation, DeleteQuestion(),
                                          mbYes | mbNo) != mrYes)
        return;
    HideEditor();
    dataSet->Delete();
}

QString TDBGrid::DeleteQuestion(const QString& question) const {
    const QString row = OnDescribeRow ? OnDescribeRow() : QString();
    return row.isEmpty() ? question : question + QLatin1Char('\n') + row;
}

bool TDBGrid::HasEditButton(const QModelIndex& index) const {
    if (!index.isValid() || index != currentIndex() || !(options_ & dgEditing)) return false;
    const TColumn* column = model_->ColumnAt(index.column());
    return column && column->ButtonStyle() == ColumnButtonStyle::Ellipsis && ActiveDataSet();
}

QRect TDBGrid::EditButtonRect(const QRect& cell) {
    return QRect(cell.right() - kEditButtonWidth + 1, cell.top(), kEditButtonWidth, cell.height());
}

bool TDBGrid::ShowsSelection() const {
    return hasFocus() || (editor_ && editor_->hasFocus()) || (options_ & dgAlwaysShowSelection);
}

void TDBGrid::ClickEditButton() {
    if (OnEditButtonClick) GuardEvent(OnEditButtonClick);
}

void TDBGrid::LeaveGrid() {
    CommitEdit();
    HideEditor();
    ClientDataSet* dataSet = ActiveDataSet();
    if ((options_ & dgCancelOnExit) && dataSet && dataSet->State() == DataSetState::Insert &&
        !model_->NewRowModified())
        dataSet->Cancel();
    if (OnExit) OnExit();
}

void TDBGrid::EditorCreated(TMaskEdit* editor, const QModelIndex& index) {
    editor_ = editor;
    editorIndex_ = index;
}

void TDBGrid::EditorReleased() {
    editor_ = nullptr;
    editorIndex_ = QPersistentModelIndex();
}

// ---- options and columns ---------------------------------------------------------------

void TDBGrid::ApplyOptions() {
    horizontalHeader()->setVisible(options_ & dgTitles);
    horizontalHeader()->setSectionResizeMode((options_ & dgColumnResize) ? QHeaderView::Interactive
                                                                         : QHeaderView::Fixed);
    if (!(options_ & dgEditing)) HideEditor();
    viewport()->update();
}

void TDBGrid::ApplyColumns() {
    for (int column = 0; column < ColumnCount(); ++column) ApplyColumn(column);
}

void TDBGrid::ApplyColumn(int column) {
    const QScopedValueRollback applying(applyingWidths_, true);
    const TColumn* persistent = model_->ColumnAt(column);
    setColumnHidden(column, persistent && !persistent->Visible());
    const auto userWidth = userWidths_.constFind(ColumnKey(column));
    const bool button = persistent && persistent->ButtonStyle() == ColumnButtonStyle::Ellipsis;
    const int needed =
        ColumnWidthFor(*this, column, model_->FieldAt(column), button ? kEditButtonWidth : 0);
    const int width = userWidth != userWidths_.cend() ? *userWidth
                      : persistent && persistent->Width() >= 0
                          ? std::max(persistent->Width(), needed)
                          : needed;
    setColumnWidth(column, width);
}

// Only a width the user gave is remembered: the grid's own sizing goes through ApplyColumn.
void TDBGrid::ColumnResized(int column, int width) {
    if (applyingWidths_ || width <= 0) return;
    const QString key = ColumnKey(column);
    if (!key.isEmpty()) userWidths_.insert(key, width);
}

QString TDBGrid::ColumnKey(int column) const {
    if (const TColumn* persistent = model_->ColumnAt(column))
        return persistent->FieldName().toUpper();
    const Field* field = model_->FieldAt(column);
    return field ? field->FieldName().toUpper() : QString();
}

void TDBGrid::SetUserWidths(const QHash<QString, int>& widths) {
    userWidths_.clear();
    for (auto width = widths.cbegin(); width != widths.cend(); ++width)
        if (width.value() > 0) userWidths_.insert(width.key().toUpper(), width.value());
    ApplyColumns();
}

// A scroll bar's room is kept for the rows, which may outgrow the grid at any time.
int TDBGrid::WidthShowingAllColumns() const {
    return horizontalHeader()->length() + 2 * frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) +
           (verticalHeader()->isVisible() ? verticalHeader()->width() : 0);
}

void TDBGrid::ColumnsChanged(const TColumn* column) {
    if (!column) {
        HideEditor();
        model_->Reload();
        return;
    }
    for (int index = 0; index < ColumnCount(); ++index) {
        if (model_->ColumnAt(index) != column) continue;
        ApplyColumn(index);
        emit model_->headerDataChanged(Qt::Horizontal, index, index);
    }
    viewport()->update();
}

int IndiceCol(const TDBGrid* grid, const QString& fieldName) {
    return grid ? grid->ColumnIndexOf(fieldName) : -1;
}

}  // namespace fai
