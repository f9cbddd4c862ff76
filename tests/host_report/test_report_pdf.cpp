#include "BrazilianText.h"
#include "DemoSeeder.h"
#include "Errors.h"
#include "PdfText.h"
#include "ReportCatalog.h"
#include "ReportDocument.h"
#include "ReportFile.h"
#include "ReportOutput.h"
#include "ReportRepository.h"
#include "ReportTesting.h"
#include "SelectionKeys.h"
#include "SqlSession.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace fai;
using namespace fai::testing;
using appserver::test::Backend;

namespace {

// Rows of the listing: a client, a day, a count with five decimals.
struct Row {
    QString client;
    QDate day;
    qint64 hundredThousandths;
};

// A4 portrait, 10 mm margins: 277 mm of body. Page header 7 mm, page footer 10 mm: 260 mm
// for everything else.
ReportDefinition Listing(double groupHeader, double detail, double groupFooter, bool reportHeader) {
    ReportDefinition definition;
    definition.code = "Fai004";
    definition.title = "Listagem de teste";
    definition.sql =
        "SELECT CDCLIENTE AS CLIENTE, DTFATURAM AS DIA, QTCOMEFATU AS QTD FROM RELCOMENSAL "
        "ORDER BY CDCLIENTE, DTFATURAM";
    if (reportHeader)
        definition.reportHeader =
            BandOf(BandKind::ReportHeader, 12, {TextAt({0, 0, 190, 10}, "Relatório de teste")});
    ReportElement printed = Element(ElementKind::PrintDate, {150, 0, 40, 6});
    printed.text = "dd/MM/yyyy";
    definition.pageHeader =
        BandOf(BandKind::PageHeader, 7, {TextAt({0, 0, 100, 6}, "Listagem de teste"), printed});
    ReportElement continued = TextAt({60, 0, 40, groupHeader}, "(continuação)");
    continued.continuationOnly = true;
    ReportGroup group;
    group.field = "CLIENTE";
    group.header = BandOf(BandKind::GroupHeader, groupHeader,
                          {TextAt({0, 0, 20, groupHeader}, "Cliente:"),
                           FieldAt({20, 0, 40, groupHeader}, "CLIENTE"), continued});
    group.footer = BandOf(BandKind::GroupFooter, groupFooter,
                          {TextAt({0, 0, 40, groupFooter}, "Total do cliente"),
                           FieldAt({40, 0, 30, groupFooter}, "CLIENTE"),
                           AggregateAt({100, 0, 50, groupFooter}, AggregateFunction::Sum, "QTD",
                                       "CLIENTE", NumberFormat(5)),
                           AggregateAt({150, 0, 30, groupFooter}, AggregateFunction::Count, {},
                                       "CLIENTE", NumberFormat(0))});
    definition.groups = {group};
    DisplayFormat date{FormatKind::Date, 0, true, {}};
    ReportElement quantity = FieldAt({100, 0, 50, detail}, "QTD", NumberFormat(5));
    quantity.align = HAlign::Right;
    definition.detail = BandOf(BandKind::Detail, detail,
                               {FieldAt({20, 0, 30, detail}, "DIA", date), quantity,
                                FieldAt({160, 0, 20, detail}, "CLIENTE")});
    definition.summary =
        BandOf(BandKind::Summary, 8,
               {TextAt({0, 0, 40, 6}, "Total geral"),
                AggregateAt({100, 0, 50, 6}, AggregateFunction::Sum, "QTD", {}, NumberFormat(5))});
    ReportElement page = Element(ElementKind::PageNumber, {120, 2, 70, 6});
    page.text = "Página {page} de {pages}";
    page.align = HAlign::Right;
    definition.pageFooter = BandOf(BandKind::PageFooter, 10, {page});
    return definition;
}

QString Total(qint64 hundredThousandths) {
    return BrazilianLocale().toString(double(hundredThousandths) / 100000.0, 'f', 5);
}

class ReportPdf : public ServedDataTest {
  protected:
    void Fill(const std::vector<Row>& rows) {
        appserver::Transaction transaction(Seed().Session(), appserver::Transaction::Kind::Write);
        for (const Row& row : rows)
            Listed(row.client, row.client, "ALMOCO", row.day,
                   double(row.hundredThousandths) / 100000.0);
        transaction.Commit();
    }

