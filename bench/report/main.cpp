// The report engine on a long listing: 10,000 detail rows in three group levels, read as the
// host reads them, through the application server (started in this process over an SQLite
// file). Measures the whole PDF (query, layout and every page written), the preview's first
// page on screen, and the preview's memory at 1,000 and 10,000 rows, each memory figure in a
// process of its own so that one run's peak does not hide behind another's.

#include "AppServer.h"
#include "CallLog.h"
#include "Errors.h"
#include "ReportBuilders.h"
#include "ReportDocument.h"
#include "ReportOutput.h"
#include "ReportPreview.h"
#include "ServerGeneralData.h"
#include "SqlSession.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
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
        "SELECT CDFILIAL AS FILIAL, CDCLIENTE AS CLIENTE, CDSERVFILI AS SERVICO, DTFATURAM AS DIA, "
        "QTCOMEFATU AS FATURADOS, QTCOMEPREV AS PREVISTOS, VRSERVFATUDT AS VALOR FROM EFETFATUR "
        "ORDER BY CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM";
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

// The host's general data module over the server on this machine's `port`, while it lives.
class ReadingThrough {
  public:
    explicit ReadingThrough(int port) {
        SetGeneralData(std::make_shared<ServerGeneralData>("127.0.0.1", port));
    }
    ~ReadingThrough() { SetGeneralData(nullptr); }
    ReadingThrough(const ReadingThrough&) = delete;
    ReadingThrough& operator=(const ReadingThrough&) = delete;
};

// The application server on 127.0.0.1 over an SQLite file of its own.
class ServedData {
  public:
    explicit ServedData(const QString& path)
        : location_(DatabaseLocation::Parse("sqlite:" + path)),
          log_([](const QString&) {}),
          server_(Config(location_), log_) {
        server_.Start();
    }
    ~ServedData() { server_.Shutdown(); }

    int Port() const { return server_.Port(); }

    // 4 branches, 10 clients each, 5 services each, billed on days that run on until the
    // rows are made.
    void Seed(int rows) {
        appserver::SqlSession session(location_);
        appserver::Transaction transaction(session, appserver::Transaction::Kind::Write);
        const int series = 4 * 10 * 5;
        for (int serie = 0; serie < std::min(rows, series); ++serie) {
            const Serie key = Key(serie);
            if (serie % 50 == 0)
                session.Run("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES (?, ?)",
                            {key.branch, "Filial " + key.branch});
            if (serie % 50 < 5)
                session.Run(
                    "INSERT INTO SERVICO (CDFILIAL, CDSERVFILI, NMSERVICO) VALUES (?, ?, ?)",
                    {key.branch, key.service, "Serviço " + key.service});
            if (serie % 5 == 0) {
                session.Run(
                    "INSERT INTO CLIENTE (CDCLIENTE, IDTPIJURCLIE, NRINSJURCLIE, "
                    "NMRAZSOCCLIE) VALUES (?, 'J', ?, ?)",
                    {key.client, key.client.mid(1), "Cliente " + key.client});
                session.Run("INSERT INTO CLIENFILIAL (CDFILIAL, CDCLIENTE) VALUES (?, ?)",
                            {key.branch, key.client});
            }
            session.Run(
                "INSERT INTO SERVCLIEFILI (CDFILIAL, CDCLIENTE, CDSERVFILI) VALUES (?, ?, ?)",
                {key.branch, key.client, key.service});
        }
        for (int row = 0; row < rows; ++row) {
            const Serie key = Key(row % series);
            session.Run(
                "INSERT INTO EFETFATUR (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, "
                "QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT) VALUES (?, ?, ?, ?, ?, ?, ?)",
                {key.branch, key.client, key.service,
                 appserver::SqlDate(QDate(2024, 1, 1).addDays(row / series)),
                 100 + (row * 37) % 250 + 0.125, 300.0, 12.5 + (row % 7)});
        }
        transaction.Commit();
    }

  private:
    struct Serie {
        QString branch, client, service;
    };

    static Serie Key(int serie) {
        return {QString("%1").arg(serie / 50 + 1, 4, 10, QChar('0')),
                QString("J%1").arg(serie / 5 * 7919 + 10000000000000, 14, 10, QChar('0')),
                QString("%1").arg(serie % 5 + 1, 5, 10, QChar('0'))};
    }

    static appserver::AppServerConfig Config(const DatabaseLocation& location) {
        appserver::AppServerConfig config;
        config.listenAddress = "127.0.0.1:0";
        config.database = location;
        config.workers = 2;
        return config;
    }

    const DatabaseLocation location_;
    appserver::CallLog log_;
    appserver::AppServer server_;
};

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

// The child process of a memory measurement, reading through the server at `port`: opens the
// preview, goes through every page, prints its resident memory after the first page and at
// the end, and its peak.
int MeasurePreviewMemory(int port) {
    ReadingThrough reading(port);
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

// The figures over `rows` rows, each the median of `runs` runs.
int Measure(int rows, int runs) {
    QTemporaryDir dir;
    ServedData data(dir.filePath("bench.sqlite"));
    data.Seed(rows);
    ReadingThrough reading(data.Port());
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
        // The child reads through a server of this process, as a host reads through its
        // server: its memory is the host's alone.
        ServedData memoryData(dir.filePath(QString("memoria-%1.sqlite").arg(memoryRows)));
        memoryData.Seed(memoryRows);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--memory-child", QString::number(memoryData.Port())});
        if (!child.waitForFinished(600000) || child.exitCode() != 0) {
            std::fprintf(stderr, "bench_report: memory run failed\n");
            return 2;
        }
        std::printf("  %d %s", memoryRows, child.readAllStandardOutput().constData());
    }
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
    const QCommandLineOption memoryOption("memory-child", "Uso interno: mede a memória.", "porta");
    parser.addOptions({rowsOption, runsOption, memoryOption});
    parser.process(app);
    const int rows = parser.value(rowsOption).toInt();
    try {
        if (parser.isSet(memoryOption))
            return MeasurePreviewMemory(parser.value(memoryOption).toInt());
        return Measure(rows, std::max(1, parser.value(runsOption).toInt()));
    } catch (const EError& e) {
        std::fprintf(stderr, "bench_report: %s\n", qPrintable(e.Message()));
        return 2;
    }
}
