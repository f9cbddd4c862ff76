#include "ReportCatalog.h"
#include "ReportFile.h"
#include "ReportValidation.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fai;

namespace {

QByteArray SmallPng() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

ReportElement Element(ElementKind kind, QRectF box) {
    ReportElement element;
    element.kind = kind;
    element.box = box;
    return element;
}

// A definition that uses every element kind and every property away from its default.
ReportDefinition EveryKind() {
    ReportDefinition definition;
    definition.code = "Fai004";
    definition.title = "Listagem & <teste> \"completa\"";
    definition.page = {PaperSize::A3, PageOrientation::Landscape, 12.5, 8, 9.25, 15};
    definition.parameters = {{"P_CDFILIAL", ParamType::Text},
                             {"P_DTINICIAL", ParamType::Date},
                             {"P_VALOR", ParamType::Number},
                             {"P_CDCLIENTE", ParamType::List}};
    definition.sql =
        "SELECT A, B, C, D\nFROM T\nWHERE A = :P_CDFILIAL AND B >= :P_DTINICIAL\n"
        "  AND C < :P_VALOR AND D IN (:P_CDCLIENTE) AND E <> ']]>'\nORDER BY A, B";

    ReportElement text = Element(ElementKind::Text, {0, 0, 100, 8.5});
    text.text = "  Título <com> & espaços  ";
    text.font = {"DejaVu Serif", 14.5, true, true, true};
    text.align = HAlign::Center;
    text.valign = VAlign::Top;
    text.wordWrap = true;
    text.canGrow = true;
    text.color = QColor("#123456");
    ReportElement image = Element(ElementKind::Image, {150, 0, 20, 15});
    image.image = SmallPng();
    image.keepAspect = false;
    definition.reportHeader = ReportBand{BandKind::ReportHeader, 20, {text, image}};

    ReportElement pageNumber = Element(ElementKind::PageNumber, {200, 0, 50, 5});
    pageNumber.text = "Página {page} de {pages}";
    pageNumber.align = HAlign::Right;
    ReportElement printDate = Element(ElementKind::PrintDate, {0, 0, 40, 5});
    printDate.text = "dd/MM/yyyy HH:mm";
    printDate.valign = VAlign::Bottom;
    definition.pageHeader = ReportBand{BandKind::PageHeader, 6, {printDate, pageNumber}};

    ReportElement client = Element(ElementKind::Field, {0, 0, 60, 5});
    client.field = "A";
    client.format = {FormatKind::Registration, 2, true, "B"};
    ReportElement continued = Element(ElementKind::Text, {60, 0, 30, 5});
    continued.text = "(continuação)";
    continued.continuationOnly = true;
    ReportElement frame = Element(ElementKind::Rectangle, {0, 0, 250, 6});
    frame.penWidth = 0.5;
    frame.fill = QColor("#eeeeee");
    frame.color = QColor("#336699");
    ReportElement total = Element(ElementKind::Aggregate, {100, 0, 40, 5});
    total.function = AggregateFunction::Sum;
    total.field = "C";
    total.over = "A";
    total.format = {FormatKind::Number, 3, false, {}};
    ReportElement count = Element(ElementKind::Aggregate, {150, 0, 20, 5});
    count.function = AggregateFunction::Count;
    ReportElement rule = Element(ElementKind::Line, {0, 5, 250, 0});
    rule.penWidth = 0.35;
    ReportGroup outer{"A", true, ReportBand{BandKind::GroupHeader, 6, {frame, client, continued}},
                      ReportBand{BandKind::GroupFooter, 6, {total, count, rule}}};
    ReportGroup inner{"B", false, std::nullopt, ReportBand{BandKind::GroupFooter, 5, {}}};
    definition.groups = {outer, inner};

    ReportElement date = Element(ElementKind::Field, {0, 0, 25, 5});
    date.field = "B";
    date.format.kind = FormatKind::Date;
    ReportElement value = Element(ElementKind::Field, {30, 0, 30, 5});
    value.field = "C";
    value.format = {FormatKind::Number, 5, true, {}};
    definition.detail = ReportBand{BandKind::Detail, 5, {date, value}};

    ReportElement average = Element(ElementKind::Aggregate, {0, 0, 30, 5});
    average.function = AggregateFunction::Average;
    average.field = "C";
    ReportElement minimum = average;
    minimum.function = AggregateFunction::Minimum;
    minimum.box.moveLeft(40);
    ReportElement maximum = average;
    maximum.function = AggregateFunction::Maximum;
    maximum.box.moveLeft(80);
    definition.summary = ReportBand{BandKind::Summary, 7, {average, minimum, maximum}};
    definition.pageFooter = ReportBand{BandKind::PageFooter, 0, {}};
    return definition;
}

QByteArray Minimal(const QByteArray& inside, const QByteArray& root = R"(format="1")") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report " + root +
           " code=\"Fai004\" title=\"T\">\n" + inside + "</report>\n";
}

}  // namespace

