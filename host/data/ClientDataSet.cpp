#include "ClientDataSet.h"

#include "DataSource.h"
#include "Errors.h"
#include "PacketLayout.h"
#include "ValueConversion.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <exception>
#include <type_traits>

namespace fai {
namespace {

template <typename T>
int ThreeWay(const T& a, const T& b) {
    return int(b < a) - int(a < b);
}

// Nulls first; within one column every other value has the column's kind.
int CompareCells(const Value& a, const Value& b) {
    if (a.IsNull() || b.IsNull()) return int(!a.IsNull()) - int(!b.IsNull());
    if (a.IsText()) return ThreeWay(a.Text().compare(b.Text()), 0);
    if (a.IsNumber()) {
        const bool nanA = std::isnan(a.Number()), nanB = std::isnan(b.Number());
        if (nanA || nanB) return int(nanA) - int(nanB);
        return ThreeWay(a.Number(), b.Number());
    }
    return ThreeWay(a.Date(), b.Date());
}

bool LocateMatches(const Value& cell, const Value& key, bool caseInsensitive) {
    if (cell.IsNull() || key.IsNull()) return cell.IsNull() && key.IsNull();
    if (cell.IsText())
        return cell.Text().compare(key.Text(),
                                   caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
    if (cell.IsNumber()) return cell.Number() == key.Number();
    return cell.Date() == key.Date();
}

}  // namespace

// Marks the time the dataset's rows are being read by a filter, ForEachRow, Locate or
// OnCalcFields, when changing them would pull the rows from under the reader.
class ClientDataSet::ReadingScope {
  public:
    explicit ReadingScope(ClientDataSet& dataSet) : dataSet_(dataSet) { ++dataSet_.readers_; }
    ~ReadingScope() { --dataSet_.readers_; }
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;

  private:
    ClientDataSet& dataSet_;
};

// Works out calculated fields for a row other than the current record, leaving the current
// record's calculated values as they were.
class ClientDataSet::CalcContext {
  public:
    CalcContext(ClientDataSet& dataSet, const Value* row)
        : dataSet_(dataSet),
          row_(dataSet.rowOverride_),
          values_(std::move(dataSet.calculated_)),
          valid_(dataSet.calculatedValid_),
          calculating_(dataSet.calculating_) {
        dataSet.rowOverride_ = row;
        dataSet.calculated_.assign(values_.size(), Value());
        dataSet.calculatedValid_ = false;
        dataSet.calculating_ = false;
    }
    ~CalcContext() {
        dataSet_.rowOverride_ = row_;
        dataSet_.calculated_ = std::move(values_);
        dataSet_.calculatedValid_ = valid_;
        dataSet_.calculating_ = calculating_;
    }
    CalcContext(const CalcContext&) = delete;
    CalcContext& operator=(const CalcContext&) = delete;

