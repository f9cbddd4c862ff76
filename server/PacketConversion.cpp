#include "PacketConversion.h"

#include "WireText.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace fai {
namespace {

// Generous bounds: a real packet never comes near them, a hostile one cannot make the
// receiver allocate without limit.
constexpr int kMaxFields = 1000;
constexpr int kMaxFieldSize = 1'000'000;

[[noreturn]] void Fail(const QString& what) {
    throw MalformedPacket(QStringLiteral("Pacote de dados inválido: %1.").arg(what).toStdString());
}

// Names come from the sender: quoted, never repeated whole.
QString Describe(const FieldDef& field) {
    return QStringLiteral("campo %1").arg(Excerpt(field.name));
}

bool HasValues(RowChange change) { return change != RowChange::Deleted; }
bool HasOriginal(RowChange change) {
    return change == RowChange::Modified || change == RowChange::Deleted;
}

// The values of one kind (current or original) of the rows that have them, column by column.
void ColumnsToProto(const DataPacket& packet, std::vector<Value> PacketRow::*side,
                    bool (*has)(RowChange),
                    google::protobuf::RepeatedPtrField<Fai00400::Column>* out) {
    const auto cells = std::count_if(packet.rows.begin(), packet.rows.end(),
                                     [&](const PacketRow& row) { return has(row.change); });
    if (cells == 0) return;
    for (const FieldDef& field : packet.fields) {
        Fai00400::Column* cellsOut = out->Add();
        cellsOut->mutable_cells()->Reserve(static_cast<int>(cells));
        ColumnOut column(field, cellsOut);
        const std::size_t index = static_cast<std::size_t>(out->size() - 1);
        int rowNumber = 0;
        for (const PacketRow& row : packet.rows) {
            ++rowNumber;
            if (!has(row.change)) continue;
            const std::vector<Value>& values = row.*side;
            if (values.size() != packet.fields.size())
                Fail(QStringLiteral("a linha %1 tem %2 valores para %3 campos")
                         .arg(rowNumber)
                         .arg(values.size())
                         .arg(packet.fields.size()));
            column.Add(values[index], rowNumber);
        }
    }
}

// One field's cells off the wire, checked whole before the first is read: the count of
// cells, the values of the field's type and no other, every text decoded once.
class ColumnIn {
  public:
    ColumnIn(const Fai00400::Column& column, const FieldDef& field, int cells)
        : column_(column), field_(field) {
        if (column.cells_size() != cells)
            Fail(QStringLiteral("%1 valores no %2 para %3 linhas")
                     .arg(column.cells_size())
                     .arg(Describe(field))
                     .arg(cells));
        if (field.type != FieldType::String && column.texts_size() > 0)
            Fail(QStringLiteral("texto no %1, que não é texto").arg(Describe(field)));
        if (field.type != FieldType::Float && column.numbers_size() > 0)
            Fail(QStringLiteral("número no %1, que não é numérico").arg(Describe(field)));
        if (field.type != FieldType::DateTime && column.days_size() > 0)
            Fail(QStringLiteral("data no %1, que não é data").arg(Describe(field)));
        if (field.type == FieldType::String)
            ReadTexts();
        else
            CheckPresence();
        if (field.type == FieldType::DateTime) CheckDays();
    }

    Value Next() {
        const std::uint32_t cell = column_.cells(next_++);
        if (cell == 0) return Value();
        switch (field_.type) {
            case FieldType::String:
                return Value(texts_[cell - 1]);
            case FieldType::Float:
                return Value(column_.numbers(nextValue_++));
            case FieldType::DateTime:
                return Value(FromDaySerial(column_.days(nextValue_++)));
        }
        return Value();
    }

  private:
    void ReadTexts() {
        texts_.reserve(column_.texts_size());
        for (const std::string& bytes : column_.texts()) {
            std::optional<QString> text = DecodeUtf8(bytes);
            if (!text)
                Fail(QStringLiteral("texto que não é UTF-8 válido no %1").arg(Describe(field_)));
            if (text->size() > field_.size)
                Fail(QStringLiteral("texto maior que %1 caracteres no %2")
                         .arg(field_.size)
                         .arg(Describe(field_)));
            texts_.push_back(*std::move(text));
        }
        for (const std::uint32_t cell : column_.cells())
            if (cell > texts_.size())
                Fail(QStringLiteral("texto inexistente no %1").arg(Describe(field_)));
    }

