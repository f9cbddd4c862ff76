#include "PacketConversion.h"

#include "WireText.h"

#include <QStringEncoder>

#include <string>

namespace fai {
namespace {

// Generous bounds: a real packet never comes near them, a hostile one cannot make the
// receiver allocate without limit.
constexpr int kMaxFields = 1000;
constexpr int kMaxFieldSize = 1'000'000;

// Texts on their way to the wire, column by column: a text equal to the last one of its
// column (the branch, the client, the service of every row of a list) is converted once, its
// bytes copied after that.
class TextsOut {
  public:
    explicit TextsOut(std::size_t columns) : last_(columns) {}

    void Put(std::size_t column, const QString& text, Fai00400::Value* out) {
        if (column >= last_.size()) last_.resize(column + 1);  // a row longer than its fields
        Last& last = last_[column];
        if (!last.converted || text != last.text) {
            last.text = text;
            last.utf8.resize(encoder_.requiredSpace(text.size()));
            last.utf8.resize(encoder_.appendToBuffer(last.utf8.data(), text) - last.utf8.data());
            last.converted = true;
        }
        out->set_text(last.utf8);
    }

  private:
    struct Last {
        QString text;
        std::string utf8;
        bool converted = false;
    };
    std::vector<Last> last_;
    QStringEncoder encoder_{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};

// Texts off the wire, column by column: bytes equal to the last of their column share the
// text read and checked for them.
class TextsIn {
  public:
    explicit TextsIn(std::size_t columns) : last_(columns) {}

    // None when the bytes are not UTF-8. The bytes stay where they are while the packet is
    // read.
    std::optional<QString> Take(std::size_t column, const std::string& bytes) {
        Last& last = last_[column];
        if (last.bytes && *last.bytes == bytes) return last.text;
        std::optional<QString> text = DecodeUtf8(bytes);
        if (text) last = {&bytes, *text};
        return text;
    }

  private:
    struct Last {
        const std::string* bytes = nullptr;
        QString text;
    };
    std::vector<Last> last_;
};

void ToProto(const std::vector<Value>& values, TextsOut& texts,
             google::protobuf::RepeatedPtrField<Fai00400::Value>* out) {
    out->Reserve(static_cast<int>(values.size()));
    for (std::size_t column = 0; column < values.size(); ++column) {
        const Value& value = values[column];
        Fai00400::Value* cell = out->Add();
        if (value.IsText())
            texts.Put(column, value.Text(), cell);
        else if (value.IsNumber())
            cell->set_number(value.Number());
        else if (value.IsDate())
            cell->set_day(ToDaySerial(value.Date()));
    }
}

[[noreturn]] void Fail(const QString& what) {
    throw MalformedPacket(QStringLiteral("Pacote de dados inválido: %1.").arg(what).toStdString());
}

// Names come from the sender: quoted, never repeated whole.
QString Describe(const FieldDef& field) {
    return QStringLiteral("campo %1").arg(Excerpt(field.name));
}

Value FromProto(const Fai00400::Value& value, const FieldDef& field, std::size_t column,
                TextsIn& texts) {
    switch (value.kind_case()) {
        case Fai00400::Value::KIND_NOT_SET:
            return Value();
        case Fai00400::Value::kText: {
            if (field.type != FieldType::String)
                Fail(QStringLiteral("texto no %1, que não é texto").arg(Describe(field)));
            std::optional<QString> decoded = texts.Take(column, value.text());
            if (!decoded)
                Fail(QStringLiteral("texto que não é UTF-8 válido no %1").arg(Describe(field)));
            QString text = *std::move(decoded);
            if (text.size() > field.size)
                Fail(QStringLiteral("texto maior que %1 caracteres no %2")
                         .arg(field.size)
                         .arg(Describe(field)));
            return Value(text);
        }
        case Fai00400::Value::kNumber:
            if (field.type != FieldType::Float)
                Fail(QStringLiteral("número no %1, que não é numérico").arg(Describe(field)));
            return Value(value.number());
        case Fai00400::Value::kDay: {
            if (field.type != FieldType::DateTime)
                Fail(QStringLiteral("data no %1, que não é data").arg(Describe(field)));
            // Bounded before converting: a hostile serial must not overflow the calendar
            // arithmetic.
            static const qint64 first = ToDaySerial(QDate(1, 1, 1));
            static const qint64 last = ToDaySerial(QDate(9999, 12, 31));
            if (value.day() < first || value.day() > last)
                Fail(QStringLiteral("data fora do intervalo no %1").arg(Describe(field)));
            return Value(FromDaySerial(value.day()));
        }
    }
    Fail(QStringLiteral("valor de tipo desconhecido no %1").arg(Describe(field)));
}

std::vector<Value> FromProto(const google::protobuf::RepeatedPtrField<Fai00400::Value>& values,
                             const std::vector<FieldDef>& fields, int rowNumber, TextsIn& texts) {
    if (values.size() != static_cast<int>(fields.size()))
        Fail(QStringLiteral("a linha %1 tem %2 valores para %3 campos")
                 .arg(rowNumber)
                 .arg(values.size())
                 .arg(fields.size()));
    std::vector<Value> out;
    out.reserve(fields.size());
    for (int i = 0; i < values.size(); ++i)
        out.push_back(FromProto(values[i], fields[i], std::size_t(i), texts));
    return out;
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

void ToProto(const DataPacket& packet, Fai00400::DataPacket* out) {
    out->Clear();
    out->mutable_fields()->Reserve(static_cast<int>(packet.fields.size()));
    for (const FieldDef& field : packet.fields) {
        Fai00400::FieldDef* f = out->add_fields();
        f->set_name(field.name.toStdString());
        f->set_type(static_cast<Fai00400::FieldType>(field.type));
        f->set_size(field.size);
        f->set_fixed_length(field.fixedLength);
    }
    out->mutable_rows()->Reserve(static_cast<int>(packet.rows.size()));
    TextsOut texts(packet.fields.size());
    for (const PacketRow& row : packet.rows) {
        Fai00400::Row* r = out->add_rows();
        r->set_change(static_cast<Fai00400::RowChange>(row.change));
        ToProto(row.values, texts, r->mutable_values());
        ToProto(row.original, texts, r->mutable_original());
    }
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
    out.rows.reserve(packet.rows_size());
    TextsIn texts(out.fields.size());
    int rowNumber = 0;
    for (const auto& row : packet.rows()) {
        ++rowNumber;
        PacketRow r;
        switch (row.change()) {
            case Fai00400::ROW_UNCHANGED:
            case Fai00400::ROW_INSERTED:
                r.change = static_cast<RowChange>(row.change());
                r.values = FromProto(row.values(), out.fields, rowNumber, texts);
                if (!row.original().empty())
                    Fail(QStringLiteral("a linha %1 traz valores originais sem ter sido "
                                        "alterada")
                             .arg(rowNumber));
                break;
            case Fai00400::ROW_MODIFIED:
                r.change = RowChange::Modified;
                r.values = FromProto(row.values(), out.fields, rowNumber, texts);
                r.original = FromProto(row.original(), out.fields, rowNumber, texts);
                break;
            case Fai00400::ROW_DELETED:
                r.change = RowChange::Deleted;
                if (!row.values().empty())
                    Fail(QStringLiteral("a linha excluída %1 traz valores atuais").arg(rowNumber));
                r.original = FromProto(row.original(), out.fields, rowNumber, texts);
                break;
            default:
                Fail(QStringLiteral("tipo de alteração desconhecido na linha %1").arg(rowNumber));
        }
        out.rows.push_back(std::move(r));
    }
    return out;
}

}  // namespace fai
