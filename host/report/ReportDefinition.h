#pragma once

#include <QByteArray>
#include <QColor>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

namespace fai {

// A report definition as it is designed, stored and run: page setup, declared parameters, the
// query, and the bands with their elements. Every length is in millimetres, held to 0.01 mm
// (what the file keeps), so that a definition read and written again is the same file.
// The model holds no behaviour beyond naming and defaults: ReportFile reads and writes it,
// ValidateReport checks it, the engine runs it, the designer edits it.

// The version of the file format this program writes and the newest it reads.
constexpr int kReportFormatVersion = 1;

enum class PaperSize { A4, A3, A5, Letter, Legal };
enum class PageOrientation { Portrait, Landscape };

struct PageSetup {
    PaperSize paper = PaperSize::A4;
    PageOrientation orientation = PageOrientation::Portrait;
    double leftMargin = 10;
    double topMargin = 10;
    double rightMargin = 10;
    double bottomMargin = 10;

    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// What a parameter receives from the screen. A list is the multi-selection text ('A','B'):
// the engine binds each key as a value of its own wherever the query names the parameter,
// as in "CDCLIENTE IN (:P_CDCLIENTE)".
enum class ParamType { Text, Date, Number, List };

struct ReportParameter {
    QString name;  // as the query names it, without the colon
    ParamType type = ParamType::Text;

    friend bool operator==(const ReportParameter&, const ReportParameter&) = default;
};

enum class ElementKind {
    Text,        // fixed text: `text`
    Field,       // a column of the query's current row: `field`, shown with `format`
    Aggregate,   // `function` of `field` over the group of field `over`, or the whole
                 // report when `over` is empty; shown with `format`
    PageNumber,  // `text` with {page} and {pages}: "Página {page} de {pages}"
    PrintDate,   // the moment of printing, `text` as a date-time pattern: "dd/MM/yyyy HH:mm"
    Line,        // from the top-left to the bottom-right corner of the element's box
    Rectangle,   // the box, outlined with `penWidth`, filled with `fill` when it is valid
    Image,       // `image` (PNG, JPEG...) drawn in the box
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };

enum class AggregateFunction { Sum, Count, Average, Minimum, Maximum };

// How a field or aggregate value becomes text. None: numbers in their shortest Brazilian
// form, dates dd/MM/yyyy, texts as they are. Number: `decimals` decimals with the decimal
// comma, thousands grouped when `thousands`. Date: dd/MM/yyyy. Registration: the value is a
// registration number shown with the mask of the person type held in the row's column
// `personTypeField` (CNPJ for "J", CPF for "F").
enum class FormatKind { None, Number, Date, Registration };

struct DisplayFormat {
    FormatKind kind = FormatKind::None;
    int decimals = 2;
    bool thousands = true;
    QString personTypeField;

    friend bool operator==(const DisplayFormat&, const DisplayFormat&) = default;
};

struct ReportFont {
    QString family = QStringLiteral("DejaVu Sans");
    double size = 9;  // points, held to 0.1
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const ReportFont&, const ReportFont&) = default;
};

struct ReportElement {
    ElementKind kind = ElementKind::Text;
    QRectF box;  // within its band, millimetres
    ReportFont font;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Middle;
    bool wordWrap = false;
    // The box grows downwards to hold the whole text (wrapped when wordWrap), and its band
    // with it; elements never shrink below their box.
    bool canGrow = false;
    QColor color = Qt::black;  // text, line and outline
    // Printed only when its band is a group header repeated at the top of a page because
    // the group continues there: the place for "(continuação)".
    bool continuationOnly = false;

    QString text;
    QString field;
    DisplayFormat format;
    AggregateFunction function = AggregateFunction::Sum;
    QString over;
    double penWidth = 0.2;  // millimetres
    QColor fill;            // none when invalid
    QByteArray image;       // the image file's bytes
    bool keepAspect = true;

    friend bool operator==(const ReportElement&, const ReportElement&) = default;
};

enum class BandKind {
    ReportHeader,
    PageHeader,
    GroupHeader,
    GroupFooter,
    Detail,
    Summary,
    PageFooter
};

struct ReportBand {
    BandKind kind = BandKind::Detail;
    double height = 5;  // millimetres; grows with elements that can grow
    std::vector<ReportElement> elements;

    friend bool operator==(const ReportBand&, const ReportBand&) = default;
};

// A group of consecutive rows with one value of `field`; the query's ORDER BY brings them
// together. When the group goes on over a page break its header is printed again at the top
// of the next page (when repeatHeader), with its continuation-only elements.
struct ReportGroup {
    QString field;
    bool repeatHeader = true;
    std::optional<ReportBand> header;
    std::optional<ReportBand> footer;

    friend bool operator==(const ReportGroup&, const ReportGroup&) = default;
};

struct ReportDefinition {
    QString code;   // the screen's report code, "Fai004"
    QString title;  // what the user picks it by
    PageSetup page;
    std::vector<ReportParameter> parameters;
    QString sql;
    std::optional<ReportBand> reportHeader;
    std::optional<ReportBand> pageHeader;
    std::vector<ReportGroup> groups;  // outermost first
    std::optional<ReportBand> detail;
    std::optional<ReportBand> summary;
    std::optional<ReportBand> pageFooter;

    const ReportParameter* FindParameter(const QString& name) const;  // letter case ignored
    // The group of the field, letter case ignored; -1 when none.
    int GroupIndex(const QString& field) const;

    friend bool operator==(const ReportDefinition&, const ReportDefinition&) = default;
};

// Which properties an element of the kind uses; the others are neither written nor read.
// Shows text: font, alignment, word wrap and can grow (text, field, aggregate, page number,
// date of printing).
bool ElementShowsText(ElementKind kind);
// `text` is its content (text, page number, date of printing).
bool ElementHasText(ElementKind kind);
// `field` and `format` (field, aggregate; `function` and `over` for an aggregate).
bool ElementHasField(ElementKind kind);
// `penWidth` (line, rectangle; `fill` for a rectangle). Every kind but the image has `color`;
// only the image has `image` and `keepAspect`.
bool ElementHasPen(ElementKind kind);

// The names the file uses, also fit for the designer's property lists.
QString PaperSizeName(PaperSize paper);
QString OrientationName(PageOrientation orientation);
QString ParamTypeName(ParamType type);
QString ElementKindName(ElementKind kind);
QString HAlignName(HAlign align);
QString VAlignName(VAlign align);
QString AggregateFunctionName(AggregateFunction function);
QString FormatKindName(FormatKind kind);
QString BandKindName(BandKind kind);

// The reverse of the names above (exact spelling); nothing for an unknown name.
std::optional<PaperSize> PaperSizeNamed(const QString& name);
std::optional<PageOrientation> OrientationNamed(const QString& name);
std::optional<ParamType> ParamTypeNamed(const QString& name);
std::optional<ElementKind> ElementKindNamed(const QString& name);
std::optional<HAlign> HAlignNamed(const QString& name);
std::optional<VAlign> VAlignNamed(const QString& name);
std::optional<AggregateFunction> AggregateFunctionNamed(const QString& name);
std::optional<FormatKind> FormatKindNamed(const QString& name);

// The paper's size in millimetres, turned for landscape.
QSizeF PaperMillimetres(const PageSetup& page);

// A length kept as the file keeps it: millimetres to 0.01.
double RoundMillimetres(double length);

}  // namespace fai
