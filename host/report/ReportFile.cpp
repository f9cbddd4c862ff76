#include "ReportFile.h"

#include "ReportValidation.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <map>

namespace fai {
namespace {

// A definition is a page of text and perhaps a logo: anything larger is not one.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
constexpr int kBase64LineLength = 76;

QString Millimetres(double value) {
    QString text = QString::number(RoundMillimetres(value), 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString Points(double value) {
    QString text = QString::number(std::round(value * 10.0) / 10.0, 'f', 1);
    if (text.endsWith(QLatin1String(".0"))) text.chop(2);
    return text;
}

QString Boolean(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

// ---------------------------------------------------------------------------------------
// Writing.

class Writer {
  public:
    explicit Writer(QIODevice* device) : xml_(device) {
        xml_.setAutoFormatting(true);
        xml_.setAutoFormattingIndent(2);
    }

    void Write(const ReportDefinition& definition) {
        xml_.writeStartDocument();
        xml_.writeStartElement(QStringLiteral("report"));
        xml_.writeAttribute(QStringLiteral("format"), QString::number(kReportFormatVersion));
        xml_.writeAttribute(QStringLiteral("code"), definition.code);
        xml_.writeAttribute(QStringLiteral("title"), definition.title);
        WritePage(definition.page);
        WriteParameters(definition.parameters);
        xml_.writeStartElement(QStringLiteral("query"));
        xml_.writeCDATA(definition.sql);
        xml_.writeEndElement();
        WriteBand(QStringLiteral("reportHeader"), definition.reportHeader);
        WriteBand(QStringLiteral("pageHeader"), definition.pageHeader);
        for (const ReportGroup& group : definition.groups) {
            xml_.writeStartElement(QStringLiteral("group"));
            xml_.writeAttribute(QStringLiteral("field"), group.field);
            if (!group.repeatHeader)
                xml_.writeAttribute(QStringLiteral("repeatHeader"), Boolean(false));
            WriteBand(QStringLiteral("header"), group.header);
            WriteBand(QStringLiteral("footer"), group.footer);
            xml_.writeEndElement();
        }
        WriteBand(QStringLiteral("detail"), definition.detail);
        WriteBand(QStringLiteral("summary"), definition.summary);
        WriteBand(QStringLiteral("pageFooter"), definition.pageFooter);
        xml_.writeEndElement();
        xml_.writeEndDocument();
    }

  private:
    void WritePage(const PageSetup& page) {
        const PageSetup defaults;
        if (page == defaults) return;
        xml_.writeEmptyElement(QStringLiteral("page"));
        xml_.writeAttribute(QStringLiteral("paper"), PaperSizeName(page.paper));
        xml_.writeAttribute(QStringLiteral("orientation"), OrientationName(page.orientation));
        xml_.writeAttribute(QStringLiteral("left"), Millimetres(page.leftMargin));
        xml_.writeAttribute(QStringLiteral("top"), Millimetres(page.topMargin));
        xml_.writeAttribute(QStringLiteral("right"), Millimetres(page.rightMargin));
        xml_.writeAttribute(QStringLiteral("bottom"), Millimetres(page.bottomMargin));
    }

    void WriteParameters(const std::vector<ReportParameter>& parameters) {
        if (parameters.empty()) return;
        xml_.writeStartElement(QStringLiteral("parameters"));
        for (const ReportParameter& parameter : parameters) {
            xml_.writeEmptyElement(QStringLiteral("parameter"));
            xml_.writeAttribute(QStringLiteral("name"), parameter.name);
            xml_.writeAttribute(QStringLiteral("type"), ParamTypeName(parameter.type));
        }
        xml_.writeEndElement();
    }

    void WriteBand(const QString& tag, const std::optional<ReportBand>& band) {
        if (!band) return;
        if (band->elements.empty())
            xml_.writeEmptyElement(tag);
        else
            xml_.writeStartElement(tag);
        xml_.writeAttribute(QStringLiteral("height"), Millimetres(band->height));
        if (band->elements.empty()) return;
        for (const ReportElement& element : band->elements) WriteElement(element);
        xml_.writeEndElement();
    }

    void Attribute(const char* name, const QString& value) {
        xml_.writeAttribute(QLatin1String(name), value);
    }

    void WriteElement(const ReportElement& element) {
        const ReportElement defaults;
        const ElementKind kind = element.kind;
        const bool content = ElementHasText(kind) || kind == ElementKind::Image;
        if (content)
            xml_.writeStartElement(ElementKindName(kind));
        else
            xml_.writeEmptyElement(ElementKindName(kind));
        Attribute("x", Millimetres(element.box.x()));
        Attribute("y", Millimetres(element.box.y()));
        Attribute("width", Millimetres(element.box.width()));
        Attribute("height", Millimetres(element.box.height()));
        if (ElementHasField(kind)) {
            if (kind == ElementKind::Aggregate)
                Attribute("function", AggregateFunctionName(element.function));
            if (!element.field.isEmpty()) Attribute("field", element.field);
            if (kind == ElementKind::Aggregate && !element.over.isEmpty())
                Attribute("over", element.over);
            WriteFormat(element.format);
        }
        if (ElementShowsText(kind)) WriteTextStyle(element, defaults);
        if (kind != ElementKind::Image && element.color != defaults.color)
            Attribute("color", element.color.name());
        if (ElementHasPen(kind) && element.penWidth != defaults.penWidth)
            Attribute("pen", Millimetres(element.penWidth));
        if (kind == ElementKind::Rectangle && element.fill.isValid())
            Attribute("fill", element.fill.name());
        if (kind == ElementKind::Image && !element.keepAspect)
            Attribute("keepAspect", Boolean(false));
        if (element.continuationOnly) Attribute("continuationOnly", Boolean(true));
        if (ElementHasText(kind)) {
            xml_.writeCharacters(element.text);
            xml_.writeEndElement();
        } else if (kind == ElementKind::Image) {
            WriteImage(element.image);
            xml_.writeEndElement();
        }
    }

    void WriteFormat(const DisplayFormat& format) {
        if (format.kind == FormatKind::None) return;
        Attribute("format", FormatKindName(format.kind));
        if (format.kind == FormatKind::Number) {
            Attribute("decimals", QString::number(format.decimals));
            if (!format.thousands) Attribute("thousands", Boolean(false));
        }
        if (format.kind == FormatKind::Registration)
            Attribute("personType", format.personTypeField);
    }

    void WriteTextStyle(const ReportElement& element, const ReportElement& defaults) {
        const ReportFont& font = element.font;
        if (font.family != defaults.font.family) Attribute("font", font.family);
        if (font.size != defaults.font.size) Attribute("size", Points(font.size));
        if (font.bold) Attribute("bold", Boolean(true));
        if (font.italic) Attribute("italic", Boolean(true));
        if (font.underline) Attribute("underline", Boolean(true));
        if (element.align != defaults.align) Attribute("align", HAlignName(element.align));
        if (element.valign != defaults.valign) Attribute("valign", VAlignName(element.valign));
        if (element.wordWrap) Attribute("wrap", Boolean(true));
        if (element.canGrow) Attribute("grow", Boolean(true));
    }

    // Lines of base64, so that a changed image shows as changed lines and not one huge one.
    void WriteImage(const QByteArray& image) {
        const QByteArray encoded = image.toBase64();
        QString text;
        for (qsizetype at = 0; at < encoded.size(); at += kBase64LineLength)
            text += QLatin1Char('\n') + QString::fromLatin1(encoded.mid(at, kBase64LineLength));
        xml_.writeCharacters(text + QLatin1Char('\n'));
    }

    QXmlStreamWriter xml_;
};

// ---------------------------------------------------------------------------------------
// Reading.

struct Failure {
    qint64 line;
    QString why;
};

// The attributes of one XML element: each read at most once; any left unread is unknown.
class Attributes {
  public:
    Attributes(const QXmlStreamReader& xml, QString tag)
        : attributes_(xml.attributes()), tag_(std::move(tag)), line_(xml.lineNumber()) {}

    qint64 Line() const { return line_; }

    std::optional<QString> Take(const char* name) {
        const QString key = QLatin1String(name);
        taken_.insert(key);
        if (!attributes_.hasAttribute(key)) return std::nullopt;
        return attributes_.value(key).toString();
    }

    QString Required(const char* name) {
        const std::optional<QString> value = Take(name);
        if (!value)
            Fail(QStringLiteral("falta o atributo '%1' em <%2>.").arg(QLatin1String(name), tag_));
        return *value;
    }

    QString Text(const char* name, const QString& otherwise = {}) {
        return Take(name).value_or(otherwise);
    }

    double Millimetres(const char* name, double otherwise) {
        const std::optional<QString> value = Take(name);
        if (!value) return otherwise;
        bool ok = false;
        const double number = value->toDouble(&ok);
        if (!ok || !std::isfinite(number))
            Invalid(name, *value, QStringLiteral("um número em milímetros, como 12.5"));
        return RoundMillimetres(number);
    }

    double Points(const char* name, double otherwise) {
        const std::optional<QString> value = Take(name);
        if (!value) return otherwise;
        bool ok = false;
        const double number = value->toDouble(&ok);
        if (!ok || !std::isfinite(number))
            Invalid(name, *value, QStringLiteral("um tamanho em pontos, como 9 ou 10.5"));
        return std::round(number * 10.0) / 10.0;
    }

    int Integer(const char* name, int otherwise) {
        const std::optional<QString> value = Take(name);
        if (!value) return otherwise;
        bool ok = false;
        const int number = value->toInt(&ok);
        if (!ok) Invalid(name, *value, QStringLiteral("um número inteiro"));
        return number;
    }

    bool Boolean(const char* name, bool otherwise) {
        const std::optional<QString> value = Take(name);
        if (!value) return otherwise;
        if (*value == QLatin1String("true")) return true;
        if (*value == QLatin1String("false")) return false;
        Invalid(name, *value, QStringLiteral("true ou false"));
        return otherwise;
    }

    QColor Color(const char* name, const QColor& otherwise) {
        static const QRegularExpression pattern(QStringLiteral("^#[0-9a-fA-F]{6}$"));
        const std::optional<QString> value = Take(name);
        if (!value) return otherwise;
        if (!pattern.match(*value).hasMatch())
            Invalid(name, *value, QStringLiteral("uma cor #rrggbb"));
        return QColor(*value);
    }

    template <typename Enum>
    Enum Choice(const char* name, Enum otherwise, std::optional<Enum> (*named)(const QString&),
                const QString& choices) {
        const std::optional<QString> value = Take(name);
        if (!value) return otherwise;
        const std::optional<Enum> choice = named(*value);
        if (!choice) Invalid(name, *value, choices);
        return *choice;
    }

    // Every attribute must have been read: a misspelt one is refused, not ignored.
    void CheckAllRead() const {
        for (const QXmlStreamAttribute& attribute : attributes_) {
            if (!taken_.contains(attribute.name().toString()))
                Fail(QStringLiteral("atributo desconhecido '%1' em <%2>.")
                         .arg(attribute.name().toString(), tag_));
        }
    }

    [[noreturn]] void Fail(const QString& why) const { throw Failure{line_, why}; }

  private:
    [[noreturn]] void Invalid(const char* name, const QString& value, const QString& expected) {
        Fail(QStringLiteral("valor inválido \"%1\" no atributo '%2' de <%3>: espera-se %4.")
                 .arg(value, QLatin1String(name), tag_, expected));
    }

    QXmlStreamAttributes attributes_;
    QString tag_;
    qint64 line_;
    QSet<QString> taken_;
};

class Reader {
  public:
    explicit Reader(const QByteArray& content) : xml_(content) {}

    ReportDefinition Read() {
        NextStart();
        if (xml_.name() != QLatin1String("report"))
            Fail(QStringLiteral("o arquivo não é uma definição de relatório (a raiz é <%1>, "
                                "não <report>).")
                     .arg(xml_.name().toString()));
        Attributes root(xml_, QStringLiteral("report"));
        lines_[ReportPlace{}] = root.Line();
        ReadVersion(root);
        definition_.code = root.Required("code");
        definition_.title = root.Required("title");
        root.CheckAllRead();
        bool queryRead = false;
        while (NextChild()) {
            const QString tag = xml_.name().toString();
            if (tag == QLatin1String("page")) {
                Once(tag);
                ReadPage();
            } else if (tag == QLatin1String("parameters")) {
                Once(tag);
                ReadParameters();
            } else if (tag == QLatin1String("query")) {
                Once(tag);
                Attributes(xml_, tag).CheckAllRead();
                lines_[ReportPlace{ReportPlace::Part::Query}] = xml_.lineNumber();
                definition_.sql = ReadText(tag);
                queryRead = true;
            } else if (tag == QLatin1String("group")) {
                ReadGroup();
            } else if (const std::optional<std::pair<BandKind, std::optional<ReportBand>*>> slot =
                           BandSlot(tag)) {
                Once(tag);
                *slot->second = ReadBand(slot->first, -1);
            } else {
                Unknown(QStringLiteral("<report>"));
            }
        }
        if (!queryRead) Fail(QStringLiteral("a consulta <query> está faltando."), root.Line());
        End();
        if (const std::optional<ReportProblem> problem = FindReportProblem(definition_))
            Fail(DescribePlace(definition_, problem->place) + QStringLiteral(": ") + problem->why,
                 LineOf(problem->place));
        return std::move(definition_);
    }

  private:
    void ReadVersion(Attributes& root) {
        const QString text = root.Required("format");
        bool ok = false;
        const int version = text.toInt(&ok);
        if (!ok || version < 1)
            root.Fail(QStringLiteral("versão de formato inválida: \"%1\".").arg(text));
        if (version > kReportFormatVersion)
            root.Fail(QStringLiteral("o arquivo está na versão %1 do formato; esta versão do "
                                     "programa lê até a versão %2. Atualize o programa.")
                          .arg(version)
                          .arg(kReportFormatVersion));
    }

    void ReadPage() {
        Attributes attributes(xml_, QStringLiteral("page"));
        lines_[ReportPlace{ReportPlace::Part::Page}] = attributes.Line();
        PageSetup& page = definition_.page;
        page.paper = attributes.Choice("paper", page.paper, &PaperSizeNamed,
                                       QStringLiteral("A4, A3, A5, Letter ou Legal"));
        page.orientation = attributes.Choice("orientation", page.orientation, &OrientationNamed,
                                             QStringLiteral("portrait ou landscape"));
        page.leftMargin = attributes.Millimetres("left", page.leftMargin);
        page.topMargin = attributes.Millimetres("top", page.topMargin);
        page.rightMargin = attributes.Millimetres("right", page.rightMargin);
        page.bottomMargin = attributes.Millimetres("bottom", page.bottomMargin);
        attributes.CheckAllRead();
        NoChildren(QStringLiteral("<page>"));
    }

    void ReadParameters() {
        Attributes(xml_, QStringLiteral("parameters")).CheckAllRead();
        while (NextChild()) {
            if (xml_.name() != QLatin1String("parameter")) Unknown(QStringLiteral("<parameters>"));
            Attributes attributes(xml_, QStringLiteral("parameter"));
            ReportPlace place{ReportPlace::Part::Parameter};
            place.parameter = int(definition_.parameters.size());
            lines_[place] = attributes.Line();
            ReportParameter parameter;
            parameter.name = attributes.Required("name");
            parameter.type = attributes.Choice("type", parameter.type, &ParamTypeNamed,
                                               QStringLiteral("text, date, number ou list"));
            attributes.CheckAllRead();
            NoChildren(QStringLiteral("<parameter>"));
            definition_.parameters.push_back(parameter);
        }
    }

    void ReadGroup() {
        Attributes attributes(xml_, QStringLiteral("group"));
        const int index = int(definition_.groups.size());
        ReportPlace place{ReportPlace::Part::Group};
        place.group = index;
        lines_[place] = attributes.Line();
        definition_.groups.emplace_back();
        definition_.groups.back().field = attributes.Required("field");
        definition_.groups.back().repeatHeader = attributes.Boolean("repeatHeader", true);
        attributes.CheckAllRead();
        while (NextChild()) {
            const QString tag = xml_.name().toString();
            ReportGroup& group = definition_.groups.back();
            if (tag == QLatin1String("header") && !group.header) {
                group.header = ReadBand(BandKind::GroupHeader, index);
            } else if (tag == QLatin1String("footer") && !group.footer) {
                group.footer = ReadBand(BandKind::GroupFooter, index);
            } else if (tag == QLatin1String("header") || tag == QLatin1String("footer")) {
                Fail(QStringLiteral("há mais de um <%1> no grupo.").arg(tag));
            } else {
                Unknown(QStringLiteral("<group>"));
            }
        }
    }

    std::optional<std::pair<BandKind, std::optional<ReportBand>*>> BandSlot(const QString& tag) {
        using Slot = std::pair<BandKind, std::optional<ReportBand>*>;
        if (tag == QLatin1String("reportHeader"))
            return Slot{BandKind::ReportHeader, &definition_.reportHeader};
        if (tag == QLatin1String("pageHeader"))
            return Slot{BandKind::PageHeader, &definition_.pageHeader};
        if (tag == QLatin1String("detail")) return Slot{BandKind::Detail, &definition_.detail};
        if (tag == QLatin1String("summary")) return Slot{BandKind::Summary, &definition_.summary};
        if (tag == QLatin1String("pageFooter"))
            return Slot{BandKind::PageFooter, &definition_.pageFooter};
        return std::nullopt;
    }

    ReportBand ReadBand(BandKind kind, int group) {
        const QString tag = xml_.name().toString();
        Attributes attributes(xml_, tag);
        ReportPlace place{ReportPlace::Part::Band};
        place.band = kind;
        place.group = group;
        lines_[place] = attributes.Line();
        ReportBand band;
        band.kind = kind;
        band.height = attributes.Millimetres("height", band.height);
        attributes.CheckAllRead();
        place.part = ReportPlace::Part::Element;
        while (NextChild()) {
            const std::optional<ElementKind> element = ElementKindNamed(xml_.name().toString());
            if (!element) Unknown(QLatin1Char('<') + tag + QLatin1Char('>'));
            place.element = int(band.elements.size());
            lines_[place] = xml_.lineNumber();
            band.elements.push_back(ReadElement(*element));
        }
        return band;
    }

    ReportElement ReadElement(ElementKind kind) {
        const QString tag = ElementKindName(kind);
        Attributes attributes(xml_, tag);
        ReportElement element;
        element.kind = kind;
        const double x = attributes.Millimetres("x", 0);
        const double y = attributes.Millimetres("y", 0);
        const double width = attributes.Millimetres("width", 0);
        const double height = attributes.Millimetres("height", 0);
        element.box = QRectF(x, y, width, height);
        if (ElementHasField(kind)) {
            if (kind == ElementKind::Aggregate)
                element.function =
                    attributes.Choice("function", element.function, &AggregateFunctionNamed,
                                      QStringLiteral("sum, count, avg, min ou max"));
            element.field = attributes.Text("field");
            if (kind == ElementKind::Aggregate) element.over = attributes.Text("over");
            ReadFormat(attributes, element.format);
        }
        if (ElementShowsText(kind)) ReadTextStyle(attributes, element);
        if (kind != ElementKind::Image) element.color = attributes.Color("color", element.color);
        if (ElementHasPen(kind)) element.penWidth = attributes.Millimetres("pen", element.penWidth);
        if (kind == ElementKind::Rectangle) element.fill = attributes.Color("fill", QColor());
        if (kind == ElementKind::Image)
            element.keepAspect = attributes.Boolean("keepAspect", element.keepAspect);
        element.continuationOnly = attributes.Boolean("continuationOnly", false);
        attributes.CheckAllRead();
        if (ElementHasText(kind)) {
            element.text = ReadText(tag);
        } else if (kind == ElementKind::Image) {
            element.image = ReadImage();
        } else {
            NoChildren(QLatin1Char('<') + tag + QLatin1Char('>'));
        }
        return element;
    }

    void ReadFormat(Attributes& attributes, DisplayFormat& format) {
        format.kind = attributes.Choice("format", format.kind, &FormatKindNamed,
                                        QStringLiteral("none, number, date ou registration"));
        if (format.kind == FormatKind::Number) {
            format.decimals = attributes.Integer("decimals", format.decimals);
            format.thousands = attributes.Boolean("thousands", format.thousands);
        }
        if (format.kind == FormatKind::Registration)
            format.personTypeField = attributes.Required("personType");
    }

    void ReadTextStyle(Attributes& attributes, ReportElement& element) {
        ReportFont& font = element.font;
        font.family = attributes.Text("font", font.family);
        font.size = attributes.Points("size", font.size);
        font.bold = attributes.Boolean("bold", false);
        font.italic = attributes.Boolean("italic", false);
        font.underline = attributes.Boolean("underline", false);
        element.align = attributes.Choice("align", element.align, &HAlignNamed,
                                          QStringLiteral("left, center ou right"));
        element.valign = attributes.Choice("valign", element.valign, &VAlignNamed,
                                           QStringLiteral("top, middle ou bottom"));
        element.wordWrap = attributes.Boolean("wrap", false);
        element.canGrow = attributes.Boolean("grow", false);
    }

    QByteArray ReadImage() {
        const qint64 line = xml_.lineNumber();
        QByteArray encoded = ReadText(QStringLiteral("image")).toLatin1();
        encoded.replace(' ', QByteArray()).replace('\n', QByteArray()).replace('\r', QByteArray());
        encoded.replace('\t', QByteArray());
        const QByteArray::FromBase64Result decoded =
            QByteArray::fromBase64Encoding(encoded, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || decoded.decoded.isEmpty())
            Fail(QStringLiteral("o conteúdo de <image> não é uma imagem em base64."), line);
        return decoded.decoded;
    }

    // The element's text; an element inside it is refused.
    QString ReadText(const QString& tag) {
        QString text;
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isCharacters()) {
                text += xml_.text();
            } else if (xml_.isEndElement()) {
                return text;
            } else if (xml_.isStartElement()) {
                Fail(QStringLiteral("<%1> não pode conter <%2>.").arg(tag, xml_.name().toString()));
            } else if (xml_.isDTD() || xml_.isEntityReference()) {
                Fail(QStringLiteral("declarações e entidades de DTD não são aceitas."));
            }
        }
        CheckXml();
        return text;
    }

    void NoChildren(const QString& tag) {
        while (NextChild())
            Fail(QStringLiteral("%1 não pode conter <%2>.").arg(tag, xml_.name().toString()));
    }

    // Moves to the next child element of the current one; false at its end. Text between
    // elements must be blank.
    bool NextChild() {
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isStartElement()) return true;
            if (xml_.isEndElement()) return false;
            if (xml_.isCharacters() && !xml_.isWhitespace())
                Fail(QStringLiteral("texto solto fora de um elemento: \"%1\".")
                         .arg(xml_.text().trimmed().left(40).toString()));
            if (xml_.isDTD() || xml_.isEntityReference())
                Fail(QStringLiteral("declarações e entidades de DTD não são aceitas."));
        }
        CheckXml();
        Fail(QStringLiteral("o arquivo termina antes do fim de um elemento."));
    }