    // `count` rows of the client, a day each from 1 March 2024, counts with five decimals.
    static std::vector<Row> Rows(const QString& client, int count, qint64 first = 1234567) {
        std::vector<Row> rows;
        for (int i = 0; i < count; ++i)
            rows.push_back({client, QDate(2024, 3, 1).addDays(i), first + 100001 * i});
        return rows;
    }

    QStringList Pdf(const ReportDefinition& definition) {
        NoProgress progress;
        const auto document = RunReport(definition, {}, progress);
        path_ = dir_.filePath("relatorio.pdf");
        ExportPdf(*document, path_, progress);
        pageCount_ = document->PageCount();
        return PdfPages(path_);
    }

    QTemporaryDir dir_;
    QString path_;
    int pageCount_ = 0;
};

TEST_P(ReportPdf, EveryPageHasItsHeaderAndFooterAndGroupsGoOnAcrossPages) {
    std::vector<Row> rows = Rows("C1", 70);
    for (const Row& row : Rows("C2", 3, 5)) rows.push_back(row);
    for (const Row& row : Rows("C3", 45, 99999)) rows.push_back(row);
    Fill(rows);
    const QStringList pages = Pdf(Listing(6, 5, 6, true));
    ASSERT_EQ(pages.size(), pageCount_);
    ASSERT_EQ(pages.size(), 3);
    const QString today = QDate::currentDate().toString("dd/MM/yyyy");
    for (int page = 0; page < pages.size(); ++page) {
        SCOPED_TRACE(page + 1);
        EXPECT_TRUE(pages[page].contains("Listagem de teste"));
        EXPECT_TRUE(pages[page].contains(today));
        EXPECT_TRUE(pages[page].contains(QString("Página %1 de 3").arg(page + 1)));
    }
    EXPECT_TRUE(pages[0].contains("Relatório de teste"));
    EXPECT_FALSE(pages[1].contains("Relatório de teste"));
    // C1 goes on over the first break: its header again, marked; a new group is not.
    static const QRegularExpression continued("Cliente:\\s+C1\\s+\\(continuação\\)");
    EXPECT_FALSE(pages[0].contains("(continuação)"));
    EXPECT_TRUE(continued.match(pages[1]).hasMatch()) << pages[1].toStdString();
    EXPECT_FALSE(pages[1].contains(QRegularExpression("Cliente:\\s+C2\\s+\\(continuação\\)")));

    // Every total is the sum worked out here; every row is printed once, formatted.
    const auto sum = [&rows](const QString& client) {
        qint64 total = 0;
        for (const Row& row : rows) {
            if (client.isEmpty() || row.client == client) total += row.hundredThousandths;
        }
        return total;
    };
    const QString all = pages.join('\n');
    for (const QString client : {"C1", "C2", "C3"}) {
        static const QRegularExpression footer("Total do cliente\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)");
        bool found = false;
        for (auto match = footer.globalMatch(all); match.hasNext();) {
            const auto m = match.next();
            if (m.captured(1) != client) continue;
            found = true;
            EXPECT_EQ(m.captured(2), Total(sum(client))) << client.toStdString();
        }
        EXPECT_TRUE(found) << client.toStdString();
    }
    EXPECT_TRUE(all.contains(
        QRegularExpression("Total geral\\s+" + QRegularExpression::escape(Total(sum({}))))));
    for (const Row& row : rows) {
        const QString line = row.day.toString("dd/MM/yyyy") + "\\s+" +
                             QRegularExpression::escape(Total(row.hundredThousandths)) + "\\s+" +
                             row.client;
        EXPECT_EQ(all.count(QRegularExpression(line)), 1) << line.toStdString();
    }
}

TEST_P(ReportPdf, PagesBreakExactlyAtTheirBoundaries) {
    // 260 mm for bands between the page header and footer, 5 mm details: 52 fill a page.
    struct Case {
        const char* name;
        std::vector<int> groupSizes;
        double groupHeader, groupFooter;
        int pages;
        // The first text of each page after the page header.
        QStringList firstLines;
    };
    const Case cases[] = {
        // One group of 51 rows with 5 mm header and no footer fills the first page exactly.
        {"details fill a page exactly", {51}, 5, 0, 1, {"Cliente:"}},
        {"one row more breaks", {52}, 5, 0, 2, {"Cliente:", "Cliente:\\s+C0\\s+\\(continuação\\)"}},
        // 43 rows, their 20 mm header and 5 mm footer leave 20 mm: room for the next header
        // alone, not with its first row. Both go to the next page.
        {"no group header left alone at the foot",
         {43, 3},
         20,
         5,
         2,
         {"Cliente:\\s+C0", "Cliente:\\s+C1\\s*$"}},
        // With one row less the header and its first row fill the page exactly.
        {"a header and its first row fill the page",
         {42, 3},
         20,
         5,
         2,
         {"Cliente:\\s+C0", "Cliente:\\s+C1\\s+\\(continuação\\)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Seed().Session().Run("DELETE FROM RELCOMENSAL");
        std::vector<Row> rows;
        for (std::size_t g = 0; g < c.groupSizes.size(); ++g) {
            for (const Row& row : Rows(QString("C%1").arg(g), c.groupSizes[g])) rows.push_back(row);
        }
        Fill(rows);
        ReportDefinition definition = Listing(c.groupHeader, 5, c.groupFooter, false);
        definition.summary.reset();
        if (c.groupFooter == 0) definition.groups[0].footer.reset();
        const QStringList pages = Pdf(definition);
        ASSERT_EQ(pages.size(), c.pages);
        for (int page = 0; page < pages.size(); ++page) {
            const QStringList lines = pages[page].split('\n', Qt::SkipEmptyParts);
            ASSERT_GE(lines.size(), 2);
            EXPECT_TRUE(lines[1].contains(QRegularExpression(c.firstLines[page])))
                << page + 1 << ": " << lines[1].toStdString();
        }
        // Every row once, whichever page it fell on.
        for (const Row& row : rows)
            EXPECT_EQ(pages.join('\n').count(row.day.toString("dd/MM/yyyy") + " "),
                      std::count_if(rows.begin(), rows.end(),
                                    [&row](const Row& other) { return other.day == row.day; }));
    }
}

TEST_P(ReportPdf, LongTextsGrowTheirBandAndEveryKindOfElementIsPrinted) {
    // Notes are the client's texts for its services 1 to 3, values those of their billed days:
    // service 2 has none.
    QStringList words;
    for (int i = 1; i <= 40; ++i) words << QString("palavra%1").arg(i);
    const QString client = "J12345678000195";
    Seed()
        .Branch("0001", "Matriz")
        .Client("J", "12345678000195", "Cliente")
        .ClientAt("0001", client);
    const QString notes[] = {words.join(' '), "SEGUNDA", "TERCEIRA"};
    for (int n = 1; n <= 3; ++n)
        Seed()
            .Service("0001", QString::number(n), "Serviço")
            .ClientService("0001", client, QString::number(n), notes[n - 1]);
    Seed()
        .Headcount({"0001", client, "1", QDate(2024, 3, 1)}, 0, 0, 2.5)
        .Headcount({"0001", client, "3", QDate(2024, 3, 1)}, 0, 0, 10);
    ReportDefinition definition;
    definition.code = "Fai004";
    definition.title = "Elementos";
    definition.sql =
        "SELECT L.CDSERVFILI AS N, L.DSEMISSERCLI AS NOTA, E.VRSERVFATUDT AS VALOR "
        "FROM SERVCLIEFILI L LEFT JOIN EFETFATUR E ON E.CDFILIAL = L.CDFILIAL AND "
        "E.CDCLIENTE = L.CDCLIENTE AND E.CDSERVFILI = L.CDSERVFILI ORDER BY L.CDSERVFILI";
    QImage logo(30, 20, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    logo.save(&buffer, "PNG");
    ReportElement image = Element(ElementKind::Image, {0, 0, 30, 20});
    image.image = png;
    ReportElement frame = Element(ElementKind::Rectangle, {35, 0, 100, 20});
    frame.fill = QColor("#eeeeee");
    definition.reportHeader = BandOf(BandKind::ReportHeader, 22,
                                     {image, frame, TextAt({40, 5, 90, 8}, "Cabeçalho com imagem"),
                                      Element(ElementKind::Line, {0, 21, 190, 0})});
    ReportElement note = FieldAt({20, 0, 40, 5}, "NOTA");
    note.wordWrap = true;
    note.canGrow = true;
    note.valign = VAlign::Top;
    definition.detail = BandOf(
        BandKind::Detail, 5,
        {FieldAt({0, 0, 15, 5}, "N"), note, FieldAt({100, 0, 30, 5}, "VALOR", NumberFormat(2))});
    definition.summary = BandOf(
        BandKind::Summary, 6,
        {AggregateAt({0, 0, 30, 5}, AggregateFunction::Count, {}, {}),
         AggregateAt({40, 0, 30, 5}, AggregateFunction::Count, "VALOR", {}),
         AggregateAt({80, 0, 30, 5}, AggregateFunction::Average, "VALOR", {}, NumberFormat(3)),
         AggregateAt({120, 0, 30, 5}, AggregateFunction::Minimum, "VALOR", {}, NumberFormat(2)),
         AggregateAt({160, 0, 30, 5}, AggregateFunction::Maximum, "VALOR", {}, NumberFormat(2))});
    const QStringList pages = Pdf(definition);
    ASSERT_EQ(pages.size(), 1);
    const QStringList lines = pages[0].split('\n', Qt::SkipEmptyParts);
    // The note wraps over lines of its own; the next row comes after its last word.
    const auto lineOf = [&lines](const QString& text) {
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].contains(QRegularExpression("\\b" + text + "\\b"))) return i;
        }
        return -1;
    };
    const int first = lineOf("palavra1");
    const int last = lineOf("palavra40");
    ASSERT_GE(first, 0);
    EXPECT_GT(last, first + 2);
    EXPECT_EQ(lineOf("SEGUNDA"), last + 1);
    for (const QString& word : words) EXPECT_GE(lineOf(word), 0) << word.toStdString();
    EXPECT_TRUE(pages[0].contains("Cabeçalho com imagem"));
    EXPECT_TRUE(pages[0].contains(QRegularExpression("3\\s+2\\s+6,250\\s+2,50\\s+10,00")))
        << pages[0].toStdString();
    const QString images = ProgramOutput("pdfimages", {"-list", path_});
    EXPECT_EQ(images.split('\n', Qt::SkipEmptyParts).size(), 3) << images.toStdString();
    EXPECT_TRUE(images.contains(QRegularExpression("\\b30\\s+20\\b"))) << images.toStdString();
}

TEST_P(ReportPdf, APdfThatCannotBeWrittenSaysWhere) {
    Fill(Rows("C1", 1));
    NoProgress progress;
    const auto document = RunReport(Listing(6, 5, 6, false), {}, progress);
    const QString path = dir_.filePath("nao/existe/relatorio.pdf");
    try {
        ExportPdf(*document, path, progress);
        ADD_FAILURE() << "written";
    } catch (const EError& e) {
        EXPECT_TRUE(e.Message().startsWith("Não foi possível gravar o PDF em '" + path + "': "))
            << e.Message().toStdString();
    }
}

TEST_P(ReportPdf, ThePdfKeepsItsFontsTitleAndAuthor) {
    Fill(Rows("C1", 2));
    Pdf(Listing(6, 5, 6, false));
    const QString fonts = ProgramOutput("pdffonts", {path_});
    const QStringList lines = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(lines.isEmpty()) << fonts.toStdString();
    for (const QString& line : lines) {
        EXPECT_TRUE(line.contains("DejaVu")) << line.toStdString();
        EXPECT_TRUE(line.contains(QRegularExpression("\\byes\\s+(yes|no)\\s+(yes|no)\\s+\\d")))
            << "not embedded: " << line.toStdString();
    }
    const QString info = ProgramOutput("pdfinfo", {"-meta", path_});
    EXPECT_TRUE(info.contains("<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>Listagem de teste"))
        << info.toStdString();
    EXPECT_TRUE(info.contains("<rdf:li>" + ReportAuthor() + "</rdf:li>")) << info.toStdString();
    EXPECT_TRUE(ProgramOutput("pdfinfo", {path_})
                    .contains(QRegularExpression("Title:\\s+Listagem de teste")));
}

// Rendering does not depend on the database: SQLite is enough.
INSTANTIATE_TEST_SUITE_P(Sqlite, ReportPdf, ::testing::Values(Backend::Sqlite),
                         appserver::test::BackendNamer());

// The definitions installed with the program, found from the build tree, over the demo data
// the application server seeds.
class InstalledReports : public ServedDataTest {
  protected:
    void SetUp() override {
        ServedDataTest::SetUp();
        if (IsSkipped()) return;
        appserver::SqlSession& session = Seed().Session();
        ASSERT_TRUE(appserver::DemoSeeder(session, kToday).SeedIfEmpty());
        // The working data the server generates for the listing, under a number of its own.
        appserver::ReportRepository reports(session);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        number_ = QString::number(reports.NewNumber("0001", now));
        reports.Fill(number_.toLongLong(), "0001", kToday.addDays(-29), kToday, now);
    }

