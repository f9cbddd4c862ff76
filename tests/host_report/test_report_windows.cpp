#include "Errors.h"
#include "PdfText.h"
#include "ReportBuilders.h"
#include "ReportCatalog.h"
#include "ReportDocument.h"
#include "ReportFile.h"
#include "ReportPreview.h"
#include "ReportProgressDialog.h"
#include "ReportWorkspace.h"
#include "TButtonFlat.h"
#include "TfrmDadosGerRel.h"
#include "UiTesting.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace fai;
using namespace fai::testing;

namespace {

// One row a page: the row's number, the page's number.
ReportDefinition OneRowAPage(const QString& title) {
    ReportDefinition definition;
    definition.code = "Fai004";
    definition.title = title;
    definition.parameters = {{"P_ATE", ParamType::Number}};
    definition.sql = "SELECT QTCOMEFATU AS N FROM EFETFATUR WHERE QTCOMEFATU <= :P_ATE ORDER BY N";
    ReportElement number = FieldAt({0, 0, 50, 270}, "N");
    number.valign = VAlign::Top;
    definition.detail = BandOf(BandKind::Detail, 270, {number});
    ReportElement page = Element(ElementKind::PageNumber, {0, 0, 80, 5});
    page.text = "Página {page} de {pages}";
    definition.pageFooter = BandOf(BandKind::PageFooter, 5, {page});
    return definition;
}

}  // namespace