    void NextStart() {
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isStartElement()) return;
            if (xml_.isDTD())
                Fail(QStringLiteral("declarações e entidades de DTD não são aceitas."));
        }
        if (xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError) CheckXml();
        Fail(QStringLiteral("o arquivo está vazio."), 0);
    }

    void End() {
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isStartElement()) Fail(QStringLiteral("há conteúdo depois de </report>."));
        }
        CheckXml();
    }

    void CheckXml() {
        if (xml_.hasError() && xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError)
            Fail(QStringLiteral("XML inválido: %1.").arg(xml_.errorString()));
        if (xml_.hasError()) Fail(QStringLiteral("o arquivo termina antes do fim de um elemento."));
    }

    void Once(const QString& tag) {
        if (!seen_.contains(tag)) {
            seen_.insert(tag);
            return;
        }
        Fail(QStringLiteral("há mais de um <%1>.").arg(tag));
    }

    [[noreturn]] void Unknown(const QString& parent) {
        Fail(QStringLiteral("elemento desconhecido <%1> em %2.")
                 .arg(xml_.name().toString(), parent));
    }

    [[noreturn]] void Fail(const QString& why) { Fail(why, xml_.lineNumber()); }
    [[noreturn]] void Fail(const QString& why, qint64 line) { throw Failure{line, why}; }

    // The line of the place, or of the nearest enclosing place that has one.
    qint64 LineOf(ReportPlace place) const {
        for (;;) {
            const auto found = lines_.find(place);
            if (found != lines_.end()) return found->second;
            if (place.part == ReportPlace::Part::Element) {
                place.part = ReportPlace::Part::Band;
                place.element = -1;
            } else if (place.part == ReportPlace::Part::Definition) {
                return 0;
            } else {
                place = ReportPlace{};
            }
        }
    }

    QXmlStreamReader xml_;
    ReportDefinition definition_;
    QSet<QString> seen_;
    std::map<ReportPlace, qint64> lines_;
};

}  // namespace

