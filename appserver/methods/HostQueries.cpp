#include "HostQueries.h"

#include "AppErrors.h"
#include "PacketConversion.h"
#include "RequestChecks.h"
#include "SqlSession.h"
#include "WireText.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <optional>

namespace fai::appserver {
namespace {

// A report's query is a page of text; a list of the clients of a branch, a few thousand
// values.
constexpr qsizetype kMaxSqlChars = 64 * 1024;
constexpr int kMaxParams = 10'000;
constexpr int kPartRows = 1000;
constexpr qsizetype kPartBytes = 1 << 20;

QVariant ParamValue(const Fai00400::QueryValue& value, int place) {
    switch (value.value_case()) {
        case Fai00400::QueryValue::kText:
            return RequestChecks::ArgumentText(value.text(),
                                               QStringLiteral("O parâmetro %1").arg(place));
        case Fai00400::QueryValue::kNumber:
            if (!std::isfinite(value.number()))
                throw EBadRequest(QStringLiteral("O parâmetro %1 não é um número.").arg(place));
            return value.number();
        case Fai00400::QueryValue::kDay: {
            const QDate day = RequestChecks::WireDay(value.day());
            return RequestChecks::IsNoDate(day) ? QVariant(QMetaType::fromType<QString>())
                                                : QVariant(SqlDate(day));
        }
        case Fai00400::QueryValue::VALUE_NOT_SET:
            break;
    }
    return QVariant(QMetaType::fromType<QString>());
}

// The cells of one column of a part, written as the column's type says.
class PartColumn {
  public:
    PartColumn(const HostColumn& column, Fai00400::DataPacket* part, int field)
        : column_(column), part_(part), field_(field) {}

    FieldType Type() const { return column_.type; }
    // A column without a type takes that of its first value (its parts before it held only
    // nulls, typed as text).
    void Settle(const SqlCell& cell) {
        if (column_.typed) return;
        column_.typed = true;
        column_.type = cell.kind == SqlCell::Kind::Number ? FieldType::Float : FieldType::String;
    }

    void Add(ColumnOut& out, const SqlCell& cell) {
        switch (column_.type) {
            case FieldType::String:
                return AddText(out, cell);
            case FieldType::Float:
                return AddNumber(out, cell);
            case FieldType::DateTime:
                return AddDay(out, cell);
        }
    }

    // The part's field as its cells made it: its type, and for text its longest text.
    void Close() {
        Fai00400::FieldDef* field = part_->mutable_fields(field_);
        field->set_type(static_cast<Fai00400::FieldType>(column_.type));
        field->set_size(column_.type == FieldType::String ? 1 : 0);
        if (column_.type != FieldType::String || part_->values_size() == 0) return;
        int longest = 1;
        for (const std::string& text : part_->values(field_).texts())
            longest = std::max(longest,
                               int(QString::fromUtf8(text.data(), qsizetype(text.size())).size()));
        field->set_size(longest);
    }

  private:
    void AddText(ColumnOut& out, const SqlCell& cell) {
        if (cell.kind == SqlCell::Kind::Number)
            return out.AddText(QString::number(cell.number, 'g', QLocale::FloatingPointShortest));
        if (cell.kind != SqlCell::Kind::Text) Refuse(QStringLiteral("dados que não são texto"));
        const std::string_view utf8(cell.text.data(), std::size_t(cell.text.size()));
        if (!out.AddKnownText(utf8)) out.AddText(QString::fromUtf8(cell.text));
    }

    void AddNumber(ColumnOut& out, const SqlCell& cell) {
        if (cell.kind == SqlCell::Kind::Number) return out.AddNumber(cell.number);
        double number = 0;
        const QByteArrayView text = cell.text.trimmed();
        const auto [end, error] = std::from_chars(text.begin(), text.end(), number);
        if (cell.kind != SqlCell::Kind::Text || text.isEmpty() || error != std::errc() ||
            end != text.end())
            Refuse(QStringLiteral("números misturados com textos"));
        out.AddNumber(number);
    }

    void AddDay(ColumnOut& out, const SqlCell& cell) {
        const QDate day = cell.kind == SqlCell::Kind::Text
                              ? QDate::fromString(QString::fromLatin1(cell.text.first(
                                                      std::min<qsizetype>(10, cell.text.size()))),
                                                  Qt::ISODate)
                              : QDate();
        if (!day.isValid()) Refuse(QStringLiteral("um valor que não é data"));
        out.AddDay(day);
    }

    [[noreturn]] void Refuse(const QString& what) const {
        throw EQueryRefused(
            QStringLiteral("traz na coluna %1 %2.").arg(Excerpt(column_.name), what));
    }

    HostColumn column_;
    Fai00400::DataPacket* part_;
    int field_;
};

}  // namespace

HostQueryRequest HostQueryRequest::From(const Fai00400::ConsultaHostRequest& request) {
    HostQueryRequest judged;
    judged.name = RequestChecks::ArgumentText(request.name(), QStringLiteral("Nome da consulta"));
    const std::optional<QString> sql = DecodeUtf8(request.sql());
    if (!sql) throw EBadRequest(QStringLiteral("A consulta não é texto UTF-8 válido."));
    if (sql->trimmed().isEmpty()) throw EBadRequest(QStringLiteral("A consulta está vazia."));
    if (sql->size() > kMaxSqlChars || sql->contains(QChar(0)))
        throw EBadRequest(QStringLiteral("A consulta passa de %1 caracteres ou contém um "
                                         "caractere nulo.")
                              .arg(kMaxSqlChars));
    judged.sql = *sql;
    if (request.params_size() > kMaxParams)
        throw EBadRequest(QStringLiteral("A consulta tem mais de %1 parâmetros.").arg(kMaxParams));
    judged.params.reserve(request.params_size());
    for (int i = 0; i < request.params_size(); ++i)
        judged.params.push_back(ParamValue(request.params(i), i + 1));
    return judged;
}

int HostQueryParts::Run(HostReadConnection& connection, const HostQueryRequest& request,
                        const ReadScope& scope, const Send& send) {
    const std::unique_ptr<HostQuery> query = connection.Run(request.sql, request.params, scope);
    std::vector<FieldDef> fields;
    std::vector<PartColumn> columns;
    Fai00400::ConsultaHostParte part;
    for (const HostColumn& column : query->Columns())
        fields.push_back({column.name, column.type, 1});
    for (std::size_t i = 0; i < fields.size(); ++i)
        columns.emplace_back(query->Columns()[i], part.mutable_rows(), int(i));

    int rows = 0;
    bool firstPart = true;
    const auto flush = [&] {
        for (PartColumn& column : columns) column.Close();
        send(part);
        firstPart = false;
    };
    std::optional<RowsOut> out(std::in_place, fields, part.mutable_rows());
    int partRows = 0;
    qsizetype partBytes = 0;
    while (query->Next()) {
        if (++rows > kMaxRows)
            throw EQueryRefused(
                QStringLiteral("passou de %1 linhas; restrinja o período ou os filtros.")
                    .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(kMaxRows)));
        out->AddRow();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const SqlCell cell = query->Cell(int(i));
            partBytes += cell.text.size() + 8;
            if (cell.kind == SqlCell::Kind::Null) {
                out->Column(i).AddNull();
                continue;
            }
            columns[i].Settle(cell);
            columns[i].Add(out->Column(i), cell);
        }
        if (++partRows < kPartRows && partBytes < kPartBytes) continue;
        flush();
        out.emplace(fields, part.mutable_rows());
        partRows = 0;
        partBytes = 0;
    }
    if (partRows > 0 || firstPart) flush();
    return rows;
}

}  // namespace fai::appserver
