#include "ReportOutput.h"

#include "DialogService.h"
#include "Errors.h"
#include "ReportProgressDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>

namespace fai {
namespace {

constexpr int kPdfResolution = 1200;

QPageLayout LayoutOf(const ReportDocument& document) {
    const PageSetup& page = document.Definition().page;
    QSizeF portrait = document.PageMillimetres();
    if (page.orientation == PageOrientation::Landscape) portrait.transpose();
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                       page.orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

// The document's properties as XMP: title, author and the program that made it.
QByteArray Metadata(const ReportDocument& document) {
    return QStringLiteral(
               "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
               "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
               "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
               "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'"
               " xmlns:xmp='http://ns.adobe.com/xap/1.0/' "
               "xmlns:pdf='http://ns.adobe.com/pdf/1.3/'>\n"
               "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n"
               "<dc:creator><rdf:Seq><rdf:li>%2</rdf:li></rdf:Seq></dc:creator>\n"
               "<xmp:CreatorTool>%3</xmp:CreatorTool>\n"
               "<pdf:Producer>%3</pdf:Producer>\n"
               "</rdf:Description>\n"
               "</rdf:RDF>\n"
               "</x:xmpmeta>\n"
               "<?xpacket end='w'?>\n")
        .arg(Escaped(document.Title()), Escaped(ReportAuthor()),
             Escaped(QCoreApplication::applicationName()))
        .toUtf8();
}

// Paints the pages, each on a new page of the device but the first.
template <typename NewPage>
void PaintPages(const ReportDocument& document, QPainter& painter, int first, int last,
                double dotsPerMillimetre, const QString& stage, ReportProgress& progress,
                NewPage newPage) {
    for (int page = first; page <= last; ++page) {
        progress.Step(stage, page - first, last - first + 1);
        if (page > first) newPage();
        document.PaintPage(painter, page, dotsPerMillimetre);
    }
}

}  // namespace

QString ReportAuthor() {
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString user = qEnvironmentVariable(variable);
        if (!user.isEmpty()) return user;
    }
    return QCoreApplication::applicationName();
}

void ExportPdf(const ReportDocument& document, const QString& path, ReportProgress& progress) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EError(QStringLiteral("Não foi possível gravar o PDF em '%1': %2")
                         .arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(LayoutOf(document));
        writer.setTitle(document.Title());
        writer.setCreator(QCoreApplication::applicationName());
        writer.setDocumentXmpMetadata(Metadata(document));
        QPainter painter(&writer);
        PaintPages(document, painter, 0, document.PageCount() - 1, kPdfResolution / 25.4,
                   QStringLiteral("Gerando o PDF"), progress, [&writer] { writer.newPage(); });
        painter.end();
    }
    if (!file.commit())
        throw EError(QStringLiteral("Não foi possível gravar o PDF em '%1': %2")
                         .arg(path, file.errorString()));
}

void PrintReport(const ReportDocument& document, QPrinter& printer, ReportProgress& progress) {
    printer.setFullPage(true);
    printer.setPageLayout(LayoutOf(document));
    printer.setDocName(document.Title());
    printer.setCreator(QCoreApplication::applicationName());
    int first = 0;
    int last = document.PageCount() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::clamp(printer.fromPage() - 1, 0, last);
        last = std::clamp(printer.toPage() - 1, first, last);
    }
    // A printer that cannot make copies itself gets each copy sent in turn.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QPainter painter;
    if (!painter.begin(&printer))
        throw EError(QStringLiteral("Não foi possível iniciar a impressão em '%1'.")
                         .arg(printer.printerName()));
    const double dotsPerMillimetre = printer.resolution() / 25.4;
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0) printer.newPage();
        PaintPages(document, painter, first, last, dotsPerMillimetre, QStringLiteral("Imprimindo"),
                   progress, [&printer] { printer.newPage(); });
    }
    painter.end();
}

void PrintWithDialog(const ReportDocument& document, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(LayoutOf(document));
    printer.setDocName(document.Title());
    printer.setFromTo(1, document.PageCount());
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("dlgImprimir"));
    dialog.setWindowTitle(QStringLiteral("Imprimir: %1").arg(document.Title()));
    dialog.setMinMax(1, document.PageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (DialogService::Instance().ExecModal(dialog) != QDialog::Accepted) return;
    ReportProgressDialog progress(parent);
    PrintReport(document, printer, progress);
}

void ExportPdfWithDialog(const ReportDocument& document, QWidget* parent) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(parent, QStringLiteral("Exportar para PDF"),
                       QDir(folder).filePath(document.Title() + QStringLiteral(".pdf")),
                       QStringLiteral("PDF (*.pdf)"));
    dialog.setObjectName(QStringLiteral("dlgExportarPdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (DialogService::Instance().ExecModal(dialog) != QDialog::Accepted) return;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return;
    ReportProgressDialog progress(parent);
    ExportPdf(document, chosen.first(), progress);
}

}  // namespace fai