// The preview, printing, export and the report base form's actions, on the offscreen
// platform, reading through the application server.
class ReportWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        workspace_ = std::make_unique<ReportWorkspace>(dir_);
        installed_ = workspace_->installed;
        user_ = workspace_->user;
        SaveReportFile(OneRowAPage("Números"), installed_ + "/Fai004.xml");
        SaveReportFile(OneRowAPage("Contagem"), installed_ + "/Fai004-contagem.xml");
    }
    void cleanupTestCase() { workspace_.reset(); }

    void previewPagesThroughTheReportAndZooms() {
        ReportPreview preview(Run(12));
        QVERIFY(ShowActive(preview));
        auto* label = preview.findChild<QLabel*>("lblPagina");
        QCOMPARE(label->text(), QStringLiteral("Página 1 de 12"));
        const auto click = [&preview](const char* name) {
            QTest::mouseClick(preview.findChild<QToolButton*>(name), Qt::LeftButton);
        };
        QVERIFY(!preview.findChild<QToolButton*>("btnAnterior")->isEnabled());
        click("btnProxima");
        click("btnProxima");
        QCOMPARE(label->text(), QStringLiteral("Página 3 de 12"));
        click("btnUltima");
        QCOMPARE(preview.CurrentPage(), 11);
        QVERIFY(!preview.findChild<QToolButton*>("btnProxima")->isEnabled());
        click("btnAnterior");
        QCOMPARE(preview.CurrentPage(), 10);
        click("btnPrimeira");
        QCOMPARE(preview.CurrentPage(), 0);
        QTest::keyClick(&preview, Qt::Key_PageDown);
        QTest::keyClick(&preview, Qt::Key_PageDown);
        QCOMPARE(preview.CurrentPage(), 2);
        QTest::keyClick(&preview, Qt::Key_PageUp);
        QCOMPARE(preview.CurrentPage(), 1);
        QTest::keyClick(&preview, Qt::Key_End);
        QCOMPARE(label->text(), QStringLiteral("Página 12 de 12"));
        QTest::keyClick(&preview, Qt::Key_PageDown);
        QCOMPARE(preview.CurrentPage(), 11);
        QTest::keyClick(&preview, Qt::Key_Home);
        QCOMPARE(preview.CurrentPage(), 0);

        // Zoom: the page fills the width, fits whole, or takes its size on paper times the
        // percentage.
        auto* zoom = preview.findChild<QComboBox*>("cbbZoom");
        auto* page = preview.findChild<QWidget*>("pnlPagina");
        const QWidget* viewport = page->parentWidget();
        const auto choose = [zoom](const QString& text) {
            zoom->setCurrentIndex(zoom->findText(text));
            emit zoom->activated(zoom->currentIndex());
        };
        QCOMPARE(zoom->currentText(), QStringLiteral("Largura da página"));
        QVERIFY(qAbs(page->width() - viewport->width()) <= 1);
        choose("Página inteira");
        QVERIFY(page->height() <= viewport->height() + 1);
        QVERIFY(page->width() < viewport->width());
        for (const int percent : {50, 100, 400}) {
            choose(QStringLiteral("%1%").arg(percent));
            QCOMPARE(preview.Scale(), preview.logicalDpiX() / 25.4 * percent / 100);
            QVERIFY(qAbs(page->width() - 24 - 210 * preview.Scale()) <= 1);
        }
        QCOMPARE(zoom->count(), 10);

        QTest::keyClick(&preview, Qt::Key_Escape);
        QVERIFY(!preview.isVisible());
    }

    void previewPrintsTheChosenPagesAndExportsThePdf() {
        ReportPreview preview(Run(12));
        QVERIFY(ShowActive(preview));
        const QString printed = dir_.filePath("impresso.pdf");
        const QString exported = dir_.filePath("exportado.pdf");
        QString printTitle;
        DialogScript script(mrOk, [&](QDialog& dialog) {
            if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
                printTitle = print->windowTitle();
                QPrinter* printer = print->printer();
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(printed);
                printer->setPrintRange(QPrinter::PageRange);
                printer->setFromTo(4, 6);
                return int(QDialog::Accepted);
            }
            if (auto* file = qobject_cast<QFileDialog*>(&dialog)) {
                file->selectFile(exported);
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
        QTest::mouseClick(preview.findChild<QToolButton*>("btnImprimir"), Qt::LeftButton);
        QCOMPARE(printTitle, QStringLiteral("Imprimir: Números"));
        QStringList pages = PdfPages(printed);
        QCOMPARE(pages.size(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(pages[i].contains(QStringLiteral("Página %1 de 12").arg(i + 4)),
                     qPrintable(pages[i]));
        QTest::mouseClick(preview.findChild<QToolButton*>("btnExportarPdf"), Qt::LeftButton);
        pages = PdfPages(exported);
        QCOMPARE(pages.size(), 12);
        QVERIFY(pages[11].contains(QStringLiteral("Página 12 de 12")));
        QVERIFY(script.Texts().isEmpty());
    }

    void aLongRunShowsProgressAndCanBeCancelled() {
        {
            ReportProgressDialog progress(nullptr, std::chrono::milliseconds(0));
            progress.Step(QStringLiteral("Montando as páginas"), 10, 100);
            QProgressDialog* dialog = ProgressWindow();
            QVERIFY(dialog);
            QCOMPARE(dialog->labelText(), QStringLiteral("Montando as páginas: 10 de 100"));
            QCOMPARE(dialog->value(), 10);
            progress.Step(QStringLiteral("Montando as páginas"), 20, 100);
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            QVERIFY_THROWS_EXCEPTION(EAbort,
                                     progress.Step(QStringLiteral("Montando as páginas"), 30, 100));
        }
        QVERIFY(!ProgressWindow());
        // A quick run shows nothing.
        ReportProgressDialog quick(nullptr);
        quick.Step(QStringLiteral("Lendo os dados"), 500, 0);
        QVERIFY(!ProgressWindow());
    }

    void baseFormListsRunsAndCopiesItsDefinitions() {
        TfrmDadosGerRel form;
        form.SetReportCode("Fai004");
        form.msgPadrao.SetEntries(
            {"NovoCaption|Título do relatório", "NovoPrompt|Informe o título do relatório:"});
        int asked = 0;
        form.rpddPadrao.BeforeGetQueryParams = [&asked](ReportParams& params) {
            ++asked;
            QVERIFY(params.ExistParam("p_ate"));
            params.ParamByName("P_ATE").SetAsFloat(3);
        };
        form.FormCreate();
        auto* names = form.findChild<QComboBox*>("cbbReportNames");
        QCOMPARE(Items(names), QStringList({"Contagem", "Números"}));
        QCOMPARE(names->currentIndex(), 0);

        // Preview: the chosen definition, with the screen's parameters.
        int previewPages = 0;
        {
            DialogScript script(mrOk, [&previewPages](QDialog& dialog) {
                if (auto* preview = qobject_cast<ReportPreview*>(&dialog))
                    previewPages = preview->Document().PageCount();
                return int(QDialog::Rejected);
            });
            QTest::mouseClick(form.sbtPreview, Qt::LeftButton);
            QVERIFY(script.Texts().isEmpty());
        }
        QCOMPARE(asked, 1);
        QCOMPARE(previewPages, 3);

        // Save as: the title asked with the screen's texts; empty and taken titles refused.
        QStringList answers = {"   ", "números", "Minha contagem"};
        QString caption, prompt;
        DialogScript script(mrOk, [&](QDialog& dialog) {
            auto* ask = qobject_cast<QInputDialog*>(&dialog);
            if (!ask) return int(QDialog::Rejected);
            caption = ask->windowTitle();
            prompt = ask->labelText();
            ask->setTextValue(answers.takeFirst());
            return int(QDialog::Accepted);
        });
        for (int i = 0; i < 3; ++i) QTest::mouseClick(form.sbtSalvarComo, Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Título do relatório"));
        QCOMPARE(prompt, QStringLiteral("Informe o título do relatório:"));
        QCOMPARE(script.Texts(),
                 QStringList({"Informe o título do relatório.",
                              "Já existe um relatório \"números\" de código Fai004: informe outro "
                              "título."}));
        QCOMPARE(Items(names), QStringList({"Contagem", "Números", "Minha contagem"}));
        QCOMPARE(names->currentText(), QStringLiteral("Minha contagem"));
        const ReportDefinition copy = ReadReportFile(names->currentData().toString());
        QVERIFY(copy.sql == OneRowAPage("x").sql);
        QVERIFY(names->currentData().toString().startsWith(user_));
        QCOMPARE(ReadReportFile(installed_ + "/Fai004-contagem.xml").title,
                 QStringLiteral("Contagem"));
        QFile::remove(names->currentData().toString());
    }

    void aDefinitionThatCannotBeReadIsLeftOutAndSaid() {
        QDir().mkpath(user_);
        QFile broken(user_ + "/quebrado.xml");
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("<report format=\"1\" code=\"Fai004\" title=\"Quebrado\">\n<detail>\n");
        broken.close();
        TfrmDadosGerRel form;
        form.SetReportCode("Fai004");
        DialogScript script;
        form.FormCreate();
        QFile::remove(broken.fileName());
        QCOMPARE(Items(form.cbbReportNames), QStringList({"Contagem", "Números"}));
        QCOMPARE(script.Shown().size(), std::size_t(1));
        QCOMPARE(script.Shown()[0].kind, DialogKind::Warning);
        QVERIFY2(script.Texts()[0].contains("Arquivo de relatório '" + broken.fileName() +
                                            "', linha 3: "),
                 qPrintable(script.Texts()[0]));
    }

    void aParameterTheReportDoesNotDeclareStopsTheRunWithItsMessage() {
        TfrmDadosGerRel form;
        form.SetReportCode("Fai004");
        form.rpddPadrao.BeforeGetQueryParams = [](ReportParams& params) {
            params.ParamByName("P_ATE").SetAsFloat(3);
            params.ParamByName("P_CDSERVFILI").SetAsString("T");
        };
        form.FormCreate();
        bool printed = false;
        DialogScript script(mrOk, [&printed](QDialog&) {
            printed = true;
            return int(QDialog::Rejected);
        });
        QTest::mouseClick(form.sbtPrint, Qt::LeftButton);
        QVERIFY(!printed);
        QCOMPARE(script.Texts(),
                 QStringList("O parâmetro 'P_CDSERVFILI' não foi encontrado no relatório "
                             "'Contagem' (Fai004)."));
    }

  private:
    std::unique_ptr<ReportDocument> Run(int rows) {
        NoProgress progress;
        return RunReport(
            OneRowAPage("Números"),
            [rows](ReportParams& params) { params.ParamByName("P_ATE").SetAsFloat(rows); },
            progress);
    }

    // The progress window on screen, if any.
    static QProgressDialog* ProgressWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("frmProgressoRelatorio") &&
                widget->isVisible())
                return qobject_cast<QProgressDialog*>(widget);
        }
        return nullptr;
    }

    static QStringList Items(const QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        return items;
    }

    QTemporaryDir dir_;
    std::unique_ptr<ReportWorkspace> workspace_;
    QString installed_;
    QString user_;
};

FAI_UI_TEST_MAIN(ReportWindowsTest)
#include "test_report_windows.moc"