    void CheckPresence() const {
        int present = 0;
        for (const std::uint32_t cell : column_.cells()) {
            if (cell > 1) Fail(QStringLiteral("célula inválida no %1").arg(Describe(field_)));
            present += static_cast<int>(cell);
        }
        const int values =
            field_.type == FieldType::Float ? column_.numbers_size() : column_.days_size();
        if (present != values)
            Fail(QStringLiteral("%1 valores para %2 células preenchidas no %3")
                     .arg(values)
                     .arg(present)
                     .arg(Describe(field_)));
    }

    // Bounded before converting: a hostile serial must not overflow the calendar arithmetic.
    void CheckDays() const {
        static const qint64 first = ToDaySerial(QDate(1, 1, 1));
        static const qint64 last = ToDaySerial(QDate(9999, 12, 31));
        for (const std::int64_t day : column_.days())
            if (day < first || day > last)
                Fail(QStringLiteral("data fora do intervalo no %1").arg(Describe(field_)));
    }

    const Fai00400::Column& column_;
    const FieldDef& field_;
    std::vector<QString> texts_;
    int next_ = 0;
    int nextValue_ = 0;
};

// The columns of one kind of values (current or original) for `cells` rows, each checked
// whole. No row gets room for its values before all are: a packet of many rows whose columns
// turn out short must not make the receiver allocate for cells it never sent.
std::vector<ColumnIn> CheckedColumns(
    const google::protobuf::RepeatedPtrField<Fai00400::Column>& columns,
    const std::vector<FieldDef>& fields, int cells, const QString& kind) {
    const int expected = cells == 0 ? 0 : static_cast<int>(fields.size());
    if (columns.size() != expected)
        Fail(
            QStringLiteral("%1 colunas de %2 para %3").arg(columns.size()).arg(kind).arg(expected));
    std::vector<ColumnIn> checked;
    checked.reserve(static_cast<std::size_t>(expected));
    for (int i = 0; i < expected; ++i)
        checked.emplace_back(columns[i], fields[static_cast<std::size_t>(i)], cells);
    return checked;
}

std::vector<Value> NextRow(std::vector<ColumnIn>& columns) {
    std::vector<Value> values;
    values.reserve(columns.size());
    for (ColumnIn& column : columns) values.push_back(column.Next());
    return values;
}

void FieldsToProto(const std::vector<FieldDef>& fields, Fai00400::DataPacket* out) {
    out->mutable_fields()->Reserve(static_cast<int>(fields.size()));
    for (const FieldDef& field : fields) {
        Fai00400::FieldDef* f = out->add_fields();
        f->set_name(field.name.toStdString());
        f->set_type(static_cast<Fai00400::FieldType>(field.type));
        f->set_size(field.size);
        f->set_fixed_length(field.fixedLength);
    }
}

FieldDef FromProto(const Fai00400::FieldDef& field) {
    FieldDef out;
    std::optional<QString> name = DecodeUtf8(field.name());
    if (!name) Fail(QStringLiteral("nome de campo que não é UTF-8 válido"));
    out.name = *std::move(name);
    if (out.name.isEmpty()) Fail(QStringLiteral("campo sem nome"));
    switch (field.type()) {
        case Fai00400::FIELD_STRING:
            out.type = FieldType::String;
            break;
        case Fai00400::FIELD_FLOAT:
            out.type = FieldType::Float;
            break;
        case Fai00400::FIELD_DATETIME:
            out.type = FieldType::DateTime;
            break;
        default:
            Fail(QStringLiteral("tipo desconhecido no %1").arg(Describe(out)));
    }
    if (out.type == FieldType::String && (field.size() < 1 || field.size() > kMaxFieldSize))
        Fail(QStringLiteral("tamanho inválido no %1").arg(Describe(out)));
    out.size = out.type == FieldType::String ? field.size() : 0;
    out.fixedLength = field.fixed_length();
    return out;
}

}  // namespace

void ColumnOut::AddText(const QString& text) {
    utf8_.resize(encoder_.requiredSpace(text.size()));
    utf8_.resize(encoder_.appendToBuffer(utf8_.data(), text) - utf8_.data());
    if (AddKnownText(utf8_)) return;
    std::string* kept = out_->add_texts();
    *kept = utf8_;
    const auto place = static_cast<std::uint32_t>(out_->texts_size());
    places_.emplace(*kept, place);
    AddPlace(place);
}