TEST(ReportFile, EveryElementKindComesBackAsItWasWritten) {
    const ReportDefinition definition = EveryKind();
    const QByteArray written = WriteReport(definition);
    const ReportDefinition read = ParseReport(written, "every.xml");
    EXPECT_TRUE(read == definition) << written.toStdString();
    EXPECT_EQ(WriteReport(read), written);
    // Text keeps its blanks and markup characters; the query its line breaks and "]]>".
    EXPECT_EQ(read.reportHeader->elements[0].text, "  Título <com> & espaços  ");
    EXPECT_TRUE(read.sql.contains("E <> ']]>'\nORDER BY"));
    EXPECT_EQ(read.reportHeader->elements[1].image, SmallPng());
}

TEST(ReportFile, DefaultsAreLeftOutAndLengthsKeptToHundredths) {
    const QByteArray file = Minimal(R"(  <query><![CDATA[SELECT 1 AS A]]></query>
  <detail height="5.004">
    <field x="0.126" y="0" width="20" height="5" field="A"/>
  </detail>
)");
    const ReportDefinition read = ParseReport(file, "minimal.xml");
    EXPECT_DOUBLE_EQ(read.detail->height, 5.0);
    EXPECT_DOUBLE_EQ(read.detail->elements[0].box.x(), 0.13);
    EXPECT_EQ(read.page, PageSetup{});
    const QByteArray written = WriteReport(read);
    EXPECT_TRUE(written.contains(R"(<field x="0.13" y="0" width="20" height="5" field="A"/>)"))
        << written.toStdString();
    EXPECT_FALSE(written.contains("<page"));
    EXPECT_EQ(WriteReport(ParseReport(written, "again.xml")), written);
}