EReportFileError::EReportFileError(const QString& file, qint64 line, const QString& why)
    : EError(line > 0 ? QStringLiteral("Arquivo de relatório '%1', linha %2: %3")
                            .arg(file)
                            .arg(line)
                            .arg(why)
                      : QStringLiteral("Arquivo de relatório '%1': %2").arg(file, why)),
      file_(file),
      line_(line),
      why_(why) {}

ReportDefinition ParseReport(const QByteArray& content, const QString& fileName) {
    try {
        return Reader(content).Read();
    } catch (const Failure& failure) {
        throw EReportFileError(fileName, failure.line, failure.why);
    }
}

ReportDefinition ReadReportFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EReportFileError(path, 0,
                               QStringLiteral("não pôde ser aberto: %1.").arg(file.errorString()));
    if (file.size() > kMaxFileSize)
        throw EReportFileError(path, 0,
                               QStringLiteral("grande demais para uma definição de relatório "
                                              "(%1 bytes).")
                                   .arg(file.size()));
    return ParseReport(file.readAll(), path);
}

QByteArray WriteReport(const ReportDefinition& definition) {
    ValidateReport(definition);
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    Writer(&buffer).Write(definition);
    return content;
}

void SaveReportFile(const ReportDefinition& definition, const QString& path) {
    const QByteArray content = WriteReport(definition);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw EError(QStringLiteral("Não foi possível gravar o relatório em '%1': %2")
                         .arg(path, file.errorString()));
}

}  // namespace fai
