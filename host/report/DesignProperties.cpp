#include "DesignProperties.h"

#include "DesignLayout.h"
#include "Errors.h"

#include <QColor>
#include <QRegularExpression>

#include <cmath>

namespace fai {
namespace {

using ElementTest = std::function<bool(const ReportElement&)>;
using ElementGet = std::function<QVariant(const ReportElement&)>;
using ElementSet = std::function<void(ReportElement&, const QVariant&)>;
using Choices = std::vector<std::pair<QString, int>>;

// Which kinds use which properties is the model's to say.
bool ShowsText(const ReportElement& element) { return ElementShowsText(element.kind); }
bool HasContentText(const ReportElement& element) { return ElementHasText(element.kind); }
bool HasField(const ReportElement& element) { return ElementHasField(element.kind); }
bool HasPen(const ReportElement& element) { return ElementHasPen(element.kind); }
bool IsAggregate(const ReportElement& element) { return element.kind == ElementKind::Aggregate; }
bool HasNumberFormat(const ReportElement& element) {
    return HasField(element) && element.format.kind == FormatKind::Number;
}
bool HasRegistrationFormat(const ReportElement& element) {
    return HasField(element) && element.format.kind == FormatKind::Registration;
}
bool IsRectangle(const ReportElement& element) { return element.kind == ElementKind::Rectangle; }
bool IsImage(const ReportElement& element) { return element.kind == ElementKind::Image; }
bool IsNotImage(const ReportElement& element) { return !IsImage(element); }
bool Always(const ReportElement&) { return true; }

double Millimetres(const QVariant& value) { return RoundMillimetres(value.toDouble()); }
double Points(const QVariant& value) { return std::round(value.toDouble() * 10.0) / 10.0; }

QColor ColorFrom(const QVariant& value, bool optional) {
    static const QRegularExpression pattern(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    const QString text = value.toString().trimmed();
    if (text.isEmpty() && optional) return QColor();
    if (!pattern.match(text).hasMatch())
        throw EError(QStringLiteral("Cor inválida \"%1\": use #rrggbb, como #000000.").arg(text));
    return QColor(text);
}

ReportElement& MutableElement(ReportDefinition& definition, const ReportPlace& place) {
    return MutableBandAt(definition, place)->elements[std::size_t(place.element)];
}

DesignProperty ElementProperty(const char* name, const QString& label, PropertyEditor editor,
                               ElementTest applies, ElementGet get, ElementSet set,
                               Choices choices = {}) {
    return DesignProperty{
        name,
        label,
        editor,
        std::move(choices),
        [applies](const ReportDefinition& definition, const ReportPlace& place) {
            const ReportElement* element = ElementAt(definition, place);
            return element && applies(*element);
        },
        [get](const ReportDefinition& definition, const ReportPlace& place) {
            return get(*ElementAt(definition, place));
        },
        [set](ReportDefinition& definition, const ReportPlace& place, const QVariant& value) {
            set(MutableElement(definition, place), value);
        }};
}

bool IsBand(const ReportDefinition&, const ReportPlace& place) {
    return place.part == ReportPlace::Part::Band;
}
bool IsGroupBand(const ReportDefinition& definition, const ReportPlace& place) {
    return IsBand(definition, place) && place.group >= 0 &&
           place.group < int(definition.groups.size());
}
bool IsReport(const ReportDefinition&, const ReportPlace& place) {
    return place.part == ReportPlace::Part::Definition;
}

// The aggregates over a group follow it when its field changes.
void RenameGroup(ReportDefinition& definition, int group, const QString& field) {
    QString& current = definition.groups[std::size_t(group)].field;
    for (const ReportPlace& place : BandsInPrintOrder(definition)) {
        for (ReportElement& element : MutableBandAt(definition, place)->elements) {
            if (element.kind == ElementKind::Aggregate &&
                element.over.compare(current, Qt::CaseInsensitive) == 0)
                element.over = field;
        }
    }
    current = field;
}

DesignProperty ReportMargin(const char* name, const QString& label, double PageSetup::*margin) {
    return DesignProperty{
        name,
        label,
        PropertyEditor::Millimetres,
        {},
        &IsReport,
        [margin](const ReportDefinition& definition, const ReportPlace&) {
            return QVariant(definition.page.*margin);
        },
        [margin](ReportDefinition& definition, const ReportPlace&, const QVariant& value) {
            definition.page.*margin = Millimetres(value);
        }};
}

std::vector<DesignProperty> MakeProperties() {
    Choices functions;
    for (AggregateFunction function :
         {AggregateFunction::Sum, AggregateFunction::Count, AggregateFunction::Average,
          AggregateFunction::Minimum, AggregateFunction::Maximum}) {
        QString word = AggregateFunctionWord(function);
        word[0] = word[0].toUpper();
        functions.emplace_back(word, int(function));
    }
    const Choices formats{{QStringLiteral("Nenhum"), int(FormatKind::None)},
                          {QStringLiteral("Número"), int(FormatKind::Number)},
                          {QStringLiteral("Data"), int(FormatKind::Date)},
                          {QStringLiteral("Inscrição (CPF/CNPJ)"), int(FormatKind::Registration)}};
    const Choices aligns{{QStringLiteral("Esquerda"), int(HAlign::Left)},
                         {QStringLiteral("Centro"), int(HAlign::Center)},
                         {QStringLiteral("Direita"), int(HAlign::Right)}};
    const Choices valigns{{QStringLiteral("Em cima"), int(VAlign::Top)},
                          {QStringLiteral("No meio"), int(VAlign::Middle)},
                          {QStringLiteral("Embaixo"), int(VAlign::Bottom)}};
    const Choices papers{{QStringLiteral("A4"), int(PaperSize::A4)},
                         {QStringLiteral("A3"), int(PaperSize::A3)},
                         {QStringLiteral("A5"), int(PaperSize::A5)},
                         {QStringLiteral("Carta"), int(PaperSize::Letter)},
                         {QStringLiteral("Ofício"), int(PaperSize::Legal)}};
    const Choices orientations{{QStringLiteral("Retrato"), int(PageOrientation::Portrait)},
                               {QStringLiteral("Paisagem"), int(PageOrientation::Landscape)}};
    using E = PropertyEditor;
    std::vector<DesignProperty> list;
    // The report.
    list.push_back(
        DesignProperty{"edtTitulo",
                       QStringLiteral("Título"),
                       E::Text,
                       {},
                       &IsReport,
                       [](const ReportDefinition& definition, const ReportPlace&) {
                           return QVariant(definition.title);
                       },
                       [](ReportDefinition& definition, const ReportPlace&, const QVariant& value) {
                           definition.title = value.toString().trimmed();
                       }});
    list.push_back(
        DesignProperty{"cbbPapel", QStringLiteral("Papel"), E::Choice, papers, &IsReport,
                       [](const ReportDefinition& definition, const ReportPlace&) {
                           return QVariant(int(definition.page.paper));
                       },
                       [](ReportDefinition& definition, const ReportPlace&, const QVariant& value) {
                           definition.page.paper = PaperSize(value.toInt());
                       }});
    list.push_back(DesignProperty{
        "cbbOrientacao", QStringLiteral("Orientação"), E::Choice, orientations, &IsReport,
        [](const ReportDefinition& definition, const ReportPlace&) {
            return QVariant(int(definition.page.orientation));
        },
        [](ReportDefinition& definition, const ReportPlace&, const QVariant& value) {
            definition.page.orientation = PageOrientation(value.toInt());
        }});
    list.push_back(ReportMargin("spnMargemEsquerda", QStringLiteral("Margem esquerda (mm)"),
                                &PageSetup::leftMargin));
    list.push_back(ReportMargin("spnMargemSuperior", QStringLiteral("Margem superior (mm)"),
                                &PageSetup::topMargin));
    list.push_back(ReportMargin("spnMargemDireita", QStringLiteral("Margem direita (mm)"),
                                &PageSetup::rightMargin));
    list.push_back(ReportMargin("spnMargemInferior", QStringLiteral("Margem inferior (mm)"),
                                &PageSetup::bottomMargin));

    // A band.
    list.push_back(DesignProperty{
        "spnAlturaBanda",
        QStringLiteral("Altura (mm)"),
        E::Millimetres,
        {},
        &IsBand,
        [](const ReportDefinition& definition, const ReportPlace& place) {
            return QVariant(BandAt(definition, place.band, place.group)->height);
        },
        [](ReportDefinition& definition, const ReportPlace& place, const QVariant& value) {
            MutableBandAt(definition, place)->height = Millimetres(value);
        }});
    list.push_back(DesignProperty{
        "cbbCampoGrupo",
        QStringLiteral("Agrupar pelo campo"),
        E::Field,
        {},
        &IsGroupBand,
        [](const ReportDefinition& definition, const ReportPlace& place) {
            return QVariant(definition.groups[std::size_t(place.group)].field);
        },
        [](ReportDefinition& definition, const ReportPlace& place, const QVariant& value) {
            RenameGroup(definition, place.group, value.toString().trimmed());
        }});
    list.push_back(DesignProperty{
        "chkRepetirCabecalho",
        QStringLiteral("Repetir o cabeçalho na continuação"),
        E::Boolean,
        {},
        &IsGroupBand,
        [](const ReportDefinition& definition, const ReportPlace& place) {
            return QVariant(definition.groups[std::size_t(place.group)].repeatHeader);
        },
        [](ReportDefinition& definition, const ReportPlace& place, const QVariant& value) {
            definition.groups[std::size_t(place.group)].repeatHeader = value.toBool();
        }});

    // An element: its box, then what it shows and how.
    list.push_back(ElementProperty(
        "spnX", QStringLiteral("X (mm)"), E::Millimetres, &Always,
        [](const ReportElement& e) { return QVariant(e.box.x()); },
        [](ReportElement& e, const QVariant& v) { e.box.moveLeft(Millimetres(v)); }));
    list.push_back(ElementProperty(
        "spnY", QStringLiteral("Y (mm)"), E::Millimetres, &Always,
        [](const ReportElement& e) { return QVariant(e.box.y()); },
        [](ReportElement& e, const QVariant& v) { e.box.moveTop(Millimetres(v)); }));
    list.push_back(ElementProperty(
        "spnLargura", QStringLiteral("Largura (mm)"), E::Millimetres, &Always,
        [](const ReportElement& e) { return QVariant(e.box.width()); },
        [](ReportElement& e, const QVariant& v) { e.box.setWidth(Millimetres(v)); }));
    list.push_back(ElementProperty(
        "spnAltura", QStringLiteral("Altura (mm)"), E::Millimetres, &Always,
        [](const ReportElement& e) { return QVariant(e.box.height()); },
        [](ReportElement& e, const QVariant& v) { e.box.setHeight(Millimetres(v)); }));
    list.push_back(ElementProperty(
        "memTexto", QStringLiteral("Texto"), E::LongText, &HasContentText,
        [](const ReportElement& e) { return QVariant(e.text); },
        [](ReportElement& e, const QVariant& v) { e.text = v.toString(); }));
    list.push_back(ElementProperty(
        "cbbCampo", QStringLiteral("Campo"), E::Field, &HasField,
        [](const ReportElement& e) { return QVariant(e.field); },
        [](ReportElement& e, const QVariant& v) { e.field = v.toString().trimmed(); }));
    list.push_back(ElementProperty(
        "cbbFuncao", QStringLiteral("Função"), E::Choice, &IsAggregate,
        [](const ReportElement& e) { return QVariant(int(e.function)); },
        [](ReportElement& e, const QVariant& v) { e.function = AggregateFunction(v.toInt()); },
        functions));
    list.push_back(ElementProperty(
        "cbbTotalizarPor", QStringLiteral("Totalizar por"), E::Group, &IsAggregate,
        [](const ReportElement& e) { return QVariant(e.over); },
        [](ReportElement& e, const QVariant& v) { e.over = v.toString(); }));
    list.push_back(ElementProperty(
        "cbbFormato", QStringLiteral("Formato"), E::Choice, &HasField,
        [](const ReportElement& e) { return QVariant(int(e.format.kind)); },
        [](ReportElement& e, const QVariant& v) { e.format.kind = FormatKind(v.toInt()); },
        formats));
    list.push_back(ElementProperty(
        "spnDecimais", QStringLiteral("Casas decimais"), E::Integer, &HasNumberFormat,
        [](const ReportElement& e) { return QVariant(e.format.decimals); },
        [](ReportElement& e, const QVariant& v) { e.format.decimals = v.toInt(); }));
    list.push_back(ElementProperty(
        "chkMilhar", QStringLiteral("Separar os milhares"), E::Boolean, &HasNumberFormat,
        [](const ReportElement& e) { return QVariant(e.format.thousands); },
        [](ReportElement& e, const QVariant& v) { e.format.thousands = v.toBool(); }));
    list.push_back(ElementProperty(
        "cbbTipoPessoa", QStringLiteral("Campo do tipo de pessoa"), E::Field,
        &HasRegistrationFormat,
        [](const ReportElement& e) { return QVariant(e.format.personTypeField); },
        [](ReportElement& e, const QVariant& v) {
            e.format.personTypeField = v.toString().trimmed();
        }));
    list.push_back(ElementProperty(
        "cbbFonte", QStringLiteral("Fonte"), E::Font, &ShowsText,
        [](const ReportElement& e) { return QVariant(e.font.family); },
        [](ReportElement& e, const QVariant& v) { e.font.family = v.toString().trimmed(); }));
    list.push_back(ElementProperty(
        "spnTamanho", QStringLiteral("Tamanho (pt)"), E::Points, &ShowsText,
        [](const ReportElement& e) { return QVariant(e.font.size); },
        [](ReportElement& e, const QVariant& v) { e.font.size = Points(v); }));
    list.push_back(ElementProperty(
        "chkNegrito", QStringLiteral("Negrito"), E::Boolean, &ShowsText,
        [](const ReportElement& e) { return QVariant(e.font.bold); },
        [](ReportElement& e, const QVariant& v) { e.font.bold = v.toBool(); }));
    list.push_back(ElementProperty(
        "chkItalico", QStringLiteral("Itálico"), E::Boolean, &ShowsText,
        [](const ReportElement& e) { return QVariant(e.font.italic); },
        [](ReportElement& e, const QVariant& v) { e.font.italic = v.toBool(); }));
    list.push_back(ElementProperty(
        "chkSublinhado", QStringLiteral("Sublinhado"), E::Boolean, &ShowsText,
        [](const ReportElement& e) { return QVariant(e.font.underline); },
        [](ReportElement& e, const QVariant& v) { e.font.underline = v.toBool(); }));
    list.push_back(ElementProperty(
        "cbbAlinhamento", QStringLiteral("Alinhamento"), E::Choice, &ShowsText,
        [](const ReportElement& e) { return QVariant(int(e.align)); },
        [](ReportElement& e, const QVariant& v) { e.align = HAlign(v.toInt()); }, aligns));
    list.push_back(ElementProperty(
        "cbbAlinhamentoVertical", QStringLiteral("Alinhamento vertical"), E::Choice, &ShowsText,
        [](const ReportElement& e) { return QVariant(int(e.valign)); },
        [](ReportElement& e, const QVariant& v) { e.valign = VAlign(v.toInt()); }, valigns));
    list.push_back(ElementProperty(
        "chkQuebrarLinhas", QStringLiteral("Quebrar as linhas"), E::Boolean, &ShowsText,
        [](const ReportElement& e) { return QVariant(e.wordWrap); },
        [](ReportElement& e, const QVariant& v) { e.wordWrap = v.toBool(); }));
    list.push_back(ElementProperty(
        "chkCrescer", QStringLiteral("Crescer com o texto"), E::Boolean, &ShowsText,
        [](const ReportElement& e) { return QVariant(e.canGrow); },
        [](ReportElement& e, const QVariant& v) { e.canGrow = v.toBool(); }));
    list.push_back(ElementProperty(
        "edtCor", QStringLiteral("Cor"), E::Color, &IsNotImage,
        [](const ReportElement& e) { return QVariant(e.color.name()); },
        [](ReportElement& e, const QVariant& v) { e.color = ColorFrom(v, false); }));
    list.push_back(ElementProperty(
        "spnEspessura", QStringLiteral("Espessura (mm)"), E::Millimetres, &HasPen,
        [](const ReportElement& e) { return QVariant(e.penWidth); },
        [](ReportElement& e, const QVariant& v) { e.penWidth = Millimetres(v); }));
    list.push_back(ElementProperty(
        "edtPreenchimento", QStringLiteral("Preenchimento"), E::OptionalColor, &IsRectangle,
        [](const ReportElement& e) {
            return QVariant(e.fill.isValid() ? e.fill.name() : QString());
        },
        [](ReportElement& e, const QVariant& v) { e.fill = ColorFrom(v, true); }));
    list.push_back(ElementProperty(
        "chkManterProporcao", QStringLiteral("Manter a proporção"), E::Boolean, &IsImage,
        [](const ReportElement& e) { return QVariant(e.keepAspect); },
        [](ReportElement& e, const QVariant& v) { e.keepAspect = v.toBool(); }));
    list.push_back(DesignProperty{
        "chkSoNaContinuacao",
        QStringLiteral("Só na continuação do grupo"),
        E::Boolean,
        {},
        [](const ReportDefinition& definition, const ReportPlace& place) {
            return ElementAt(definition, place) && place.band == BandKind::GroupHeader;
        },
        [](const ReportDefinition& definition, const ReportPlace& place) {
            return QVariant(ElementAt(definition, place)->continuationOnly);
        },
        [](ReportDefinition& definition, const ReportPlace& place, const QVariant& value) {
            MutableElement(definition, place).continuationOnly = value.toBool();
        }});
    return list;
}

}  // namespace

std::vector<const DesignProperty*> PropertiesOf(const ReportDefinition& definition,
                                                const ReportPlace& place) {
    static const std::vector<DesignProperty> properties = MakeProperties();
    std::vector<const DesignProperty*> applying;
    for (const DesignProperty& property : properties) {
        if (property.applies(definition, place)) applying.push_back(&property);
    }
    return applying;
}

DesignEdit SetProperty(const ReportDefinition& definition, const ReportPlace& place,
                       const DesignProperty& property, const QVariant& value) {
    DesignEdit edit{definition, {}};
    if (place.part != ReportPlace::Part::Definition) edit.selection = {place};
    property.set(edit.definition, place, value);
    if (place.part != ReportPlace::Part::Element) return edit;
    return SetElementBoxes(edit.definition, {{place, ElementAt(edit.definition, place)->box}});
}

QString AggregateFunctionWord(AggregateFunction function) {
    switch (function) {
        case AggregateFunction::Sum:
            return QStringLiteral("soma");
        case AggregateFunction::Count:
            return QStringLiteral("contagem");
        case AggregateFunction::Average:
            return QStringLiteral("média");
        case AggregateFunction::Minimum:
            return QStringLiteral("mínimo");
        case AggregateFunction::Maximum:
            return QStringLiteral("máximo");
    }
    return {};
}

}  // namespace fai
