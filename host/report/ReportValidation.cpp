#include "ReportValidation.h"

#include "Errors.h"
#include "SqlStatement.h"

#include <QImage>
#include <QRegularExpression>
#include <QSet>

namespace fai {
namespace {

// Lengths are held to 0.01 mm: anything closer than that is the same length.
constexpr double kTolerance = 0.005;
constexpr double kMaxFontSize = 200;
constexpr int kMaxDecimals = 10;

QString ElementKindWord(ElementKind kind) {
    switch (kind) {
        case ElementKind::Text:
            return QStringLiteral("texto");
        case ElementKind::Field:
            return QStringLiteral("campo");
        case ElementKind::Aggregate:
            return QStringLiteral("totalizador");
        case ElementKind::PageNumber:
            return QStringLiteral("número de página");
        case ElementKind::PrintDate:
            return QStringLiteral("data de impressão");
        case ElementKind::Line:
            return QStringLiteral("linha");
        case ElementKind::Rectangle:
            return QStringLiteral("retângulo");
        case ElementKind::Image:
            return QStringLiteral("imagem");
    }
    return {};
}

QString BandWords(const ReportDefinition& definition, BandKind kind, int group) {
    const QString field = group >= 0 && group < int(definition.groups.size())
                              ? definition.groups[std::size_t(group)].field
                              : QString();
    switch (kind) {
        case BandKind::ReportHeader:
            return QStringLiteral("cabeçalho do relatório");
        case BandKind::PageHeader:
            return QStringLiteral("cabeçalho de página");
        case BandKind::GroupHeader:
            return QStringLiteral("cabeçalho do grupo %1").arg(field);
        case BandKind::GroupFooter:
            return QStringLiteral("rodapé do grupo %1").arg(field);
        case BandKind::Detail:
            return QStringLiteral("detalhe");
        case BandKind::Summary:
            return QStringLiteral("resumo");
        case BandKind::PageFooter:
            return QStringLiteral("rodapé de página");
    }
    return {};
}

bool IsName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return pattern.match(name).hasMatch();
}

class Checker {
  public:
    explicit Checker(const ReportDefinition& definition) : definition_(definition) {}

    std::optional<ReportProblem> Run() {
        CheckHeading();
        CheckPage();
        CheckParameters();
        CheckQuery();
        CheckGroups();
        CheckBand(definition_.reportHeader, BandKind::ReportHeader, -1);
        CheckBand(definition_.pageHeader, BandKind::PageHeader, -1);
        for (std::size_t g = 0; g < definition_.groups.size(); ++g) {
            CheckBand(definition_.groups[g].header, BandKind::GroupHeader, int(g));
            CheckBand(definition_.groups[g].footer, BandKind::GroupFooter, int(g));
        }
        CheckBand(definition_.detail, BandKind::Detail, -1);
        CheckBand(definition_.summary, BandKind::Summary, -1);
        CheckBand(definition_.pageFooter, BandKind::PageFooter, -1);
        return problem_;
    }

  private:
    void Report(const ReportPlace& place, const QString& why) {
        if (!problem_) problem_ = ReportProblem{place, why};
    }

    void CheckHeading() {
        if (definition_.code.trimmed().isEmpty())
            Report({}, QStringLiteral("o código do relatório não foi informado."));
        if (definition_.title.trimmed().isEmpty())
            Report({}, QStringLiteral("o título do relatório não foi informado."));
    }

    void CheckPage() {
        const PageSetup& page = definition_.page;
        const ReportPlace place{ReportPlace::Part::Page};
        for (double margin :
             {page.leftMargin, page.topMargin, page.rightMargin, page.bottomMargin}) {
            if (margin < 0) Report(place, QStringLiteral("margem negativa."));
        }
        const QSizeF paper = PaperMillimetres(page);
        width_ = paper.width() - page.leftMargin - page.rightMargin;
        height_ = paper.height() - page.topMargin - page.bottomMargin;
        if (width_ <= 0 || height_ <= 0)
            Report(place, QStringLiteral("as margens não deixam área para imprimir."));
    }

