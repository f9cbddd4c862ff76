// The diners listing screen as a billing supervisor works it, with the real application server
// behind it on a fresh SQLite file and the definitions installed with the program.
#include "BrazilianText.h"
#include "Cli_fai00401.h"
#include "Errors.h"
#include "HeadcountFixture.h"
#include "ListingPdf.h"
#include "ListingRun.h"
#include "PdfText.h"
#include "ReportCatalog.h"
#include "ReportDocument.h"
#include "ReportFile.h"
#include "ReportOutput.h"
#include "ReportPreview.h"
#include "ScreenCursor.h"
#include "SelectionKeys.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"

#include <QAbstractItemModel>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>

using namespace fai;
using namespace fai::testing;

namespace {

const QString kOtherBranch = QStringLiteral("0002");
const QString kPersonNumber = QStringLiteral("52998224725");
const QString kPerson = QStringLiteral("F") + kPersonNumber;
const QString kPersonName = QStringLiteral("Ana Beatriz Souza");
const QDate kFirst(2026, 3, 1);
const QDate kLast(2026, 3, 31);

// March at the branch: the company's lunch every day and dinner on weekdays, the person's
// lunch every day; the company's lunch at the other branch too.
void SeedMonth(HeadcountFixture& f) {
    f.SeedClientWithServices()
        .Seed()
        .Client(QStringLiteral("F"), kPersonNumber, kPersonName)
        .ClientAt(kBranch, kPerson)
        .ClientService(kBranch, kPerson, kLunch)
        .Branch(kOtherBranch, QStringLiteral("Filial Sorocaba"))
        .Service(kOtherBranch, kLunch, QStringLiteral("ALMOCO"))
        .ClientAt(kOtherBranch, kClient)
        .ClientService(kOtherBranch, kClient, kLunch);
    for (QDate day = kFirst; day <= kLast; day = day.addDays(1)) {
        const int n = day.day();
        f.Seed().Headcount({kBranch, kClient, kLunch, day}, 100 + n % 7, 100, 12.5 + n);
        if (day.dayOfWeek() <= 5)
            f.Seed().Headcount({kBranch, kClient, kDinner, day}, 40.125 + n % 3, 40);
        f.Seed().Headcount({kBranch, kPerson, kLunch, day}, 1, 1, 15);
        f.Seed().Headcount({kOtherBranch, kClient, kLunch, day}, 7, 7);
    }
}

// The listing screen made as the module makes it and shown, worked without the modal loop;
// it goes with the case.
class Listing {
  public:
    explicit Listing(HeadcountFixture& f) : f_(f) {
        screen_ = CreateForm<TfrmRelListComen>(nullptr);
        if (!ShowActive(*screen_)) qFatal("the listing screen did not become active");
        f.TakeMessages();
    }
    ~Listing() { delete screen_.data(); }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    TfrmRelListComen* operator->() const { return screen_.data(); }
    bool Open() const { return screen_ && screen_->isVisible(); }
    QString Focused() const { return QApplication::focusWidget()->objectName(); }

    void Period(const QDate& first, const QDate& last) {
        screen_->depDtInicial->SetDate(first);
        screen_->depDtFinal->SetDate(last);
    }
    void Click(const char* button) { screen_->findChild<TButtonFlat*>(button)->click(); }
    // What the preview shows, as a PDF reader reads it; nothing when none was shown.
    QStringList Preview() {
        QStringList pages;
        f_.RunModalsWith([&pages, this](QDialog& dialog) {
            if (auto* preview = qobject_cast<ReportPreview*>(&dialog)) pages = PdfOf(*preview);
            return int(QDialog::Rejected);
        });
        Click("sbtPreview");
        return pages;
    }
    // What the printer prints, as a PDF reader reads it.
    QStringList Print() {
        const QString path = dir_.filePath(QStringLiteral("impresso.pdf"));
        f_.RunModalsWith([&path](QDialog& dialog) {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (!print) return int(QDialog::Rejected);
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(path);
            return int(QDialog::Accepted);
        });
        Click("sbtPrint");
        return PdfPages(path);
    }
    bool Close() {
        screen_->close();
        return !Open();
    }

  private:
    QStringList PdfOf(const ReportPreview& preview) {
        const QString path = dir_.filePath(QStringLiteral("visualizado.pdf"));
        NoProgress progress;
        ExportPdf(preview.Document(), path, progress);
        return PdfPages(path);
    }