  private:
    ClientDataSet& dataSet_;
    const Value* row_;
    std::vector<Value> values_;
    bool valid_;
    bool calculating_;
};

ClientDataSet::ClientDataSet(QString name) : name_(std::move(name)) {}

ClientDataSet::~ClientDataSet() {
    const std::vector<DataSource*> sources = std::move(sources_);
    sources_.clear();
    for (DataSource* source : sources) source->DataSetDestroyed();
}

// ---- fields ----------------------------------------------------------------------------

void ClientDataSet::AddFields(const std::vector<FieldDef>& definitions) {
    for (const FieldDef& definition : definitions) AddField(definition);
}

Field& ClientDataSet::AddField(const FieldDef& definition, FieldKind kind) {
    if (Active())
        throw EError(QStringLiteral("Os campos de '%1' só podem ser definidos com ele fechado.")
                         .arg(Label()));
    if (definition.name.isEmpty())
        throw EError(QStringLiteral("Campo sem nome em '%1'.").arg(Label()));
    if (definition.type == FieldType::String && definition.size < 1)
        throw EError(QStringLiteral("Tamanho inválido para o campo '%1'.").arg(definition.name));
    if (FindField(definition.name))
        throw EError(QStringLiteral("Campo '%1' já existe em '%2'.").arg(definition.name, Label()));
    return CreateField(definition, kind);
}

Field& ClientDataSet::CreateField(const FieldDef& definition, FieldKind kind) {
    FieldDef def = definition;
    if (def.type != FieldType::String) def.size = 0;
    int slot = 0;
    if (kind == FieldKind::Data) {
        slot = dataFieldCount_++;
    } else {
        slot = static_cast<int>(calculated_.size());
        calculated_.emplace_back();
    }
    const int index = FieldCount();
    fields_.push_back(std::unique_ptr<Field>(new Field(*this, std::move(def), kind, index, slot)));
    Field* field = fields_.back().get();
    fieldPointers_.push_back(field);
    fieldIndex_.Add(field->FieldName(), index);
    return *field;
}

void ClientDataSet::DropFields() {
    fields_.clear();
    fieldPointers_.clear();
    fieldIndex_.Clear();
    dataFieldCount_ = 0;
    calculated_.clear();
    fieldsFromPacket_ = false;
}

Field* ClientDataSet::FindField(QAnyStringView name) const {
    const int index = fieldIndex_.Find(name);
    return index < 0 ? nullptr : fieldPointers_[std::size_t(index)];
}

Field& ClientDataSet::FieldByName(QAnyStringView name) const {
    Field* field = FindField(name);
    if (!field)
        throw EError(
            QStringLiteral("Campo '%1' não encontrado em '%2'.").arg(name.toString(), Label()));
    return *field;
}

std::vector<FieldDef> ClientDataSet::PersistentDefinitions() const {
    std::vector<FieldDef> definitions;
    if (fieldsFromPacket_) return definitions;
    for (const Field* field : fieldPointers_) {
        if (!field->IsCalculated()) definitions.push_back(field->Definition());
    }
    return definitions;
}

// ---- lifecycle -------------------------------------------------------------------------

void ClientDataSet::Open() {
    CheckNotReading();
    if (Active()) return;
    if (fields_.empty())
        throw EError(QStringLiteral("O conjunto de dados '%1' não tem campos.").arg(Label()));
    std::vector<FieldDef> columns = PersistentDefinitions();
    orderColumns_ = ResolveOrder(indexFieldNames_, columns);
    columns_ = std::move(columns);
    store_.Reset(static_cast<int>(columns_.size()));
    view_.Clear();
    state_ = DataSetState::Browse;
    current_ = -1;
    bof_ = eof_ = true;
    InvalidateCalculated();
    NotifyStateChanged();
    NotifyReset();
    Fire(AfterScroll, *this);
}

void ClientDataSet::Close() {
    CheckNotReading();
    if (!Active()) return;
    state_ = DataSetState::Inactive;
    store_ = RecordStore();
    view_.Clear();
    buffer_.clear();
    editSlot_ = kNoSlot;
    columns_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    InvalidateCalculated();
    if (fieldsFromPacket_) DropFields();
    NotifyStateChanged();
    NotifyReset();
}

void ClientDataSet::SetData(const DataPacket& packet) { Load(packet); }

void ClientDataSet::SetData(DataPacket&& packet) { Load(std::move(packet)); }

template <typename Packet>
void ClientDataSet::Load(Packet&& packet) {
    CheckNotReading();
    const bool makeFields = fields_.empty() || fieldsFromPacket_;
    PacketLayout layout = PlanPacketLayout(
        packet, makeFields ? std::vector<FieldDef>() : PersistentDefinitions(), Label());
    std::vector<int> order = ResolveOrder(indexFieldNames_, layout.columns);

    const DataSetState previous = state_;
    if (makeFields) {
        DropFields();
        for (const FieldDef& column : layout.columns) CreateField(column, FieldKind::Data);
        fieldsFromPacket_ = true;
    }
    columns_ = std::move(layout.columns);
    orderColumns_ = std::move(order);
    store_.Reset(static_cast<int>(columns_.size()));
    store_.Reserve(packet.rows.size());
    const std::vector<int>& source = layout.source;
    for (auto& row : packet.rows) {
        auto& values = row.values;
        store_.AddBaselineRow([&values, &source](int column) -> decltype(auto) {
            auto& value = values[std::size_t(source[std::size_t(column)])];
            if constexpr (std::is_lvalue_reference_v<Packet>) {
                return (value);  // a packet the caller keeps is copied
            } else {
                return std::move(value);
            }
        });
    }
    state_ = DataSetState::Browse;
    buffer_.clear();
    editSlot_ = kNoSlot;
    InvalidateCalculated();
    const std::exception_ptr filterFailure = RebuildAfterChange();
    current_ = IsEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = IsEmpty();
    if (previous != DataSetState::Browse) NotifyStateChanged();
    NotifyReset();
    if (filterFailure) std::rethrow_exception(filterFailure);
    Fire(AfterScroll, *this);
}

DataPacket ClientDataSet::Data() const {
    DataPacket packet;
    packet.fields = columns_;
    store_.AppendRows(packet.rows);
    return packet;
}

// ---- navigation ------------------------------------------------------------------------

void ClientDataSet::First() {
    CheckBrowseMode();
    if (IsEmpty()) {
        bof_ = eof_ = true;
        return;
    }
    ScrollTo(0, true, false);
}

void ClientDataSet::Last() {
    CheckBrowseMode();
    if (IsEmpty()) {
        bof_ = eof_ = true;
        return;
    }
    ScrollTo(view_.Count() - 1, false, true);
}

void ClientDataSet::Next() { MoveBy(1); }

void ClientDataSet::Prior() { MoveBy(-1); }

int ClientDataSet::MoveBy(int distance) {
    CheckBrowseMode();
    if (IsEmpty()) {
        bof_ = eof_ = true;
        return 0;
    }
    if (distance == 0) return 0;
    const int from = current_;
    const int last = view_.Count() - 1;
    const long long wanted = static_cast<long long>(from) + distance;
    const int target = static_cast<int>(std::clamp<long long>(wanted, 0, last));
    ScrollTo(target, wanted<0, wanted> last);
    return target - from;
}

int ClientDataSet::RecNo() const {
    if (state_ == DataSetState::Insert) return insertPosition_ + 1;
    return current_ + 1;
}

void ClientDataSet::SetRecNo(int recNo) {
    CheckBrowseMode();
    if (IsEmpty()) return;
    ScrollTo(std::clamp(recNo - 1, 0, view_.Count() - 1), false, false);
}

bool ClientDataSet::Locate(QAnyStringView fieldName, const Value& key, LocateOptions options) {
    const Field& field = FieldByName(fieldName);
    CheckBrowseMode();
    const Value wanted = Coerce(key, field.DataType(), 0, field.DisplayLabel());
    int found = -1;
    {
        ReadingScope reading(*this);
        for (int position = 0; position < view_.Count() && found < 0; ++position) {
            const Value* row = store_.Row(view_.At(position));
            const bool match =
                field.IsCalculated()
                    ? LocateMatches(ValueOfRow(row, field), wanted, options.caseInsensitive)
                    : LocateMatches(row[field.slot_], wanted, options.caseInsensitive);
            if (match) found = position;
        }
    }
    if (found < 0) return false;
    ScrollTo(found, false, false);
    return true;
}

void ClientDataSet::ScrollTo(int target, bool bof, bool eof) {
    if (target == current_) {
        bof_ = bof;
        eof_ = eof;
        return;
    }
    Fire(BeforeScroll, *this);
    current_ = target;
    bof_ = bof;
    eof_ = eof;
    InvalidateCalculated();
    NotifyScrolled();
    Fire(AfterScroll, *this);
}

// ---- editing ---------------------------------------------------------------------------

void ClientDataSet::Insert() { BeginInsert(false); }

void ClientDataSet::Append() { BeginInsert(true); }

void ClientDataSet::BeginInsert(bool append) {
    CheckBrowseMode();
    Fire(BeforeInsert, *this);
    Fire(BeforeScroll, *this);
    const bool atEnd = append || IsEmpty();
    insertPosition_ = atEnd ? view_.Count() : current_;
    insertBefore_ = atEnd ? kNoSlot : view_.At(current_);
    buffer_.assign(columns_.size(), Value());
    state_ = DataSetState::Insert;
    InvalidateCalculated();
    NotifyRowInserted(insertPosition_);
    NotifyStateChanged();
    NotifyScrolled();
    Fire(AfterInsert, *this);
    Fire(AfterScroll, *this);
}

void ClientDataSet::Edit() {
    CheckActive();
    CheckNotReading();
    if (Editing()) return;
    if (IsEmpty()) {
        Insert();
        return;
    }
    Fire(BeforeEdit, *this);
    editSlot_ = view_.At(current_);
    const Value* row = store_.Row(editSlot_);
    buffer_.assign(row, row + columns_.size());
    state_ = DataSetState::Edit;
    NotifyStateChanged();
    Fire(AfterEdit, *this);
}

void ClientDataSet::Post() {
    CheckActive();
    CheckNotReading();
    if (!Editing())
        throw EError(QStringLiteral("O conjunto de dados '%1' não está em edição ou inclusão.")
                         .arg(Label()));
    Notify([](DataSource& source) { source.UpdateRecord(); });
    if (!Editing()) return;  // a control's pending text ended the edit
    Fire(BeforePost, *this);
    if (!Editing()) return;  // the handler already ended the edit
    CheckRequiredFields();
    const bool visible = !filtered_ || !filter_ || Passes(buffer_.data());
    const bool inserted = state_ == DataSetState::Insert;
    const SlotId slot = inserted ? store_.Insert(insertBefore_, buffer_, logChanges_) : editSlot_;
    if (!inserted) store_.Update(slot, buffer_, logChanges_);
    state_ = DataSetState::Browse;
    editSlot_ = kNoSlot;
    InvalidateCalculated();
    PlacePosted(slot, inserted, visible);
    NotifyStateChanged();
    NotifyScrolled();
    Fire(AfterPost, *this);
}

void ClientDataSet::CheckRequiredFields() {
    for (Field* field : fieldPointers_) {
        if (field->Required() && !field->IsCalculated() && buffer_[field->slot_].IsNull()) {
            field->FocusControl();
            throw EError(
                QStringLiteral("Campo '%1' deve ser informado.").arg(field->DisplayLabel()));
        }
    }
}

// Puts a row just posted where the filter and order want it and makes it current; a row the
// filter hides leaves the cursor on its neighbour.
void ClientDataSet::PlacePosted(SlotId slot, bool inserted, bool visible) {
    const int position = inserted ? insertPosition_ : current_;
    if (!visible) {
        if (!inserted) {
            view_.RemoveAt(position);
            current_ = IsEmpty() ? -1 : std::min(position, view_.Count() - 1);
            if (IsEmpty()) bof_ = eof_ = true;
        }
        NotifyRowRemoved(position);
        return;
    }
    int target = position;
    if (inserted) {
        if (!orderColumns_.empty()) target = view_.SortedPosition(slot, OrderRule());
        view_.InsertAt(target, slot);
    } else if (!orderColumns_.empty()) {
        target = view_.Reorder(position, OrderRule());
    }
    current_ = target;
    bof_ = eof_ = false;
    if (target != position) {
        NotifyRowRemoved(position);
        NotifyRowInserted(target);
    } else {
        NotifyRecordChanged(nullptr);
    }
}

void ClientDataSet::Cancel() {
    if (!Editing()) return;
    CheckNotReading();
    Fire(BeforeCancel, *this);
    const bool inserted = state_ == DataSetState::Insert;
    state_ = DataSetState::Browse;
    editSlot_ = kNoSlot;
    InvalidateCalculated();
    if (inserted) NotifyRowRemoved(insertPosition_);
    NotifyStateChanged();
    NotifyScrolled();
    Fire(AfterCancel, *this);
}

void ClientDataSet::Delete() {
    CheckActive();
    CheckNotReading();
    if (state_ == DataSetState::Insert) {
        Cancel();
        return;
    }
    if (IsEmpty())
        throw EError(QStringLiteral("Não há registro para excluir em '%1'.").arg(Label()));
    Fire(BeforeDelete, *this);
    Fire(BeforeScroll, *this);
    const int position = current_;
    const bool wasEditing = Editing();
    store_.Remove(view_.At(position), logChanges_);
    view_.RemoveAt(position);
    state_ = DataSetState::Browse;
    editSlot_ = kNoSlot;
    current_ = IsEmpty() ? -1 : std::min(position, view_.Count() - 1);
    bof_ = eof_ = IsEmpty();
    InvalidateCalculated();
    NotifyRowRemoved(position);
    if (wasEditing) NotifyStateChanged();
    NotifyScrolled();
    Fire(AfterDelete, *this);
    Fire(AfterScroll, *this);
}

// ---- change log ------------------------------------------------------------------------

DataPacket ClientDataSet::Delta() const {
    DataPacket packet;
    packet.fields = columns_;
    store_.AppendChanges(packet.rows);
    return packet;
}

void ClientDataSet::MergeChangeLog() {
    CheckActive();
    CheckNotReading();
    if (Editing())
        throw EError(
            QStringLiteral("Conclua ou cancele a edição de '%1' antes de consolidar as alterações.")
                .arg(Label()));
    store_.MergeChangeLog();
}

void ClientDataSet::CancelUpdates() {
    CheckActive();
    CheckNotReading();
    Cancel();
    const SlotId previous = IsEmpty() ? kNoSlot : view_.At(current_);
    const int previousPosition = current_;
    store_.CancelUpdates();
    const std::exception_ptr filterFailure = RebuildAfterChange();
    Reposition(previous, previousPosition);
    NotifyReset();
    if (filterFailure) std::rethrow_exception(filterFailure);
}

void ClientDataSet::Reposition(SlotId previous, int previousPosition) {
    int position = previous == kNoSlot ? -1 : view_.IndexOf(previous);
    if (position < 0 && !IsEmpty()) position = std::clamp(previousPosition, 0, view_.Count() - 1);
    if (IsEmpty()) position = -1;
    InvalidateCalculated();  // the row may have got its baseline values back
    current_ = position;
    bof_ = current_ <= 0;
    eof_ = IsEmpty();
}

// ---- filter and order ------------------------------------------------------------------

void ClientDataSet::SetFilter(RowPredicate predicate) {
    CheckNotReading();
    if (!Active() || !filtered_) {
        filter_ = std::move(predicate);
        return;
    }
    ReshapeView([this, &predicate] { std::swap(filter_, predicate); });
}

void ClientDataSet::SetFiltered(bool filtered) {
    CheckNotReading();
    if (filtered == filtered_) return;
    if (!Active()) {
        filtered_ = filtered;
        return;
    }
    ReshapeView([this] { filtered_ = !filtered_; });
}

void ClientDataSet::SetIndexFieldNames(const QString& names) {
    CheckNotReading();
    if (!Active()) {
        indexFieldNames_ = names;
        return;
    }
    std::vector<int> order = ResolveOrder(names, columns_);
    QString swapped = names;
    ReshapeView([this, &swapped, &order] {
        std::swap(indexFieldNames_, swapped);
        std::swap(orderColumns_, order);
    });
}

std::vector<int> ClientDataSet::ResolveOrder(const QString& names,
                                             const std::vector<FieldDef>& columns) const {
    std::vector<int> order;
    for (const QString& part : names.split(u';', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (name.isEmpty()) continue;
        const Field* field = FindField(name);
        if (field && field->IsCalculated())
            throw EError(QStringLiteral("Não é possível ordenar '%1' pelo campo calculado '%2'.")
                             .arg(Label(), name));
        const auto column = std::find_if(columns.begin(), columns.end(), [&](const FieldDef& def) {
            return def.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (column == columns.end())
            throw EError(QStringLiteral("Campo '%1' não encontrado em '%2'.").arg(name, Label()));
        order.push_back(static_cast<int>(column - columns.begin()));
    }
    return order;
}

bool ClientDataSet::Passes(const Value* row) {
    ReadingScope reading(*this);
    return filter_(RowView(*this, row));
}

VisibleRows::Keep ClientDataSet::KeepRule() {
    if (!filtered_ || !filter_) return {};
    return [this](SlotId slot) { return Passes(store_.Row(slot)); };
}

VisibleRows::Less ClientDataSet::OrderRule() const {
    if (orderColumns_.empty()) return {};
    return [this](SlotId a, SlotId b) {
        const Value* rowA = store_.Row(a);
        const Value* rowB = store_.Row(b);
        for (int column : orderColumns_) {
            const int comparison = CompareCells(rowA[column], rowB[column]);
            if (comparison != 0) return comparison < 0;
        }
        return false;
    };
}

VisibleRows ClientDataSet::BuildView() {
    VisibleRows rows;
    rows.Assign(store_.LiveRows(), KeepRule(), OrderRule());
    return rows;
}

std::exception_ptr ClientDataSet::RebuildAfterChange() {
    try {
        view_ = BuildView();
        return nullptr;
    } catch (...) {
        filtered_ = false;
        view_ = BuildView();
        return std::current_exception();
    }
}

void ClientDataSet::ReshapeView(const std::function<void()>& swapSettings) {
    CheckBrowseMode();
    swapSettings();
    bool scrolled = false;
    try {
        scrolled = CommitView(BuildView());
    } catch (...) {
        swapSettings();
        throw;
    }
    NotifyReset();
    if (scrolled) Fire(AfterScroll, *this);
}

// Shows the rebuilt rows, keeping the current record when it is still among them and else
// moving to the first; BeforeScroll runs, and may refuse, before anything changes.
bool ClientDataSet::CommitView(VisibleRows rows) {
    const SlotId previous = IsEmpty() ? kNoSlot : view_.At(current_);
    int target = previous == kNoSlot ? -1 : rows.IndexOf(previous);
    if (target < 0 && rows.Count() > 0) target = 0;
    const bool scrolled = target < 0 ? previous != kNoSlot : rows.At(target) != previous;
    if (scrolled) Fire(BeforeScroll, *this);
    view_ = std::move(rows);
    current_ = target;
    bof_ = current_ <= 0;
    eof_ = IsEmpty();
    if (scrolled) InvalidateCalculated();
    return scrolled;
}

int ClientDataSet::DisplayRowCount() const {
    return view_.Count() + (state_ == DataSetState::Insert ? 1 : 0);
}

RowView ClientDataSet::DisplayRow(int row) {
    const bool inserting = state_ == DataSetState::Insert;
    if ((inserting && row == insertPosition_) || (state_ == DataSetState::Edit && row == current_))
        return RowView(*this, buffer_.data());
    const int position = inserting && row > insertPosition_ ? row - 1 : row;
    return RowView(*this, store_.Row(view_.At(position)));
}

void ClientDataSet::ForEachRow(const std::function<void(const RowView&)>& visit) {
    ReadingScope reading(*this);
    for (SlotId slot : view_.Rows()) visit(RowView(*this, store_.Row(slot)));
}

// ---- field access ----------------------------------------------------------------------

const Value* ClientDataSet::ActiveRow() const {
    if (rowOverride_) return rowOverride_;
    switch (state_) {
        case DataSetState::Edit:
        case DataSetState::Insert:
            return buffer_.data();
        case DataSetState::Browse:
            return current_ < 0 ? nullptr : store_.Row(view_.At(current_));
        case DataSetState::Inactive:
            break;
    }
    return nullptr;
}

const Value& ClientDataSet::ReadField(const Field& field) {
    static const Value kNull;
    if (field.IsCalculated()) {
        EnsureCalculated();
        return calculated_[std::size_t(field.slot_)];
    }
    const Value* row = ActiveRow();
    return row ? row[field.slot_] : kNull;
}

void ClientDataSet::WriteField(Field& field, const Value& value) {
    if (field.IsCalculated()) {
        if (!calculating_)
            throw EError(
                QStringLiteral("O campo calculado '%1' só recebe valor no cálculo dos campos.")
                    .arg(field.DisplayLabel()));
        calculated_[std::size_t(field.slot_)] =
            Coerce(value, field.DataType(), field.Size(), field.DisplayLabel());
        return;
    }
    if (calculating_)
        throw EError(QStringLiteral("O campo '%1' não pode ser alterado no cálculo dos campos.")
                         .arg(field.DisplayLabel()));
    CheckActive();
    CheckNotReading();
    if (!Editing())
        throw EError(QStringLiteral("O conjunto de dados '%1' não está em edição ou inclusão.")
                         .arg(Label()));
    if (field.ReadOnly())
        throw EError(QStringLiteral("O campo '%1' é somente leitura.").arg(field.DisplayLabel()));
    buffer_[std::size_t(field.slot_)] =
        Coerce(value, field.DataType(), field.Size(), field.DisplayLabel());
    InvalidateCalculated();
    NotifyRecordChanged(&field);
    if (field.OnChange) field.OnChange(field);
}

Value ClientDataSet::OldValueOf(const Field& field) const {
    if (field.IsCalculated() || rowOverride_) return Value();
    SlotId slot = kNoSlot;
    if (state_ == DataSetState::Edit) {
        slot = editSlot_;
    } else if (state_ == DataSetState::Browse && current_ >= 0) {
        slot = view_.At(current_);
    }
    if (slot == kNoSlot) return Value();
    const Value* baseline = store_.Baseline(slot);
    return baseline ? baseline[field.slot_] : Value();
}

Value ClientDataSet::ValueOfRow(const Value* row, const Field& field) {
    if (!field.IsCalculated()) return row[field.slot_];
    CalcContext context(*this, row);
    EnsureCalculated();
    return calculated_[std::size_t(field.slot_)];
}

QString ClientDataSet::DisplayTextOfRow(const Value* row, const Field& field) {
    CalcContext context(*this, row);
    return field.DisplayText();
}

void ClientDataSet::EnsureCalculated() {
    if (calculatedValid_ || calculating_) return;
    std::fill(calculated_.begin(), calculated_.end(), Value());
    if (OnCalcFields && ActiveRow()) {
        ReadingScope reading(*this);
        calculating_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{calculating_};
        OnCalcFields(*this);
    }
    calculatedValid_ = true;
}

void ClientDataSet::RequestFocus(Field& field) {
    Notify([&field](DataSource& source) { source.FocusRequested(field); });
}

// ---- guards ----------------------------------------------------------------------------

QString ClientDataSet::Label() const {
    return name_.isEmpty() ? QStringLiteral("sem nome") : name_;
}

void ClientDataSet::CheckActive() const {
    if (!Active())
        throw EError(QStringLiteral("O conjunto de dados '%1' está fechado.").arg(Label()));
}

void ClientDataSet::CheckNotReading() const {
    if (readers_ > 0)
        throw EError(QStringLiteral(
                         "O conjunto de dados '%1' não pode mudar enquanto suas linhas são lidas.")
                         .arg(Label()));
}

void ClientDataSet::CheckBrowseMode() {
    CheckActive();
    CheckNotReading();
    if (Editing()) Post();
}

void ClientDataSet::Fire(const Event& event, ClientDataSet& dataSet) {
    if (event) event(dataSet);
}

// ---- notifications ---------------------------------------------------------------------

// Over a copy, so that a watcher may come or go while being told; a source that went is
// skipped. The copy lives on the stack: this runs on every move of the cursor.
template <typename Call>
void ClientDataSet::Notify(Call call) {
    if (sources_.empty()) return;
    const QVarLengthArray<DataSource*, 4> sources(sources_.begin(), sources_.end());
    for (DataSource* source : sources) {
        if (std::find(sources_.begin(), sources_.end(), source) != sources_.end()) call(*source);
    }
}

void ClientDataSet::NotifyStateChanged() {
    Notify([](DataSource& source) { source.StateChanged(); });
}

void ClientDataSet::NotifyReset() {
    Notify([](DataSource& source) { source.Reset(); });
}

void ClientDataSet::NotifyScrolled() {
    const int row = RecNo() - 1;
    Notify([row](DataSource& source) { source.Scrolled(row); });
}

void ClientDataSet::NotifyRecordChanged(const Field* field) {
    const int row = RecNo() - 1;
    Notify([row, field](DataSource& source) { source.RecordChanged(row, field); });
}

void ClientDataSet::NotifyRowInserted(int row) {
    Notify([row](DataSource& source) { source.RowInserted(row); });
}

void ClientDataSet::NotifyRowRemoved(int row) {
    Notify([row](DataSource& source) { source.RowRemoved(row); });
}

}  // namespace fai
