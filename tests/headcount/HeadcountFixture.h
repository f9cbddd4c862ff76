#pragma once

#include "Cli_fai00400.h"
#include "RunningServer.h"
#include "TestDatabase.h"
#include "TestSeed.h"
#include "UiTesting.h"
#include "WorkingContext.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <functional>

namespace fai {
class TBtnPesquisa;
class TButtonFlat;
class TDateEditPlus;
class TDBGrid;
class TMaskEdit;
}  // namespace fai

namespace fai::testing {

using appserver::test::TestSeed;
using Key = TestSeed::Key;

// The branch, client and services most cases work on.
inline const QString kBranch = QStringLiteral("0001");
inline const QString kBranchName = QStringLiteral("Matriz Campinas");
inline const QString kNumber = QStringLiteral("12345678000195");
inline const QString kClient = QStringLiteral("J") + kNumber;
inline const QString kClientName = QStringLiteral("Metalúrgica Paraíba Ltda.");
inline const QString kLunch = QStringLiteral("00001");
inline const QString kDinner = QStringLiteral("00002");

// The branch's processing date in most cases, the day after, and the rows on them.
inline const QDate kTenth(2026, 3, 10);
inline const QDate kEleventh(2026, 3, 11);
inline const TestSeed::Key kLunchOnTheTenth{kBranch, kClient, kLunch, kTenth};
inline const TestSeed::Key kLunchOnTheEleventh{kBranch, kClient, kLunch, kEleventh};
inline const TestSeed::Key kDinnerOnTheTenth{kBranch, kClient, kDinner, kTenth};

// Every control of the filter panel, and those of them that choose the branch.
inline const char* const kFilterControls[] = {
    "lblFilial",  "medCdFilial",  "btpFilial",   "lblCliente", "medCdCliente",
    "btpCliente", "lblEfetivos",  "cbbEfetivos", "lblDtLanc",  "depDataFatu",
    "lblServico", "medCdServico", "btpServico"};

inline bool IsBranchControl(const QString& name) {
    return name == QLatin1String("lblFilial") || name == QLatin1String("medCdFilial") ||
           name == QLatin1String("btpFilial");
}

// Keys typed one by one into whatever control has the focus, as a clerk types.
inline void TypeKeys(const QString& keys) {
    for (QChar key : keys) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
}

// The working context a case starts the screen with; the server's address is filled in by
// the fixture.
struct ContextOptions {
    QString branch = kBranch;
    QString branchName = kBranchName;
    QString billingBranch;
    QString billingBranchName;
    bool branchFixed = false;
    std::function<QDate(const QString& branch)> processingDate = [](const QString&) {
        return kTenth;
    };
};

// The headcount screen as the host opens it, over the real application server started in
// the test on a fresh SQLite file. The branch lookups read that same file as the shared
// database. Every message box is answered by script and recorded.
class HeadcountFixture {
  public:
    explicit HeadcountFixture(const ContextOptions& options = {});
    ~HeadcountFixture();
    HeadcountFixture(const HeadcountFixture&) = delete;
    HeadcountFixture& operator=(const HeadcountFixture&) = delete;

    TestSeed& Seed() { return seed_; }
    // The branch, the client at it with lunch and dinner, no parameters and no rows.
    HeadcountFixture& SeedClientWithServices();

    // Creates the screen through the module and shows it active, the focus in the filter.
    TfrmEfetFatur& Open();
    TfrmEfetFatur& Screen() const;

    template <typename Widget>
    Widget* Find(const char* name) const {
        auto* widget = Screen().findChild<Widget*>(QLatin1String(name));
        if (!widget) qFatal("no control named %s", name);
        return widget;
    }

    // The filter typed box by box, each box left as the user leaves it; the focus then goes
    // to the grid of the mode, which leaves the panel and loads.
    void FilterByService(const QString& service, const QString& client = kNumber,
                         const QString& branch = kBranch);
    void FilterByDate(const QDate& date, const QString& client = kNumber,
                      const QString& branch = kBranch);
    // By date (mode 0) on the day, or by service (mode 1) on lunch.
    void FilterByMode(int mode, const QDate& day = kTenth);
    void Type(TMaskEdit* box, const QString& text);
    void EnterGrid();
    // By service the grid opens on the latest day; Ctrl+Home goes to the first.
    void GoToFirstRow();
    void EnterFilter();
    TDBGrid* VisibleGrid() const;
    QString Cell(TDBGrid* grid, int row, const char* field) const;
    // The enabled commands among the screen's record commands: button names, ", " between.
    QString EnabledCommands() const;

    // Messages shown since the last call (or the start), and how questions are answered.
    QStringList TakeMessages();
    void AnswerQuestionsWith(int answer);
    void RunModalsWith(std::function<int(QDialog&)> modal);
    // How often the server was asked for the method since the start.
    int Calls(const char* method) const;

  private:
    appserver::test::TestDatabase database_{appserver::test::Backend::Sqlite};
    appserver::test::RunningServer server_{database_.Location()};
    TestSeed seed_{database_.Location()};
    DialogScript dialogs_{mrOk};
};

}  // namespace fai::testing