    HeadcountFixture& f_;
    QPointer<TfrmRelListComen> screen_;
    QTemporaryDir dir_;
};

// A definition declaring the named parameters (all nine when none are named), for the
// parameters the screen sets.
ReportDefinition Declaring(const QStringList& names = {}) {
    const ReportDefinition installed =
        ReadReportFile(ReportCatalog::Scan(CurrentReportFolders(), "Fai004").Entries()[0].path);
    ReportDefinition definition = installed;
    if (names.isEmpty()) return definition;
    definition.parameters.clear();
    for (const ReportParameter& parameter : installed.parameters) {
        if (names.contains(parameter.name)) definition.parameters.push_back(parameter);
    }
    return definition;
}

// The sums of a client's headcounts at the branch in the period, read from the database and
// written as the listing writes them.
QString Totals(HeadcountFixture& f, const QString& client, const QString& branch = kBranch) {
    const QList<QVariantList> rows = f.Seed().Rows(
        QStringLiteral("SELECT SUM(QTCOMEFATU), SUM(QTCOMEPREV) FROM EFETFATUR "
                       "WHERE CDFILIAL = ? AND CDCLIENTE = ? AND DTFATURAM BETWEEN ? AND ?"),
        {branch, client, kFirst.toString(Qt::ISODate), kLast.toString(Qt::ISODate)});
    const QVariantList& sums = rows.first();
    return QStringLiteral("%1\\s+%2")
        .arg(QRegularExpression::escape(BrazilianLocale().toString(sums[0].toDouble(), 'f', 3)),
             QRegularExpression::escape(BrazilianLocale().toString(sums[1].toDouble(), 'f', 3)));
}

bool Holds(const QString& text, const QString& pattern) {
    return text.contains(QRegularExpression(pattern));
}

}  // namespace

Q_DECLARE_METATYPE(std::function<void(Listing&)>)

class ListingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUserReportFolder(userFolder_.path()); }

    void theScreenIsMadeUpAsDesigned() {
        HeadcountFixture f;
        SeedMonth(f);
        Listing screen(f);
        QCOMPARE(screen->windowTitle(), QStringLiteral("Listagem de Comensais"));
        QCOMPARE(screen->lblCodTela->text(), QStringLiteral("Fai00401"));
        QCOMPARE(screen->lblCodRel->text(), QStringLiteral("Fai004"));
        QCOMPARE(screen->rpddPadrao.DefaultDatabaseName(), QStringLiteral("ZUVORUDEZ"));
        QCOMPARE(screen->minimumSize(), screen->maximumSize());
        QVERIFY(screen->width() >= 466 && screen->height() >= 189);
        QCOMPARE(screen->netComensais.ServerName(), QStringLiteral("Fai00400.rdmEfetFatur"));
        QVERIFY(!screen->netComensais.ThrowException());
        QVERIFY(screen->netComensais.Connected());
        QCOMPARE(screen->msgPadrao.Count(), 15);  // and the deletion given up at closing
        QCOMPARE(screen->msgPadrao.Msg("dtinicial_inf"),
                 QStringLiteral("Data do período inicial deve ser informada. "));
        QCOMPARE(screen->msgPadrao.Msg("cliente_inf"),
                 QStringLiteral("Cliente deve ser informado."));
        QCOMPARE(Items(screen->cbbReportNames),
                 QStringList({"Listagem de Comensais", "Resumo de Comensais por Serviço"}));

        const struct {
            QWidget* control;
            QString caption;
        } captions[] = {{screen->lblFilial, "Filial"},     {screen->grbPeriodo, " Período "},
                        {screen->lblDtInicial, "de"},      {screen->lblDtFinal, "até"},
                        {screen->grbCliente, " Cliente "}, {screen->grbServico, " Serviço "},
                        {screen->rdgTodosS, "Todos"},      {screen->rdgListaS, "Lista"},
                        {screen->rdgTodos, "Todos"},       {screen->rdgLista, "Lista"}};
        for (const auto& c : captions) {
            const QString shown =
                qobject_cast<QGroupBox*>(c.control) ? qobject_cast<QGroupBox*>(c.control)->title()
                : qobject_cast<QLabel*>(c.control)  ? qobject_cast<QLabel*>(c.control)->text()
                                                   : qobject_cast<QRadioButton*>(c.control)->text();
            QCOMPARE(shown, c.caption);
        }
        QCOMPARE(screen->lblFilial->buddy(), screen->medCdFilial);
        QCOMPARE(screen->medCdFilial->EditMask(), QStringLiteral(">aaaa;0; "));
        QCOMPARE(screen->medCdFilial->MaxLength(), 4);
        QVERIFY(!screen->edtNmFilial->isEnabled());
        QCOMPARE(screen->edtNmFilial->focusPolicy(), Qt::NoFocus);
        for (TDateEditPlus* date : {screen->depDtInicial, screen->depDtFinal}) {
            QVERIFY(date->Text().isEmpty() || date->IsBlank());
            QCOMPARE(date->WeekdayNames().first(), QStringLiteral("Domingo"));
        }
        const struct {
            TBtnPesquisa* button;
            DataSource* source;
            QString emptyError;
            bool enabled;
        } lookups[] = {
            {screen->btpFilial, &screen->dtsFilial, "Não há filial cadastrada.", true},
            {screen->btncliente, &screen->dtsCliente, "Não há cliente cadastrado.", false},
            {screen->btnServico, &screen->dtsServico, "Não há serviço cadastrado.", false}};
        for (const auto& l : lookups) {
            QCOMPARE(l.button->toolTip(), QStringLiteral("Pesquisar"));
            QCOMPARE(l.button->DataSource(), l.source);
            QCOMPARE(l.button->EmptyError(), l.emptyError);
            QCOMPARE(l.button->isEnabled(), l.enabled);
        }
        QCOMPARE(screen->btpFilial->Associate(), screen->medCdFilial);
        QCOMPARE(screen->btpFilial->Title(), QStringLiteral("Filial"));
        QVERIFY(screen->rdgTodosS->isChecked() && !screen->rdgListaS->isChecked());
        QVERIFY(screen->rdgTodos->isChecked() && !screen->rdgLista->isChecked());

        QCOMPARE(screen->qryFilial.SQL().split('\n').last(), QStringLiteral("   CDFILIAL"));
        QVERIFY(screen->qryCliente.SQL().contains("   B.IDTPIJURCLIE,   \n"));
        QCOMPARE(screen->qryServico.SQL().split('\n').size(), 8);
        QStringList clientFields;
        for (Field* field : screen->qryCliente.DataSet().Fields())
            clientFields << field->FieldName() + (field->Visible() ? "" : "*");
        QCOMPARE(clientFields, QStringList({"CDCLIENTE*", "NRINSJURCLIE", "NMRAZSOCCLIE",
                                            "NMFANTCLIE", "IDTPIJURCLIE*"}));
        QCOMPARE(screen->qryCliente.FieldByName("NRINSJURCLIE").DisplayLabel(),
                 QStringLiteral("Inscrição"));

        screen->medCdFilial->setFocus();
        for (const char* next : {"depDtInicial", "depDtFinal", "rdgTodosS"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(screen.Focused(), QLatin1String(next));
        }
    }

    // The branch box starts on the billing branch, or else on the working branch, with the
    // name the branch table gives; a fixed branch cannot be changed.
    void theBranchStartsOnTheWorkingContext_data() {
        QTest::addColumn<QString>("billing");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("billing branch, free")
            << kOtherBranch << false << kOtherBranch << "Filial Sorocaba";
        QTest::newRow("no billing branch, free") << QString() << false << kBranch << kBranchName;
        QTest::newRow("billing branch, fixed")
            << kOtherBranch << true << kOtherBranch << "nome de faturamento";
        QTest::newRow("no billing branch, fixed")
            << QString() << true << kBranch << "nome de trabalho";
    }

    void theBranchStartsOnTheWorkingContext() {
        QFETCH(QString, billing);
        QFETCH(bool, fixed);
        QFETCH(QString, code);
        QFETCH(QString, name);
        ContextOptions context;
        context.branchName = QStringLiteral("nome de trabalho");
        context.billingBranch = billing;
        context.billingBranchName =
            billing.isEmpty() ? QString() : QStringLiteral("nome de faturamento");
        context.branchFixed = fixed;
        HeadcountFixture f(context);
        SeedMonth(f);
        Listing screen(f);
        QCOMPARE(screen->medCdFilial->Text(), code);
        QCOMPARE(screen->edtNmFilial->text(), name);
        for (QWidget* control :
             {static_cast<QWidget*>(screen->lblFilial), static_cast<QWidget*>(screen->medCdFilial),
              static_cast<QWidget*>(screen->btpFilial)})
            QCOMPARE(control->isEnabled(), !fixed);
        // The keyboard starts in the first box the clerk may change.
        QCOMPARE(screen.Focused(),
                 fixed ? QStringLiteral("depDtInicial") : QStringLiteral("medCdFilial"));
        QVERIFY(screen->depDtInicial->IsBlank() && screen->depDtFinal->IsBlank());
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    // Print, preview, edit and save-as check the branch, then the period, then the choices,
    // with the focus where the clerk corrects it, before the server is asked for anything.
    void everyActionChecksBeforeAnything_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<std::function<void(Listing&)>>("given");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const struct {
            const char* what;
            std::function<void(Listing&)> given;
            QString message;
            QString focus;
        } cases[] = {
            {"no branch", [](Listing& l) { l->medCdFilial->SetText({}); },
             "Filial deve ser informada.", "medCdFilial"},
            {"unknown branch", [](Listing& l) { l->medCdFilial->SetText("0009"); },
             "Filial não cadastrada.", "medCdFilial"},
            {"both dates empty", [](Listing& l) { l.Period({}, {}); },
             "Data do período inicial deve ser informada. ", "depDtInicial"},
            {"final date empty", [](Listing& l) { l.Period(kFirst, {}); },
             "Data do período final deve ser informada.", "depDtFinal"},
            {"initial date empty", [](Listing& l) { l.Period({}, kLast); },
             "Data do período inicial deve ser informada. ", "depDtInicial"},
            {"reversed period", [](Listing& l) { l.Period(kLast, kFirst); },
             "Data Inicial deve ser menor ou igual a Data Final.", "depDtInicial"},
            {"client list with nothing picked", [](Listing& l) { l->rdgListaS->setChecked(true); },
             "Cliente deve ser informado.", "btncliente"},
            {"service list with nothing picked",
             [](Listing& l) {
                 stCdCliente = JoinKeys({kClient});
                 l->rdgListaS->setChecked(true);
                 l->rdgLista->setChecked(true);
             },
             "Serviço deve ser informado.", "btnServico"},
        };
        for (const char* button : {"sbtPrint", "sbtPreview", "sbtReportEdit", "sbtSalvarComo"}) {
            for (const auto& c : cases) {
                QTest::addRow("%s: %s", button, c.what)
                    << QString(button) << c.given << c.message << c.focus;
            }
        }
    }

    void everyActionChecksBeforeAnything() {
        QFETCH(QString, button);
        QFETCH(std::function<void(Listing&)>, given);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        HeadcountFixture f;
        SeedMonth(f);
        Listing screen(f);
        screen.Period(kFirst, kLast);
        given(screen);
        f.RunModalsWith([](QDialog&) { return int(QDialog::Rejected); });
        screen.Click(button.toLatin1().constData());
        QCOMPARE(f.TakeMessages(), QStringList{message});
        QCOMPARE(screen.Focused(), focus);
        QCOMPARE(f.Calls("PrxRelFatur") + f.Calls("GeraRel"), 0);
        stCdCliente.clear();
    }

    // Leaving the branch box lets an empty one pass and fits a typed code; leaving the period
    // or the service group lets two empty dates pass but not one.
    void leavingABoxChecksWhatItCan() {
        HeadcountFixture f;
        SeedMonth(f);
        Listing screen(f);
        screen->medCdFilial->setFocus();
        screen->medCdFilial->SetText("2");
        QTest::keyClick(screen->medCdFilial, Qt::Key_Tab);
        QCOMPARE(screen->medCdFilial->Text(), kOtherBranch);
        QCOMPARE(screen->edtNmFilial->text(), QStringLiteral("Filial Sorocaba"));
        screen->medCdFilial->setFocus();
        screen->medCdFilial->SetText({});
        QVERIFY(screen->edtNmFilial->text().isEmpty());
        QTest::keyClick(screen->medCdFilial, Qt::Key_Tab);
        QCOMPARE(f.TakeMessages(), QStringList());

        const struct {
            QWidget* from;
            QDate first, last;
            QStringList said;
        } periods[] = {
            {screen->depDtFinal, {}, {}, {}},
            {screen->depDtFinal, kFirst, {}, {"Data do período final deve ser informada."}},
            {screen->depDtFinal, {}, kLast, {"Data do período inicial deve ser informada. "}},
            {screen->btnServico,
             kLast,
             kFirst,
             {"Data Inicial deve ser menor ou igual a Data Final."}},
            {screen->depDtFinal, kFirst, kFirst, {}},
        };
        for (const auto& p : periods) {
            screen.Period({}, {});
            screen->medCdFilial->setFocus();
            f.TakeMessages();
            screen->rdgLista->setChecked(p.from == screen->btnServico);
            screen.Period(p.first, p.last);
            p.from->setFocus();
            screen->medCdFilial->setFocus();
            QCOMPARE(f.TakeMessages(), p.said);
        }
    }

    // A clerk of one branch is offered that branch only; another one typed is refused by name,
    // on the screen and in a run without one, before the server is asked for anything.
    void aClerkWorksInHerBranchesOnly() {
        HeadcountFixture f;
        SeedMonth(f);
        WorkingContextData context = WorkingContext();
        context.userBranches = QStringList{kBranch};
        SetWorkingContext(context);
        Listing screen(f);
        bool show = true;
        screen->btpFilialBeforePesq(show);
        QCOMPARE(screen->qryFilial.DataSet().RecordCount(), 1);
        const QString refusal = QStringLiteral("Este usuário não tem acesso à filial 0002.");
        screen->medCdFilial->setFocus();
        screen->medCdFilial->SetText(kOtherBranch);
        QTest::keyClick(screen->medCdFilial, Qt::Key_Tab);
        QCOMPARE(f.TakeMessages(), QStringList{refusal});
        QCOMPARE(screen.Focused(), QStringLiteral("medCdFilial"));

        ReportRequest request;
        request.code = QStringLiteral("Fai004");
        request.branch = kOtherBranch;
        request.first = kFirst;
        request.last = kLast;
        request.pdf = QStringLiteral("/nonexistent/listagem.pdf");
        try {
            RelListComenPdf(request);
            QFAIL("a branch not the clerk's was listed");
        } catch (const EError& e) {
            QCOMPARE(e.Message(), refusal);
        }
        QCOMPARE(f.Calls("PrxRelFatur"), 0);
    }

    // Each "Lista" enables its button, "Todos" disables it and keeps what was picked; the
    // lists offer the branch's clients, with their registration numbers punctuated, and its
    // services, and say so when the branch has none.
    void theChoicesPairUpAndTheListsPickOfTheBranch() {
        HeadcountFixture f;
        SeedMonth(f);
        f.Seed().Branch(QStringLiteral("0003"), QStringLiteral("Filial vazia"));
        Listing screen(f);
        screen->rdgListaS->click();
        QVERIFY(!screen->rdgTodosS->isChecked() && screen->btncliente->isEnabled());
        screen->rdgLista->click();
        QVERIFY(!screen->rdgTodos->isChecked() && screen->btnServico->isEnabled());

        QStringList offered;
        QStringList cut;
        QString title;
        f.RunModalsWith([&](QDialog& dialog) {
            auto* rows = dialog.findChild<QTableView*>("grdLista")->model();
            title = dialog.windowTitle();
            offered.clear();
            const auto* table = dialog.findChild<QTableView*>("grdLista");
            for (int row = 0; row < rows->rowCount(); ++row) {
                offered << rows->index(row, 1).data().toString();
                for (int column = 1; column < rows->columnCount(); ++column) {
                    const QString text = rows->index(row, column).data().toString();
                    if (table->fontMetrics().horizontalAdvance(text) >= table->columnWidth(column))
                        cut << text;
                }
            }
            rows->setData(rows->index(rows->rowCount() - 1, 0), Qt::Checked, Qt::CheckStateRole);
            return int(QDialog::Accepted);
        });
        screen->btncliente->click();
        QCOMPARE(title, QStringLiteral("Cliente"));
        QCOMPARE(offered, QStringList({"529.982.247-25", "12.345.678/0001-95"}));
        QCOMPARE(cut, QStringList());
        QCOMPARE(stCdCliente, JoinKeys({kClient}));
        screen->btnServico->click();
        QCOMPARE(title, QStringLiteral("Serviço"));
        QCOMPARE(offered, QStringList({kLunch, kDinner}));
        QCOMPARE(stCdServico, JoinKeys({kDinner}));

        screen->rdgTodosS->click();
        QVERIFY(!screen->rdgListaS->isChecked() && !screen->btncliente->isEnabled());
        QCOMPARE(stCdCliente, JoinKeys({kClient}));

        screen->medCdFilial->SetText(QStringLiteral("0003"));
        screen->btnServico->click();
        QCOMPARE(f.TakeMessages(), QStringList{"Não há serviço cadastrado."});
        QCOMPARE(screen.Focused(), QStringLiteral("rdgLista"));
        stCdCliente.clear();
        stCdServico.clear();
    }

    // Tab walks the screen in its order, into the list buttons once "Lista" is chosen, and
    // Space presses them.
    void theKeyboardReachesEveryBoxChoiceAndList() {
        HeadcountFixture f;
        SeedMonth(f);
        Listing screen(f);
        screen->rdgListaS->setChecked(true);
        screen->rdgLista->setChecked(true);
        screen->medCdFilial->setFocus();
        QStringList walked;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << screen.Focused();
        }
        // A pair of choices is one stop (the arrows choose within it).
        QCOMPARE(walked, QStringList({"depDtInicial", "depDtFinal", "rdgTodosS", "btncliente",
                                      "rdgTodos", "btnServico"}));
        QString listed;
        f.RunModalsWith([&listed](QDialog& dialog) {
            listed = dialog.windowTitle();
            return int(QDialog::Rejected);
        });
        QTest::keyClick(screen->btnServico, Qt::Key_Space);
        QCOMPARE(listed, QStringLiteral("Serviço"));
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    // The nine parameters in their types; "T" where all are chosen; P_CDSERVFILI set last and
    // without asking whether the report declares it when a list is chosen.
    void theReportGetsTheScreensParameters() {
        ListingChoice choice{kBranch, kFirst, kFirst, true, {}, true, {}};
        ReportDefinition all = Declaring();
        ReportParams params(all);
        SetListingParams(params, choice, QStringLiteral("17"));
        const auto value = [&params](const char* name) {
            return params.ParamByName(name).Values().front();
        };
        QCOMPARE(value("P_CDFILIAL"), Value(kBranch));
        QCOMPARE(value("P_NRAPURACGD"), Value(QStringLiteral("17")));
        for (const char* date : {"P_DTINICIAL", "P_DTFINAL", "P_DTINICIAL_D", "P_DTFINAL_D"})
            QCOMPARE(value(date), Value(kFirst));
        QCOMPARE(value("P_DTFINALCOMP"), Value(double(ToDaySerial(kFirst.addDays(1)))));
        QCOMPARE(value("P_CDCLIENTE"), Value(QStringLiteral("T")));
        QCOMPARE(value("P_CDSERVFILI"), Value(QStringLiteral("T")));

        choice = {kBranch,
                  kFirst,
                  kLast,
                  false,
                  JoinKeys({kClient, kPerson}),
                  false,
                  JoinKeys({kDinner})};
        ReportParams lists(all);
        SetListingParams(lists, choice, QString());
        QCOMPARE(lists.ParamByName("P_NRAPURACGD").Values().front(), Value(QString()));
        QCOMPARE(lists.ParamByName("P_CDCLIENTE").Values(),
                 (std::vector<Value>{Value(kClient), Value(kPerson)}));
        QCOMPARE(lists.ParamByName("P_CDSERVFILI").Values(), std::vector<Value>{Value(kDinner)});

        // A report that declares only some of them gets those; one without P_CDSERVFILI used
        // with a service list fails naming it, after the others were set.
        const ReportDefinition some = Declaring({"P_CDFILIAL", "P_CDCLIENTE"});
        ReportParams fewer(some);
        try {
            SetListingParams(fewer, choice, QStringLiteral("17"));
            QFAIL("a service list went into a report that does not declare it");
        } catch (const EParamNotFound& e) {
            QCOMPARE(e.Message(), QStringLiteral("O parâmetro 'P_CDSERVFILI' não foi encontrado "
                                                 "no relatório 'Listagem de Comensais' (Fai004)."));
        }
        QVERIFY(fewer.ParamByName("P_CDFILIAL").Assigned() &&
                fewer.ParamByName("P_CDCLIENTE").Assigned());
        choice.allServices = true;
        ReportParams allServices(some);
        SetListingParams(allServices, choice, QStringLiteral("17"));
        QCOMPARE(allServices.Count(), 2);
    }

    // One number per branch for the screen's life: previews of A, A, B, A ask for two
    // numbers and generate four times; closing deletes A's, then B's, and every row with it.
    void aBranchKeepsItsNumberAndClosingDeletesEachInTurn() {
        HeadcountFixture f;
        SeedMonth(f);
        Listing screen(f);
        const struct {
            QString branch;
            QDate first, last;
        } previews[] = {{kBranch, kFirst, kLast},
                        {kBranch, kFirst.addDays(9), kFirst.addDays(9)},
                        {kOtherBranch, kFirst, kLast},
                        {kBranch, kFirst, kFirst.addDays(1)}};
        QStringList firstPages;
        for (const auto& p : previews) {
            screen->medCdFilial->SetText(p.branch);
            screen.Period(p.first, p.last);
            firstPages << screen.Preview().value(0);
        }
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("PrxRelFatur"), 2);
        QCOMPARE(f.Calls("GeraRel"), 4);
        QCOMPARE(stlCdFilial, QStringList({kBranch, kOtherBranch}));
        QCOMPARE(stlNrPrx.size(), 2);
        QVERIFY(Holds(firstPages[1], "Período:\\s+10/03/2026\\s+a\\s+10/03/2026"));
        QVERIFY(Holds(firstPages[1], "10/03/2026\\s+Terça"));
        QVERIFY(!firstPages[1].contains("11/03/2026 "));
        QVERIFY(Holds(firstPages[2], "Filial:\\s+0002\\s+Filial Sorocaba"));
        QCOMPARE(f.Seed().Count("RELCOMENSAL"), 5 + 31);  // 1 and 2 March at the first branch

        // A run for a branch without a number of its own reads no other run's rows.
        NoProgress progress;
        try {
            RunReport(
                Declaring(),
                [](ReportParams& params) {
                    SetListingParams(params, {kBranch, kFirst, kLast, true, {}, true, {}}, {});
                },
                progress);
            QFAIL("a run without a number read rows");
        } catch (const EError& e) {
            QCOMPARE(e.Message(), NoRowsMessage());
        }

        const QStringList numbers = stlNrPrx;
        QVERIFY(screen.Close());
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("DeletaRel"), 2);
        QCOMPARE(f.Seed().Count("RELCOMENSAL"), 0);
        QCOMPARE(f.Seed().Rows("SELECT CDFILIAL, IDEXCLUIDO FROM RELFATURNUM ORDER BY NRAPURACGD"),
                 (QList<QVariantList>{{kBranch, "S"}, {kOtherBranch, "S"}}));
        QVERIFY(!boidcriado && stCdCliente.isEmpty() && stCdServico.isEmpty());
    }

    // The server refusing a deletion keeps the screen open with its numbers, selections and
    // connection; the next close starts again from the first number, and gives up a deletion
    // refused again rather than keep the modal screen open for ever.
    void aRefusedDeletionKeepsTheScreenOpenAsItWas() {
        HeadcountFixture f;
        SeedMonth(f);
        Listing screen(f);
        for (const QString& branch : {kBranch, kOtherBranch}) {
            screen->medCdFilial->SetText(branch);
            screen.Period(kFirst, kLast);
            QVERIFY(!screen.Preview().isEmpty());
        }
        stCdCliente = JoinKeys({kClient});
        stlNrPrx[1] = stlNrPrx[0];  // the first branch's number, which the server refuses
        QVERIFY(!screen.Close());
        QCOMPARE(f.TakeMessages(),
                 QStringList{QStringLiteral("O relatório %1 é da filial 0001, não da filial 0002.")
                                 .arg(stlNrPrx[0])});
        QCOMPARE(stlCdFilial, QStringList({kBranch, kOtherBranch}));
        QCOMPARE(stCdCliente, JoinKeys({kClient}));
        QVERIFY(screen->netComensais.Connected());

        // Refused again, the deletion is given up to the server's retention time: the clerk
        // is told and the screen closes, the other branch's data deleted.
        QVERIFY(screen.Close());
        QCOMPARE(f.TakeMessages(),
                 QStringList{QStringLiteral(
                                 "O servidor recusou outra vez a exclusão dos dados do relatório "
                                 "%1 da filial 0002: O relatório %1 é da filial 0001, não da "
                                 "filial 0002.\nA tela será fechada assim mesmo; o servidor "
                                 "descarta esses dados quando passar o seu tempo de retenção sem "
                                 "uso.")
                                 .arg(stlNrPrx[0])});
        QCOMPARE(f.Calls("DeletaRel"), 4);
        QCOMPARE(f.Seed().Count("RELCOMENSAL"), 31);  // the other branch's, left to the server
        QVERIFY(!boidcriado);
    }

    // A server out of reach cannot keep a modal screen, and the host behind it, open: it is
    // said and the screen closes; the server discards the data once unused long enough.
    void aServerOutOfReachLetsTheScreenClose() {
        HeadcountFixture f;
        SeedMonth(f);
        Listing screen(f);
        screen.Period(kFirst, kLast);
        QVERIFY(!screen.Preview().isEmpty());
        WorkingContextData away = WorkingContext();
        away.serverPort = 1;
        SetWorkingContext(away);
        screen->netComensais.Connect();
        QVERIFY(screen.Close());
        QCOMPARE(f.TakeMessages(),
                 QStringList{EConnectionError::Unreachable({"127.0.0.1", 1}).Message()});
        QCOMPARE(f.Seed().Count("RELCOMENSAL"), 31 + 31 + 22);
        QVERIFY(!boidcriado);
    }

    // A number the server does not hand out leaves the registry as it was: no branch
    // without a number.
    void aNumberNotHandedOutRegistersNothing() {
        TNetConnection nowhere;
        nowhere.SetHost(QStringLiteral("127.0.0.1"));
        nowhere.SetPort(1);
        nowhere.SetThrowException(false);
        nowhere.Connect();
        QStringList branches, numbers;
        ListingRegistry registry(branches, numbers);
        QVERIFY_THROWS_EXCEPTION(EConnectionError,
                                 registry.Generate(nowhere, kBranch, kFirst, kLast));
        QVERIFY(branches.isEmpty() && numbers.isEmpty());
        QVERIFY(registry.NumberOf(kBranch).isEmpty());
    }

    void saveAsCopiesTheDefinitionWithoutTheServer() {
        HeadcountFixture f;
        SeedMonth(f);
        Listing screen(f);
        screen.Period(kFirst, kLast);
        f.RunModalsWith([](QDialog& dialog) {
            qobject_cast<QInputDialog*>(&dialog)->setTextValue(QStringLiteral("Minha listagem"));
            return int(QDialog::Accepted);
        });
        screen.Click("sbtSalvarComo");
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen->cbbReportNames->currentText(), QStringLiteral("Minha listagem"));
        QCOMPARE(f.Calls("PrxRelFatur") + f.Calls("GeraRel") + f.Calls("DeletaRel"), 0);
        QFile::remove(screen->cbbReportNames->currentData().toString());
    }

    // Read as a reader reads them: each client of the selection with its days, weekdays and
    // totals, equal to the sums in the database; a client outside the selection absent.
    void theListingsReadAsTheDatabaseSays_data() {
        QTest::addColumn<int>("definition");
        QTest::addColumn<bool>("onlyTheCompany");
        QTest::addColumn<bool>("printed");
        QTest::newRow("listing, all clients, previewed") << 0 << false << false;
        QTest::newRow("listing, the company, printed") << 0 << true << true;
        QTest::newRow("summary, all clients, printed") << 1 << false << true;
        QTest::newRow("summary, the company, previewed") << 1 << true << false;
    }

    void theListingsReadAsTheDatabaseSays() {
        QFETCH(int, definition);
        QFETCH(bool, onlyTheCompany);
        QFETCH(bool, printed);
        HeadcountFixture f;
        SeedMonth(f);
        // A service name as long as the field holds, of letters as wide as names have.
        const QString longName = QStringLiteral("REFEICAO TRANSPORTADA FRENTE DE OBRA SUL");
        QCOMPARE(longName.size(), 40);
        f.Seed().Rows(QStringLiteral("UPDATE SERVICO SET NMSERVICO = ? WHERE CDSERVFILI = ?"),
                      {longName, kDinner});
        Listing screen(f);
        screen.Period(kFirst, kLast);
        screen->cbbReportNames->setCurrentIndex(definition);
        if (onlyTheCompany) {
            stCdCliente = JoinKeys({kClient});
            screen->rdgListaS->setChecked(true);
        }
        const QStringList pages = printed ? screen.Print() : screen.Preview();
        QCOMPARE(f.TakeMessages(), QStringList());
        QVERIFY(!pages.isEmpty());
        const QString all = pages.join('\n');
        for (int page = 0; page < pages.size(); ++page) {
            QVERIFY(Holds(pages[page], "Filial:\\s+0001\\s+" + kBranchName));
            QVERIFY(Holds(pages[page], "Período:\\s+01/03/2026\\s+a\\s+31/03/2026"));
            QVERIFY(pages[page].contains(
                QStringLiteral("Página %1 de %2").arg(page + 1).arg(pages.size())));
        }
        QVERIFY2(Holds(all, "Cliente:\\s+12\\.345\\.678/0001-95\\s+" + kClientName),
                 qPrintable(all));
        QVERIFY2(Holds(all, "Total do cliente\\s+" + Totals(f, kClient)), qPrintable(all));
        QCOMPARE(all.contains(kPersonName), !onlyTheCompany);
        if (!onlyTheCompany) QVERIFY(Holds(all, "Total do cliente\\s+" + Totals(f, kPerson)));
        if (definition == 0) {
            QVERIFY(Holds(all, "01/03/2026\\s+Domingo\\s+101,000\\s+100,000\\s+13,50"));
            QVERIFY(Holds(all, "Serviço:\\s+00002\\s+" + longName + "\n"));
        } else {
            QVERIFY(Holds(all, "00001\\s+ALMOCO\\s+31\\s"));
            QVERIFY2(Holds(all, "00002\\s+" + longName + "\\s+22\\s"), qPrintable(all));
        }
        stCdCliente.clear();
    }

    // As a clerk opens it: the headcount screen's print button opens the listing, which
    // previews the month and, once closed, leaves nothing on the server.
    void fromTheHeadcountScreenPreviewAndClose() {
        HeadcountFixture f;
        SeedMonth(f);
        f.Open();
        int previewPages = 0;
        QList<TCursor> cursors;
        f.RunModalsWith([&](QDialog& dialog) {
            if (auto* preview = qobject_cast<ReportPreview*>(&dialog)) {
                previewPages = preview->Document().PageCount();
                return int(QDialog::Rejected);
            }
            auto* listing = qobject_cast<TfrmRelListComen*>(&dialog);
            if (!listing) return int(QDialog::Rejected);
            cursors.push_back(ScreenCursor());
            if (!ShowActive(*listing)) return int(QDialog::Rejected);
            listing->depDtInicial->SetDate(kFirst);
            listing->depDtFinal->SetDate(kLast);
            // From the keyboard: F9 previews, Escape closes.
            listing->depDtFinal->setFocus();
            QTest::keyClick(listing->depDtFinal, Qt::Key_F9);
            QTest::keyClick(listing->depDtFinal, Qt::Key_Escape);
            return int(listing->isVisible() ? QDialog::Rejected : QDialog::Accepted);
        });
        f.Find<TButtonFlat>("sbtImprimir")->click();
        QCOMPARE(f.TakeMessages(), QStringList());
        QVERIFY(previewPages > 1);
        QCOMPARE(cursors, QList<TCursor>{TCursor::Default});
        QCOMPARE(f.Calls("DeletaRel"), 1);
        QCOMPARE(f.Seed().Count("RELCOMENSAL"), 0);
        QVERIFY(frmRelListComen.isNull() && !boidcriado);
    }

  private:
    static QStringList Items(const QComboBox* names) {
        QStringList items;
        for (int i = 0; i < names->count(); ++i) items << names->itemText(i);
        return items;
    }

    QTemporaryDir userFolder_;
};

FAI_UI_TEST_MAIN(ListingTest)
#include "test_listing.moc"