TEST(ReportFile, MalformedFilesSayTheLineAndWhy) {
    struct Case {
        const char* name;
        QByteArray content;
        qint64 line;
        const char* why;
    };
    const QByteArray query = "  <query>SELECT A FROM T</query>\n";
    const Case cases[] = {
        {"bad XML", Minimal(query + "  <detail height=\"5\">\n  </summary>\n"), 5, "XML inválido"},
        {"cut short", Minimal(query).left(90), 3, "termina antes"},
        {"empty file", "", 0, "vazio"},
        {"not a report", "<relatorio format=\"1\"/>", 1, "não é uma definição de relatório"},
        {"unknown element", Minimal(query + "  <detail>\n    <barcode x=\"1\"/>\n  </detail>\n"), 5,
         "elemento desconhecido <barcode> em <detail>"},
        {"unknown band", Minimal(query + "  <footer height=\"2\"/>\n"), 4,
         "elemento desconhecido <footer> em <report>"},
        {"unknown attribute",
         Minimal(query + "  <detail>\n    <text x=\"1\" colour=\"#000000\">A</text>\n"
                         "  </detail>\n"),
         5, "atributo desconhecido 'colour' em <text>"},
        {"attribute of another kind",
         Minimal(query + "  <detail>\n    <line x=\"1\" field=\"A\"/>\n  </detail>\n"), 5,
         "atributo desconhecido 'field' em <line>"},
        {"missing query", Minimal("  <detail height=\"5\"/>\n"), 2,
         "a consulta <query> está faltando"},
        {"empty query", Minimal("  <query>  </query>\n"), 3,
         "consulta: a consulta do relatório não foi informada"},
        {"query that writes", Minimal("  <query>DELETE FROM T</query>\n"), 3, "único SELECT"},
        {"newer format", Minimal(query, R"(format="2")"), 2,
         "versão 2 do formato; esta versão do programa lê até a versão 1"},
        {"no format", Minimal(query, ""), 2, "falta o atributo 'format' em <report>"},
        {"bad number", Minimal(query + "  <detail height=\"cinco\"/>\n"), 4,
         "valor inválido \"cinco\" no atributo 'height' de <detail>"},
        {"bad choice",
         Minimal(query + "  <detail>\n    <text align=\"justify\">A</text>\n  </detail>\n"), 5,
         "espera-se left, center ou right"},
        {"undeclared parameter", Minimal("  <query>SELECT A FROM T WHERE A = :P_X</query>\n"), 3,
         "a consulta usa o parâmetro :P_X, que não foi declarado"},
        {"field without a name",
         Minimal(query + "  <detail height=\"5\">\n    <field width=\"10\" height=\"5\"/>\n"
                         "  </detail>\n"),
         5, "detalhe, elemento 1 (campo): o campo não foi informado"},
        {"aggregate over no group",
         Minimal(query + "  <summary height=\"5\">\n    <aggregate function=\"sum\" "
                         "field=\"A\" over=\"B\" width=\"9\" height=\"5\"/>\n  </summary>\n"),
         5, "não há grupo pelo campo B"},
        {"element outside its band",
         Minimal(query + "  <detail height=\"5\">\n    <text y=\"2\" height=\"4\">A</text>\n"
                         "  </detail>\n"),
         5, "passa da altura da banda"},
        {"two details", Minimal(query + "  <detail height=\"5\"/>\n  <detail height=\"5\"/>\n"), 5,
         "há mais de um <detail>"},
        {"two groups by one field",
         Minimal(query + "  <group field=\"A\"/>\n  <group field=\"a\"/>\n"), 5,
         "há mais de um grupo pelo campo a"},
        {"parameter declared twice",
         Minimal("  <parameters>\n    <parameter name=\"P\" type=\"text\"/>\n"
                 "    <parameter name=\"p\" type=\"date\"/>\n  </parameters>\n" +
                 query),
         5, "o parâmetro p foi declarado mais de uma vez"},
        {"element inside text",
         Minimal(query + "  <detail>\n    <text>A<b>negrito</b></text>\n  </detail>\n"), 5,
         "<text> não pode conter <b>"},
        {"image that is no image",
         Minimal(query + "  <detail>\n    <image width=\"5\" height=\"5\">bm9p</image>\n"
                         "  </detail>\n"),
         5, "a imagem não pôde ser lida"},
        {"document type",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE report [<!ENTITY a \"aaaa\">]>\n<report/>", 2, "DTD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ParseReport(c.content, "/relatorios/ruim.xml");
            ADD_FAILURE() << "accepted";
        } catch (const EReportFileError& e) {
            EXPECT_EQ(e.File(), "/relatorios/ruim.xml");
            EXPECT_EQ(e.Line(), c.line) << e.Message().toStdString();
            EXPECT_TRUE(e.Why().contains(QString::fromUtf8(c.why))) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().startsWith("Arquivo de relatório '/relatorios/ruim.xml'"));
        }
    }
}

TEST(ReportFile, AFileThatCannotBeOpenedSaysSo) {
    try {
        ReadReportFile("/nao/existe/Fai004.xml");
        ADD_FAILURE() << "read";
    } catch (const EReportFileError& e) {
        EXPECT_EQ(e.Line(), 0);
        EXPECT_TRUE(
            e.Message().startsWith("Arquivo de relatório '/nao/existe/Fai004.xml': "
                                   "não pôde ser aberto"))
            << e.Message().toStdString();
    }
}