bool ColumnOut::AddKnownText(std::string_view utf8) {
    if (lastPlace_ != 0 && utf8 == lastText_) {
        out_->add_cells(lastPlace_);
        return true;
    }
    const auto found = places_.find(utf8);
    if (found == places_.end()) return false;
    AddPlace(found->second);
    return true;
}

void ColumnOut::AddPlace(std::uint32_t place) {
    out_->add_cells(place);
    lastText_ = out_->texts(static_cast<int>(place - 1));
    lastPlace_ = place;
}

void ColumnOut::Add(const Value& value, int rowNumber) {
    if (value.IsNull()) return AddNull();
    switch (field_.type) {
        case FieldType::String:
            if (!value.IsText()) break;
            return AddText(value.Text());
        case FieldType::Float:
            if (!value.IsNumber()) break;
            return AddNumber(value.Number());
        case FieldType::DateTime:
            if (!value.IsDate()) break;
            return AddDay(value.Date());
    }
    Fail(QStringLiteral("a linha %1 tem um valor de outro tipo no %2")
             .arg(rowNumber)
             .arg(Describe(field_)));
}

RowsOut::RowsOut(const std::vector<FieldDef>& fields, Fai00400::DataPacket* out)
    : fields_(fields), out_(out) {
    out->Clear();
    FieldsToProto(fields, out);
}

void RowsOut::AddRow() {
    out_->add_changes(Fai00400::ROW_UNCHANGED);
    if (!columns_.empty()) return;
    columns_.reserve(fields_.size());
    for (const FieldDef& field : fields_) columns_.emplace_back(field, out_->add_values());
}

void ToProto(const DataPacket& packet, Fai00400::DataPacket* out) {
    out->Clear();
    FieldsToProto(packet.fields, out);
    out->mutable_changes()->Reserve(static_cast<int>(packet.rows.size()));
    for (const PacketRow& row : packet.rows)
        out->add_changes(static_cast<Fai00400::RowChange>(row.change));
    ColumnsToProto(packet, &PacketRow::values, HasValues, out->mutable_values());
    ColumnsToProto(packet, &PacketRow::original, HasOriginal, out->mutable_original());
}

Fai00400::DataPacket ToProto(const DataPacket& packet) {
    Fai00400::DataPacket out;
    ToProto(packet, &out);
    return out;
}

DataPacket FromProto(const Fai00400::DataPacket& packet) {
    if (packet.fields_size() > kMaxFields) Fail(QStringLiteral("campos demais"));
    DataPacket out;
    out.fields.reserve(packet.fields_size());
    for (const auto& field : packet.fields()) {
        FieldDef def = FromProto(field);
        if (out.FieldIndex(def.name) >= 0) Fail(QStringLiteral("%1 repetido").arg(Describe(def)));
        out.fields.push_back(std::move(def));
    }
    int current = 0, originals = 0;
    for (int i = 0; i < packet.changes_size(); ++i) {
        const int change = packet.changes(i);
        if (change < Fai00400::ROW_UNCHANGED || change > Fai00400::ROW_DELETED)
            Fail(QStringLiteral("tipo de alteração desconhecido na linha %1").arg(i + 1));
        current += HasValues(static_cast<RowChange>(change)) ? 1 : 0;
        originals += HasOriginal(static_cast<RowChange>(change)) ? 1 : 0;
    }
    std::vector<ColumnIn> values =
        CheckedColumns(packet.values(), out.fields, current, QStringLiteral("valores atuais"));
    std::vector<ColumnIn> original = CheckedColumns(packet.original(), out.fields, originals,
                                                    QStringLiteral("valores originais"));
    out.rows.resize(static_cast<std::size_t>(packet.changes_size()));
    for (int i = 0; i < packet.changes_size(); ++i) {
        PacketRow& row = out.rows[static_cast<std::size_t>(i)];
        row.change = static_cast<RowChange>(packet.changes(i));
        if (HasValues(row.change)) row.values = NextRow(values);
        if (HasOriginal(row.change)) row.original = NextRow(original);
    }
    return out;
}

}  // namespace fai
