// The report engine on a long listing: 10,000 detail rows in three group levels. Measures the
// whole PDF (query, layout and every page written), the preview's first page on screen, and
// the preview's memory at 1,000 and 10,000 rows, each memory figure in a process of its own so
// that one run's peak does not hide behind another's.

#include "ReportBuilders.h"
#include "ReportDocument.h"
#include "ReportOutput.h"
#include "ReportPreview.h"
#include "SharedDatabase.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace fai;
using namespace fai::testing;

namespace {

ReportElement Bold(ReportElement element) {
    element.font.bold = true;
    return element;
}

ReportElement Right(ReportElement element) {
    element.align = HAlign::Right;
    return element;
}

ReportElement Sum(QRectF box, const QString& field, const QString& over) {
    return Bold(Right(AggregateAt(box, AggregateFunction::Sum, field, over, NumberFormat(3))));
}

// The listing's shape: branch, client and service groups, a row a day.
ReportDefinition Listing() {
    ReportDefinition definition;
    definition.code = "BENCH";
    definition.title = "Listagem de comensais (bench)";
    definition.sql =
        "SELECT FILIAL, CLIENTE, SERVICO, DIA, FATURADOS, PREVISTOS, VALOR FROM LINHAS "
        "ORDER BY FILIAL, CLIENTE, SERVICO, DIA";
    ReportElement printed = Element(ElementKind::PrintDate, {130, 0, 60, 5});
    printed.text = "dd/MM/yyyy HH:mm";
    printed.align = HAlign::Right;
    definition.pageHeader = ReportBand{
        BandKind::PageHeader,
        12,
        {Bold(TextAt({0, 0, 120, 6}, definition.title)), printed, TextAt({20, 6, 25, 5}, "Data"),
         TextAt({100, 6, 30, 5}, "Faturados"), TextAt({130, 6, 30, 5}, "Previstos"),
         TextAt({160, 6, 30, 5}, "Valor"), Element(ElementKind::Line, {0, 11.5, 190, 0})}};
    const QStringList levels = {"FILIAL", "CLIENTE", "SERVICO"};
    for (int level = 0; level < 3; ++level) {
        const QString& field = levels[level];
        ReportElement continued = TextAt({150, 0, 40, 5}, "(continuação)");
        continued.continuationOnly = true;
        ReportGroup group;
        group.field = field;
        group.header = ReportBand{BandKind::GroupHeader,
                                  6,
                                  {Bold(TextAt({level * 5.0, 0, 25, 5}, field + ":")),
                                   FieldAt({level * 5.0 + 25, 0, 60, 5}, field), continued}};
        group.footer = ReportBand{
            BandKind::GroupFooter,
            6,
            {TextAt({60, 0, 40, 5}, "Total " + field.toLower()),
             Sum({100, 0, 30, 5}, "FATURADOS", field), Sum({130, 0, 30, 5}, "PREVISTOS", field),
             Sum({160, 0, 30, 5}, "VALOR", field)}};
        definition.groups.push_back(group);
    }
    definition.detail = ReportBand{BandKind::Detail,
                                   5,
                                   {FieldAt({20, 0, 25, 5}, "DIA", {FormatKind::Date, 0, true, {}}),
                                    Right(FieldAt({100, 0, 30, 5}, "FATURADOS", NumberFormat(3))),
                                    Right(FieldAt({130, 0, 30, 5}, "PREVISTOS", NumberFormat(3))),
                                    Right(FieldAt({160, 0, 30, 5}, "VALOR", NumberFormat(2)))}};
    definition.summary = ReportBand{
        BandKind::Summary,
        8,
        {Bold(TextAt({60, 1, 40, 6}, "Total geral")), Sum({100, 1, 30, 6}, "FATURADOS", {}),
         Sum({130, 1, 30, 6}, "PREVISTOS", {}), Sum({160, 1, 30, 6}, "VALOR", {})}};
    ReportElement page = Element(ElementKind::PageNumber, {120, 2, 70, 5});
    page.text = "Página {page} de {pages}";
    page.align = HAlign::Right;
    definition.pageFooter = ReportBand{BandKind::PageFooter, 8, {page}};
    return definition;
}

// 4 branches, 10 clients each, 5 services each; days run on until the rows are made.
bool Seed(const QString& path, int rows) {
    SharedDatabaseSettings settings;
    settings.databaseName = path;
    RegisterSharedDatabase(settings);
    QSqlDatabase database = QSqlDatabase::database(SharedConnectionName());
    QSqlQuery query(database);
    if (!query.exec("CREATE TABLE LINHAS (FILIAL VARCHAR(4), CLIENTE VARCHAR(21), SERVICO "
                    "VARCHAR(5), DIA DATE, FATURADOS DOUBLE PRECISION, PREVISTOS DOUBLE "
                    "PRECISION, VALOR DOUBLE PRECISION)"))
        return false;
    database.transaction();
    query.prepare("INSERT INTO LINHAS VALUES (?, ?, ?, ?, ?, ?, ?)");
    const int series = 4 * 10 * 5;
    for (int row = 0; row < rows; ++row) {
        const int serie = row % series;
        query.addBindValue(QString("%1").arg(serie / 50 + 1, 4, 10, QChar('0')));
        query.addBindValue(
            QString("J%1").arg(serie / 5 * 7919 + 10000000000000, 14, 10, QChar('0')));
        query.addBindValue(QString("%1").arg(serie % 5 + 1, 5, 10, QChar('0')));
        query.addBindValue(QDate(2024, 1, 1).addDays(row / series));
        query.addBindValue(100 + (row * 37) % 250 + 0.125);
        query.addBindValue(300.0);
        query.addBindValue(12.5 + (row % 7));
        if (!query.exec()) return false;
    }
    return database.commit();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long Kilobytes(const char* key) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ')[0].toLong();
    }
    return -1;
}