    // The billed diners of the demo branch's lunch and dinner in the last thirty days, summed
    // here in hundred-thousandths.
    qint64 BilledSum(const QString& client) {
        qint64 sum = 0;
        for (const QVariantList& row : Seed().Rows(
                 "SELECT QTCOMEFATU FROM EFETFATUR WHERE CDFILIAL = '0001' AND DTFATURAM BETWEEN "
                 "? AND ? AND CDSERVFILI IN ('00001', '00002') AND (? = 'T' OR CDCLIENTE = ?)",
                 {appserver::SqlDate(kToday.addDays(-29)), appserver::SqlDate(kToday), client,
                  client}))
            sum += std::llround(row[0].toDouble() * 100000);
        return sum;
    }

    static inline const QDate kToday{2026, 11, 30};
    QString number_;
};

TEST_P(InstalledReports, TheListingRunsOverTheDemoDataAndItsFileIsWrittenAsItIs) {
    const ReportCatalog catalog = ReportCatalog::Scan(CurrentReportFolders(), "Fai004");
    EXPECT_TRUE(catalog.Problems().isEmpty()) << catalog.Problems().join('\n').toStdString();
    ASSERT_FALSE(catalog.Entries().empty());
    EXPECT_EQ(catalog.Entries()[0].title, "Listagem de Comensais");
    for (const QFileInfo& file :
         QDir(CurrentReportFolders().installed).entryInfoList({"*.xml"}, QDir::Files)) {
        QFile content(file.absoluteFilePath());
        ASSERT_TRUE(content.open(QIODevice::ReadOnly));
        EXPECT_EQ(WriteReport(ReadReportFile(file.absoluteFilePath())), content.readAll())
            << file.fileName().toStdString();
    }

    const QString firstClient =
        Seed()
            .Rows("SELECT MIN(CDCLIENTE) FROM EFETFATUR WHERE CDFILIAL = '0001'")[0][0]
            .toString();
    QTemporaryDir dir;
    for (const QString& client : {QString("T"), firstClient}) {
        SCOPED_TRACE(client.toStdString());
        NoProgress progress;
        const auto document = RunReport(
            ReadReportFile(catalog.Entries()[0].path),
            [this, &client](ReportParams& params) {
                params.ParamByName("P_CDFILIAL").SetAsString("0001");
                params.ParamByName("P_NRAPURACGD").SetAsString(number_);
                params.ParamByName("P_DTINICIAL").SetAsDateTime(kToday.addDays(-29));
                params.ParamByName("P_DTFINAL").SetAsDateTime(kToday);
                params.ParamByName("P_DTINICIAL_D").SetAsDateTime(kToday.addDays(-29));
                params.ParamByName("P_DTFINAL_D").SetAsDateTime(kToday);
                params.ParamByName("P_CDCLIENTE")
                    .SetAsString(client == "T" ? client : JoinKeys({client}));
                params.ParamByName("P_CDSERVFILI").SetAsString(JoinKeys({"00001", "00002"}));
            },
            progress);
        const QString path = dir.filePath("listagem.pdf");
        ExportPdf(*document, path, progress);
        const QStringList pages = PdfPages(path);
        ASSERT_EQ(pages.size(), document->PageCount());
        for (int page = 0; page < pages.size(); ++page) {
            EXPECT_TRUE(pages[page].contains(QRegularExpression("Filial:\\s+0001\\s+São Paulo")));
            EXPECT_TRUE(
                pages[page].contains(QString("Página %1 de %2").arg(page + 1).arg(pages.size())));
        }
        const QString all = pages.join('\n');
        EXPECT_TRUE(all.contains(QRegularExpression(
            "Total da Filial\\s+" + QRegularExpression::escape(BrazilianLocale().toString(
                                        double(BilledSum(client)) / 100000.0, 'f', 3)))))
            << all.right(400).toStdString();
        EXPECT_FALSE(all.contains("CAFE DA MANHA"));
        EXPECT_TRUE(
            all.contains(QRegularExpression("Cliente:\\s+\\d{2}\\.\\d{3}\\.\\d{3}/"
                                            "\\d{4}-\\d{2}|\\d{3}\\.\\d{3}\\.\\d{3}-\\d{2}")));
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, InstalledReports, appserver::test::kBackends,
                         appserver::test::BackendNamer());

}  // namespace