    void CheckParameters() {
        QSet<QString> seen;
        for (std::size_t p = 0; p < definition_.parameters.size(); ++p) {
            const QString& name = definition_.parameters[p].name;
            ReportPlace place{ReportPlace::Part::Parameter};
            place.parameter = int(p);
            if (!IsName(name))
                Report(place, QStringLiteral("nome de parâmetro inválido: \"%1\" (use letras, "
                                             "dígitos e _).")
                                  .arg(name));
            if (seen.contains(name.toUpper()))
                Report(place,
                       QStringLiteral("o parâmetro %1 foi declarado mais de uma vez.").arg(name));
            seen.insert(name.toUpper());
        }
    }

    void CheckQuery() {
        const ReportPlace place{ReportPlace::Part::Query};
        if (definition_.sql.trimmed().isEmpty()) {
            Report(place, QStringLiteral("a consulta do relatório não foi informada."));
            return;
        }
        const SqlStatement statement = SqlStatement::Parse(definition_.sql);
        if (!statement.IsSingleSelect())
            Report(place, QStringLiteral("a consulta só pode ler dados: use um único SELECT."));
        for (const QString& name : statement.Names()) {
            if (!definition_.FindParameter(name))
                Report(place,
                       QStringLiteral("a consulta usa o parâmetro :%1, que não foi declarado.")
                           .arg(name));
        }
    }

    void CheckGroups() {
        QSet<QString> seen;
        for (std::size_t g = 0; g < definition_.groups.size(); ++g) {
            const QString& field = definition_.groups[g].field;
            ReportPlace place{ReportPlace::Part::Group};
            place.group = int(g);
            if (field.trimmed().isEmpty())
                Report(place, QStringLiteral("o campo do grupo não foi informado."));
            else if (seen.contains(field.toUpper()))
                Report(place, QStringLiteral("há mais de um grupo pelo campo %1.").arg(field));
            seen.insert(field.toUpper());
        }
    }

    void CheckBand(const std::optional<ReportBand>& band, BandKind kind, int group) {
        if (!band) return;
        ReportPlace place{ReportPlace::Part::Band};
        place.band = kind;
        place.group = group;
        if (band->kind != kind)
            Report(place, QStringLiteral("a banda está no lugar de outra (%1).")
                              .arg(BandKindName(band->kind)));
        if (band->height < 0) Report(place, QStringLiteral("altura negativa."));
        if (band->height > height_ + kTolerance)
            Report(place, QStringLiteral("a banda (%1 mm) é mais alta que a área útil da página "
                                         "(%2 mm).")
                              .arg(band->height)
                              .arg(height_));
        for (std::size_t e = 0; e < band->elements.size(); ++e) {
            place.part = ReportPlace::Part::Element;
            place.element = int(e);
            CheckElement(band->elements[e], *band, place);
        }
    }

    void CheckElement(const ReportElement& element, const ReportBand& band,
                      const ReportPlace& place) {
        const QRectF& box = element.box;
        if (box.x() < 0 || box.y() < 0 || box.width() < 0 || box.height() < 0)
            Report(place, QStringLiteral("posição ou tamanho negativo."));
        if (box.right() > width_ + kTolerance)
            Report(place, QStringLiteral("passa da largura útil da página (%1 mm).").arg(width_));
        if (box.bottom() > band.height + kTolerance)
            Report(place, QStringLiteral("passa da altura da banda (%1 mm).").arg(band.height));
        if (element.continuationOnly && band.kind != BandKind::GroupHeader)
            Report(place, QStringLiteral("só um cabeçalho de grupo se repete em continuação."));
        if (ElementShowsText(element.kind)) CheckFont(element.font, place);
        if (element.penWidth < 0) Report(place, QStringLiteral("espessura negativa."));
        switch (element.kind) {
            case ElementKind::Field:
                if (element.field.trimmed().isEmpty())
                    Report(place, QStringLiteral("o campo não foi informado."));
                CheckFormat(element.format, place);
                break;
            case ElementKind::Aggregate:
                if (element.field.trimmed().isEmpty() &&
                    element.function != AggregateFunction::Count)
                    Report(place, QStringLiteral("o campo totalizado não foi informado."));
                if (!element.over.isEmpty() && definition_.GroupIndex(element.over) < 0)
                    Report(place, QStringLiteral("não há grupo pelo campo %1.").arg(element.over));
                CheckFormat(element.format, place);
                break;
            case ElementKind::PrintDate:
                if (element.text.trimmed().isEmpty())
                    Report(place, QStringLiteral("o formato da data não foi informado."));
                break;
            case ElementKind::Image:
                if (QImage::fromData(element.image).isNull())
                    Report(place, QStringLiteral("a imagem não pôde ser lida."));
                break;
            case ElementKind::Text:
            case ElementKind::PageNumber:
            case ElementKind::Line:
            case ElementKind::Rectangle:
                break;
        }
    }