struct PreviewFigures {
    double firstPageMs = 0;
    int pages = 0;
};

// Runs the report into the preview and paints its first page as the window would.
PreviewFigures OpenPreview(std::unique_ptr<ReportPreview>& preview) {
    QElapsedTimer clock;
    clock.start();
    NoProgress progress;
    preview = std::make_unique<ReportPreview>(RunReport(Listing(), {}, progress));
    preview->show();
    preview->findChild<QWidget*>("pnlPagina")->repaint();
    return {clock.nsecsElapsed() / 1e6, preview->Document().PageCount()};
}

// The child process of a memory measurement: opens the preview, goes through every page,
// prints its resident memory after the first page and at the end, and its peak.
int MeasurePreviewMemory(const QString& database, int rows) {
    if (!Seed(database, rows)) return 2;
    const long before = Kilobytes("VmRSS:");
    std::unique_ptr<ReportPreview> preview;
    const PreviewFigures figures = OpenPreview(preview);
    QCoreApplication::processEvents();
    const long first = Kilobytes("VmRSS:");
    auto* page = preview->findChild<QWidget*>("pnlPagina");
    for (int p = 1; p < figures.pages; ++p) {
        preview->ShowPage(p);
        page->repaint();
    }
    std::printf("%d %ld %ld %ld %ld\n", figures.pages, before, first, Kilobytes("VmRSS:"),
                Kilobytes("VmHWM:"));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Mede o motor de relatórios numa listagem longa.");
    parser.addHelpOption();
    const QCommandLineOption rowsOption("rows", "Linhas de detalhe (padrão 10000).", "n", "10000");
    const QCommandLineOption runsOption("runs", "Repetições de cada medida (padrão 5).", "n", "5");
    const QCommandLineOption memoryOption("memory-child", "Uso interno: mede a memória.", "banco");
    parser.addOptions({rowsOption, runsOption, memoryOption});
    parser.process(app);
    const int rows = parser.value(rowsOption).toInt();
    if (parser.isSet(memoryOption)) return MeasurePreviewMemory(parser.value(memoryOption), rows);

    QTemporaryDir dir;
    if (!Seed(dir.filePath("bench.sqlite"), rows)) {
        std::fprintf(stderr, "bench_report: could not seed the database\n");
        return 2;
    }
    const int runs = std::max(1, parser.value(runsOption).toInt());
    std::vector<double> pdf, layout, preview;
    int pages = 0;
    for (int run = 0; run < runs; ++run) {
        NoProgress progress;
        QElapsedTimer clock;
        clock.start();
        const auto document = RunReport(Listing(), {}, progress);
        layout.push_back(clock.nsecsElapsed() / 1e6);
        ExportPdf(*document, dir.filePath("bench.pdf"), progress);
        pdf.push_back(clock.nsecsElapsed() / 1e6);
        pages = document->PageCount();
        std::unique_ptr<ReportPreview> window;
        preview.push_back(OpenPreview(window).firstPageMs);
    }
    std::printf("rows %d, pages %d, PDF %lld bytes, median of %d runs\n", rows, pages,
                QFile(dir.filePath("bench.pdf")).size(), runs);
    std::printf(
        "query + layout: %.0f ms\nwhole PDF (query, layout, every page written): %.0f ms\n"
        "preview, first page painted (query and layout included): %.0f ms\n",
        Median(layout), Median(pdf), Median(preview));

    std::printf("preview memory (KiB): rows pages before first-page after-all-pages peak\n");
    for (const int memoryRows : {rows / 10, rows}) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--rows", QString::number(memoryRows), "--memory-child",
                     dir.filePath(QString("memoria-%1.sqlite").arg(memoryRows))});
        if (!child.waitForFinished(600000) || child.exitCode() != 0) {
            std::fprintf(stderr, "bench_report: memory run failed\n");
            return 2;
        }
        std::printf("  %d %s", memoryRows, child.readAllStandardOutput().constData());
    }
    UnregisterSharedDatabase();
    return 0;
}
