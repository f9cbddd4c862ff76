#include "PacketConversion.h"

#include "WireText.h"

namespace fai {
namespace {

// Generous bounds: a real packet never comes near them, a hostile one cannot make the
// receiver allocate without limit.
constexpr int kMaxFields = 1000;
constexpr int kMaxFieldSize = 1'000'000;

void ToProto(const Value& value, Fai00400::Value* out) {
    if (value.IsText()) {
        out->set_text(value.Text().toStdString());
    } else if (value.IsNumber()) {
        out->set_number(value.Number());
    } else if (value.IsDate()) {
        out->set_day(ToDaySerial(value.Date()));
    }
}

void ToProto(const std::vector<Value>& values,
             google::protobuf::RepeatedPtrField<Fai00400::Value>* out) {
    out->Reserve(static_cast<int>(values.size()));
    for (const Value& v : values) ToProto(v, out->Add());
}

[[noreturn]] void Fail(const QString& what) {
    throw MalformedPacket(QStringLiteral("Pacote de dados inválido: %1.").arg(what).toStdString());
}

// Names come from the sender: quoted, never repeated whole.
QString Describe(const FieldDef& field) {
    return QStringLiteral("campo %1").arg(Excerpt(field.name));
}

Value FromProto(const Fai00400::Value& value, const FieldDef& field) {
    switch (value.kind_case()) {
        case Fai00400::Value::KIND_NOT_SET:
            return Value();
        case Fai00400::Value::kText: {
            if (field.type != FieldType::String)
                Fail(QStringLiteral("texto no %1, que não é texto").arg(Describe(field)));
            std::optional<QString> decoded = DecodeUtf8(value.text());
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
                             const std::vector<FieldDef>& fields, int rowNumber) {
    if (values.size() != static_cast<int>(fields.size()))
        Fail(QStringLiteral("a linha %1 tem %2 valores para %3 campos")
                 .arg(rowNumber)
                 .arg(values.size())
                 .arg(fields.size()));
    std::vector<Value> out;
    out.reserve(fields.size());
    for (int i = 0; i < values.size(); ++i) out.push_back(FromProto(values[i], fields[i]));
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
    for (const PacketRow& row : packet.rows) {
        Fai00400::Row* r = out->add_rows();
        r->set_change(static_cast<Fai00400::RowChange>(row.change));
        ToProto(row.values, r->mutable_values());
        ToProto(row.original, r->mutable_original());
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
    int rowNumber = 0;
    for (const auto& row : packet.rows()) {
        ++rowNumber;
        PacketRow r;
        switch (row.change()) {
            case Fai00400::ROW_UNCHANGED:
            case Fai00400::ROW_INSERTED:
                r.change = static_cast<RowChange>(row.change());
                r.values = FromProto(row.values(), out.fields, rowNumber);
                if (!row.original().empty())
                    Fail(QStringLiteral("a linha %1 traz valores originais sem ter sido "
                                        "alterada")
                             .arg(rowNumber));
                break;
            case Fai00400::ROW_MODIFIED:
                r.change = RowChange::Modified;
                r.values = FromProto(row.values(), out.fields, rowNumber);
                r.original = FromProto(row.original(), out.fields, rowNumber);
                break;
            case Fai00400::ROW_DELETED:
                r.change = RowChange::Deleted;
                if (!row.values().empty())
                    Fail(QStringLiteral("a linha excluída %1 traz valores atuais").arg(rowNumber));
                r.original = FromProto(row.original(), out.fields, rowNumber);
                break;
            default:
                Fail(QStringLiteral("tipo de alteração desconhecido na linha %1").arg(rowNumber));
        }
        out.rows.push_back(std::move(r));
    }
    return out;
}

}  // namespace fai