TEST(ReportFile, AnInvalidDefinitionIsNotWritten) {
    ReportDefinition definition = EveryKind();
    definition.detail->elements[0].field.clear();
    QTemporaryDir dir;
    const QString path = dir.filePath("r.xml");
    try {
        SaveReportFile(definition, path);
        ADD_FAILURE() << "saved";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), "detalhe, elemento 1 (campo): o campo não foi informado.");
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ReportCatalog, ListsTheCodesDefinitionsInstalledFirstByTitle) {
    QTemporaryDir root;
    const ReportFolders folders{root.filePath("instalados"), root.filePath("site"),
                                root.filePath("usuario")};
    for (const QString& folder : {folders.installed, folders.site, folders.user})
        QDir().mkpath(folder);
    const auto save = [](const QString& folder, const QString& file, const QString& code,
                         const QString& title) {
        ReportDefinition definition = EveryKind();
        definition.code = code;
        definition.title = title;
        SaveReportFile(definition, QDir(folder).filePath(file));
    };
    save(folders.user, "a.xml", "Fai004", "Antes de todos");
    save(folders.installed, "z.xml", "Fai004", "Zebra");
    save(folders.installed, "b.xml", "FAI004", "Árvore");
    save(folders.installed, "outro.xml", "Fai005", "Outro código");
    save(folders.site, "s.xml", "Fai004", "Da filial");
    QFile broken(QDir(folders.site).filePath("quebrado.xml"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<report format=\"1\" code=\"Fai004\"");
    broken.close();
    QFile ignored(QDir(folders.user).filePath("notas.txt"));
    ASSERT_TRUE(ignored.open(QIODevice::WriteOnly));

    const ReportCatalog catalog = ReportCatalog::Scan(folders, "Fai004");
    QStringList titles;
    for (const ReportEntry& entry : catalog.Entries()) titles << entry.title;
    EXPECT_EQ(titles, QStringList({"Árvore", "Zebra", "Da filial", "Antes de todos"}));
    EXPECT_EQ(catalog.Entries()[2].origin, ReportOrigin::Site);
    EXPECT_EQ(catalog.Entries()[3].origin, ReportOrigin::User);
    ASSERT_EQ(catalog.Problems().size(), 1);
    EXPECT_TRUE(catalog.Problems()[0].contains("quebrado.xml"));
    EXPECT_TRUE(catalog.HasTitle("  zebra "));
    EXPECT_FALSE(catalog.HasTitle("Outro código"));

    // The site's folder set to the installed one lists each file once.
    const ReportFolders same{folders.installed, folders.installed + "/.", folders.user};
    EXPECT_EQ(ReportCatalog::Scan(same, "Fai004").Entries().size(), 3u);
}

TEST(ReportCatalog, SaveAsCopiesUnderANewTitleAndRefusesEmptyOrTakenTitles) {
    QTemporaryDir root;
    const ReportFolders folders{root.filePath("instalados"), {}, root.filePath("novo/usuario")};
    QDir().mkpath(folders.installed);
    const QString installed = QDir(folders.installed).filePath("Fai004.xml");
    SaveReportFile(EveryKind(), installed);
    QFile original(installed);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    ReportCatalog catalog = ReportCatalog::Scan(folders, "Fai004");
    const ReportEntry source = catalog.Entries().at(0);
    for (const QString& title : {QString("   "), source.title.toUpper()}) {
        EXPECT_THROW(SaveReportCopy(catalog, source, title, folders.user), EError);
    }
    const QString copy =
        SaveReportCopy(catalog, source, "  Minha Listagem: Sul/Norte ", folders.user);
    EXPECT_EQ(QFileInfo(copy).fileName(), "Fai004-minha-listagem-sul-norte.xml");
    catalog = ReportCatalog::Scan(folders, "Fai004");
    ASSERT_EQ(catalog.Entries().size(), 2u);
    EXPECT_EQ(catalog.Entries()[1].title, "Minha Listagem: Sul/Norte");
    EXPECT_EQ(catalog.Entries()[1].origin, ReportOrigin::User);
    ReportDefinition expected = EveryKind();
    expected.title = "Minha Listagem: Sul/Norte";
    EXPECT_TRUE(ReadReportFile(copy) == expected);
    try {
        SaveReportCopy(catalog, source, "minha listagem: sul/norte", folders.user);
        ADD_FAILURE() << "saved twice";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(),
                  "Já existe um relatório \"minha listagem: sul/norte\" de código "
                  "Fai004: informe outro título.");
    }
    // A file already there under the name is never written over.
    const QString second =
        SaveReportCopy(catalog, source, "Minha listagem sul norte", folders.user);
    EXPECT_EQ(QFileInfo(second).fileName(), "Fai004-minha-listagem-sul-norte-2.xml");
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), before);
}
