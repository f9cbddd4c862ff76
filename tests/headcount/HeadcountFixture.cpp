#include "HeadcountFixture.h"

#include "BusyIndicator.h"
#include "HostApplication.h"
#include "Pkg_fai00400.h"
#include "ServerGeneralData.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"

#include <QStackedWidget>

namespace fai::testing {

HeadcountFixture::HeadcountFixture(const ContextOptions& options) {
    // The lookups read through the server, as fai-host sets them up: the host has no database.
    SetGeneralData(
        std::make_shared<ServerGeneralData>(QStringLiteral("127.0.0.1"), server_.Port()));

    WorkingContextData context;
    context.branch = options.branch;
    context.branchName = options.branchName;
    context.billingBranch = options.billingBranch;
    context.billingBranchName = options.billingBranchName;
    context.branchFixed = options.branchFixed;
    context.serverHost = QStringLiteral("127.0.0.1");
    context.serverPort = server_.Port();
    context.processingDate = options.processingDate;
    SetWorkingContext(context);
    Initialize();
}

HeadcountFixture::~HeadcountFixture() {
    // Freed without its close step: closing reloads and checks, which a case that ends
    // with a half-typed filter would refuse.
    delete frmEfetFatur.data();
    Finalize();
    Cli_fai00400_StartUp();
    SetGeneralData(nullptr);
}

HeadcountFixture& HeadcountFixture::SeedClientWithServices() {
    seed_.Branch(kBranch, kBranchName)
        .Client(QStringLiteral("J"), kNumber, kClientName)
        .ClientAt(kBranch, kClient)
        .Service(kBranch, kLunch, QStringLiteral("ALMOCO"))
        .Service(kBranch, kDinner, QStringLiteral("JANTAR"))
        .ClientService(kBranch, kClient, kLunch, QStringLiteral("Refeição almoço"))
        .ClientService(kBranch, kClient, kDinner, QStringLiteral("Refeição jantar"));
    return *this;
}

TfrmEfetFatur& HeadcountFixture::Open() {
    ::CriaEfetFatur();
    if (!frmEfetFatur) qFatal("the headcount screen was not created");
    if (!ShowActive(*frmEfetFatur)) qFatal("the headcount screen did not become active");
    return *frmEfetFatur;
}

TfrmEfetFatur& HeadcountFixture::Screen() const {
    if (!frmEfetFatur) qFatal("the headcount screen is not open");
    return *frmEfetFatur;
}

void HeadcountFixture::Type(TMaskEdit* box, const QString& text) {
    box->setFocus();
    box->SetText(text);
}

void HeadcountFixture::FilterByService(const QString& service, const QString& client,
                                       const QString& branch) {
    Type(Find<TMaskEdit>("medCdFilial"), branch);
    Type(Find<TMaskEdit>("medCdCliente"), client);
    auto* mode = Find<QComboBox>("cbbEfetivos");
    mode->setFocus();
    mode->setCurrentIndex(1);
    Type(Find<TMaskEdit>("medCdServico"), service);
    EnterGrid();
}

void HeadcountFixture::FilterByDate(const QDate& date, const QString& client,
                                    const QString& branch) {
    Type(Find<TMaskEdit>("medCdFilial"), branch);
    Type(Find<TMaskEdit>("medCdCliente"), client);
    auto* mode = Find<QComboBox>("cbbEfetivos");
    mode->setFocus();
    mode->setCurrentIndex(0);
    Type(Find<TMaskEdit>("depDataFatu"), date.toString(QStringLiteral("dd/MM/yyyy")));
    EnterGrid();
}

void HeadcountFixture::FilterByMode(int mode, const QDate& day) {
    if (mode == 0) {
        FilterByDate(day);
    } else {
        FilterByService(kLunch);
    }
}

void HeadcountFixture::EnterGrid() { VisibleGrid()->setFocus(); }

void HeadcountFixture::GoToFirstRow() {
    QTest::keyClick(VisibleGrid(), Qt::Key_Home, Qt::ControlModifier);
}

void HeadcountFixture::EnterFilter() { Find<TMaskEdit>("medCdCliente")->setFocus(); }

TDBGrid* HeadcountFixture::VisibleGrid() const {
    return Find<QStackedWidget>("nbkGrid")->currentIndex() == 0 ? Find<TDBGrid>("dbgData")
                                                                : Find<TDBGrid>("dbgServico");
}

QString HeadcountFixture::Cell(TDBGrid* grid, int row, const char* field) const {
    const int column = IndiceCol(grid, QLatin1String(field));
    return grid->model()->index(row, column).data().toString();
}

QString HeadcountFixture::EnabledCommands() const {
    QStringList enabled;
    for (const char* name :
         {"sbtConfirmar", "sbtCancelar", "sbtIncluir", "sbtAlterar", "sbtExcluir", "sbtProcurar",
          "sbtVerificar", "sbtCadastro", "sbtImpEfetTrans"}) {
        if (Find<TButtonFlat>(name)->isEnabled()) enabled << QLatin1String(name);
    }
    return enabled.join(QStringLiteral(", "));
}

QStringList HeadcountFixture::TakeMessages() {
    QStringList texts = dialogs_.Texts();
    DialogService::Instance().ClearShown();
    return texts;
}

void HeadcountFixture::AnswerQuestionsWith(int answer) {
    DialogService::Instance().SetMessageScript([answer](const ShownMessage&) { return answer; });
}

void HeadcountFixture::RunModalsWith(std::function<int(QDialog&)> modal) {
    DialogService::Instance().SetModalScript(std::move(modal));
}

int HeadcountFixture::Calls(const char* method) const {
    const QString name = QLatin1Char(' ') + QLatin1String(method) + QLatin1Char(' ');
    int calls = 0;
    for (const QString& line : server_.LogLines()) calls += line.contains(name) ? 1 : 0;
    return calls;
}

}  // namespace fai::testing