    void CheckFont(const ReportFont& font, const ReportPlace& place) {
        if (font.family.trimmed().isEmpty())
            Report(place, QStringLiteral("a fonte não foi informada."));
        if (font.size <= 0 || font.size > kMaxFontSize)
            Report(place, QStringLiteral("tamanho de fonte fora de 0 a %1 pontos: %2.")
                              .arg(kMaxFontSize)
                              .arg(font.size));
    }

    void CheckFormat(const DisplayFormat& format, const ReportPlace& place) {
        if (format.kind == FormatKind::Number &&
            (format.decimals < 0 || format.decimals > kMaxDecimals))
            Report(place, QStringLiteral("casas decimais fora de 0 a %1: %2.")
                              .arg(kMaxDecimals)
                              .arg(format.decimals));
        if (format.kind == FormatKind::Registration && format.personTypeField.trimmed().isEmpty())
            Report(place, QStringLiteral("o campo do tipo de pessoa da inscrição não foi "
                                         "informado."));
    }

    const ReportDefinition& definition_;
    double width_ = 0;
    double height_ = 0;
    std::optional<ReportProblem> problem_;
};

}  // namespace

std::optional<ReportProblem> FindReportProblem(const ReportDefinition& definition) {
    return Checker(definition).Run();
}

const ReportBand* BandAt(const ReportDefinition& definition, BandKind kind, int group) {
    const std::optional<ReportBand>* band = nullptr;
    switch (kind) {
        case BandKind::ReportHeader:
            band = &definition.reportHeader;
            break;
        case BandKind::PageHeader:
            band = &definition.pageHeader;
            break;
        case BandKind::GroupHeader:
        case BandKind::GroupFooter:
            if (group < 0 || group >= int(definition.groups.size())) return nullptr;
            band = kind == BandKind::GroupHeader ? &definition.groups[std::size_t(group)].header
                                                 : &definition.groups[std::size_t(group)].footer;
            break;
        case BandKind::Detail:
            band = &definition.detail;
            break;
        case BandKind::Summary:
            band = &definition.summary;
            break;
        case BandKind::PageFooter:
            band = &definition.pageFooter;
            break;
    }
    return band && *band ? &**band : nullptr;
}

QString DescribePlace(const ReportDefinition& definition, const ReportPlace& place) {
    switch (place.part) {
        case ReportPlace::Part::Definition:
            return QStringLiteral("relatório");
        case ReportPlace::Part::Page:
            return QStringLiteral("página");
        case ReportPlace::Part::Parameter:
            return place.parameter >= 0 && place.parameter < int(definition.parameters.size())
                       ? QStringLiteral("parâmetro %1")
                             .arg(definition.parameters[std::size_t(place.parameter)].name)
                       : QStringLiteral("parâmetro");
        case ReportPlace::Part::Query:
            return QStringLiteral("consulta");
        case ReportPlace::Part::Group:
            return QStringLiteral("grupo %1").arg(place.group + 1);
        case ReportPlace::Part::Band:
            return BandWords(definition, place.band, place.group);
        case ReportPlace::Part::Element: {
            const ReportBand* band = BandAt(definition, place.band, place.group);
            const QString kind =
                band && place.element >= 0 && place.element < int(band->elements.size())
                    ? QStringLiteral(" (%1)").arg(
                          ElementKindWord(band->elements[std::size_t(place.element)].kind))
                    : QString();
            return QStringLiteral("%1, elemento %2%3")
                .arg(BandWords(definition, place.band, place.group))
                .arg(place.element + 1)
                .arg(kind);
        }
    }
    return {};
}

void ValidateReport(const ReportDefinition& definition) {
    if (const std::optional<ReportProblem> problem = FindReportProblem(definition))
        throw EError(DescribePlace(definition, problem->place) + QStringLiteral(": ") +
                     problem->why);
}

}  // namespace fai
