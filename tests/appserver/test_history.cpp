// The history of the headcount rows on both databases: what each writing method records, that
// a refused write records nothing, that nobody can change a record, and its reading by pages.
#include "AppErrors.h"
#include "CheckResultServ.h"
#include "Clerk.h"
#include "HistoryFields.h"
#include "SampleData.h"
#include "SampleTest.h"
#include "SessionClient.h"
#include "SessionMetadata.h"
#include "SqlSession.h"
#include "UserAdministration.h"
#include "fai00400.grpc.pb.h"

#include <QDateTime>

#include <grpcpp/grpcpp.h>

#include <functional>
#include <limits>

namespace fai::appserver::test {
namespace {

using namespace sample;

const QDate kOther = kDay.addDays(1);

class History : public SampleTest {
  protected:
    void SeedMore(TestSeed& seed) override {
        seed.Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"))
            .Shift(kBranch, QStringLiteral("2"), QStringLiteral("TARDE"))
            .Headcount(Key(kLunch, kDay), 120, 118, 21.5)
            .ShiftQuantity(Key(kLunch, kDay), QStringLiteral("1"), 60)
            .Transported(Key(kLunch, kDay), 125)
            .Transported(Key(kDinner, kDay), 7);
        north_ = seed.Item(kAlfa, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
        seed.Link(Key(kLunch, kDay), north_, 120.0);
    }

    // The records written since the last look, oldest first, one line each.
    QStringList NewRecords() {
        QStringList lines;
        for (const QVariantList& r :
             seed_->Rows(QStringLiteral(
                             "SELECT NRHISTEFETFATUR, NMMETODO, IDOPERACAO, CDSERVFILI, "
                             "DTFATURAM, CDTURNO, CDITEMRATEIOEFET, NMCAMPO, VLANTERIOR, VLNOVO, "
                             "NMUSUARIO, NMMAQUINA, DTHRALTERACAO FROM HISTEFETFATUR "
                             "WHERE NRHISTEFETFATUR > ? ORDER BY NRHISTEFETFATUR"),
                         {seen_})) {
            seen_ = r[0].toLongLong();
            const auto text = [](const QVariant& v) {
                return v.isNull() ? QStringLiteral("-") : v.toString();
            };
            lines << QStringLiteral("%1 %2 %3 %4 %5%6 %7 %8>%9")
                         .arg(text(r[1]), text(r[2]), text(r[3]),
                              r[4].toDate().toString(QStringLiteral("dd/MM")), text(r[5]),
                              text(r[6]), text(r[7]), text(r[8]), text(r[9]));
            EXPECT_EQ(r[10].toString(), Workstation::Here().user);
            EXPECT_EQ(r[11].toString(), Workstation::Here().machine);
            EXPECT_LE(qAbs(r[12].toLongLong() - QDateTime::currentMSecsSinceEpoch()), 60'000);
        }
        return lines;
    }
    int Records() { return seed_->Count(QStringLiteral("HISTEFETFATUR")); }
    std::unique_ptr<Clerk> OnDay(const QString& service) {
        auto clerk = std::make_unique<Clerk>(server_->Methods(), kBranch, kAlfa);
        clerk->OpenDay(kDay);
        EXPECT_TRUE(clerk->GoTo(service));
        return clerk;
    }

    int north_ = 0;
    qint64 seen_ = 0;
};

TEST_P(History, EachWritingMethodRecordsEveryFieldItChangedFromWhatToWhat) {
    struct Case {
        const char* what;
        std::function<ServerResult()> write;
        QStringList records;
    };
    const Case cases[] = {
        {"a row changed records the fields that differ",
         [this] {
             return OnDay(kLunch)->Edit({130, std::nullopt, 22});
         },
         {"UpdEfetFatu A 00001 10/03 -- QTCOMEFATU 120>130",
          "UpdEfetFatu A 00001 10/03 -- VRSERVFATUDT 21.5>22"}},
        {"a row saved as it was records nothing",
         [this] {
             return OnDay(kLunch)->Edit({130, std::nullopt, 22});
         },
         {}},
        {"a new row records its billed count and what is more than nothing",
         [this] {
             Clerk clerk(server_->Methods(), kBranch, kAlfa);
             clerk.OpenService(kLunch);
             return clerk.Insert(kOther, {40, 42, 0});
         },
         {"UpdEfetFatu I 00001 11/03 -- QTCOMEFATU ->40",
          "UpdEfetFatu I 00001 11/03 -- QTCOMEPREV ->42"}},
        {"a shift quantity changed, one added",
         [this] {
             const auto clerk = OnDay(kLunch);
             clerk->OpenShifts();
             const ServerResult first = clerk->SetShift(QStringLiteral("1"), 70.5);
             return first.success ? clerk->SetShift(QStringLiteral("2"), 59.5) : first;
         },
         {"SetTurno A 00001 10/03 1- QTCOMFATUTUR 60>70.5",
          "SetTurno I 00001 10/03 2- QTCOMFATUTUR ->59.5"}},
        {"an apportionment link changed",
         [this] {
             const auto clerk = OnDay(kLunch);
             clerk->LoadApportionment();
             clerk->Apportion(QStringLiteral("00001"), 130);
             return clerk->Save();
         },
         {"UpdEfetFatu A 00001 10/03 -00001 QTEFETIVOS 120>130"}},
        {"the duplication records each day it changed",
         [this] {
             return server_->Methods().UpDateServData(kBranch, kAlfa, kLunch, kOther,
                                                      kOther.addDays(1), 42, 45);
         },
         {"UpDateServData A 00001 11/03 -- QTCOMEFATU 40>45",
          "UpDateServData I 00001 12/03 -- QTCOMEFATU ->45",
          "UpDateServData I 00001 12/03 -- QTCOMEPREV ->42"}},
        {"the import records one billed count per day it changed",
         [this] {
             QString service;
             QDate day = kDay;
             return server_->Methods().ImportaEfetTrans(kAlfa, kBranch, service, day, 0);
         },
         {"ImportaEfetTrans A 00001 10/03 -- QTCOMEFATU 130>125",
          "ImportaEfetTrans I 00002 10/03 -- QTCOMEFATU ->7"}},
        {"a row deleted records its shifts, links and fields going",
         [this] { return OnDay(kLunch)->Delete(); },
         {"UpdEfetFatu E 00001 10/03 1- QTCOMFATUTUR 70.5>-",
          "UpdEfetFatu E 00001 10/03 2- QTCOMFATUTUR 59.5>-",
          "UpdEfetFatu E 00001 10/03 -00001 QTEFETIVOS 130>-",
          "UpdEfetFatu E 00001 10/03 -- QTCOMEFATU 125>-",
          "UpdEfetFatu E 00001 10/03 -- QTCOMEPREV 118>-",
          "UpdEfetFatu E 00001 10/03 -- VRSERVFATUDT 22>-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ServerResult result = c.write();
        ASSERT_TRUE(result.success) << result.error.toStdString();
        EXPECT_EQ(NewRecords(), c.records);
    }
}

TEST_P(History, AWriteRefusedRecordsNothing) {
    seed_->Params(kBranch, kDay, QStringLiteral("S"), 0, QStringLiteral("S"));
    struct Case {
        const char* what;
        std::function<ServerResult()> write;
    };
    const Case cases[] = {
        {"a save built on a row another clerk changed",
         [&] {
             const auto clerk = OnDay(kLunch);
             seed_->Session().Run(QStringLiteral("UPDATE EFETFATUR SET QTCOMEFATU = 1"));
             return clerk->Edit({130, std::nullopt, std::nullopt});
         }},
        {"a duplication over a closed day",
         [&] {
             return server_->Methods().UpDateServData(kBranch, kAlfa, kLunch, kDay.addDays(-1),
                                                      kOther, 1, 1);
         }},
        {"a shift quantity on a closed day",
         [&] {
             Clerk clerk(server_->Methods(), kBranch, kAlfa);
             clerk.OpenDay(kDay.addDays(-1));
             clerk.GoTo(kLunch);
             clerk.OpenShifts();
             return clerk.SetShift(QStringLiteral("1"), 5);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.write().success);
        EXPECT_EQ(Records(), 0);
    }
}

TEST_P(History, TheDatabaseRefusesToChangeOrRemoveARecord) {
    ASSERT_TRUE(OnDay(kLunch)->Edit({130, std::nullopt, std::nullopt}).success);
    ASSERT_EQ(Records(), 1);
    QStringList statements{QStringLiteral("UPDATE HISTEFETFATUR SET VLNOVO = '1'"),
                           QStringLiteral("DELETE FROM HISTEFETFATUR")};
    if (GetParam() == Backend::Postgres) statements << QStringLiteral("TRUNCATE HISTEFETFATUR");
    for (const QString& statement : statements) {
        SCOPED_TRACE(statement.toStdString());
        try {
            seed_->Session().Run(statement);
            ADD_FAILURE() << "the database let it through";
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(
                QStringLiteral("HISTEFETFATUR só recebe inclusões")))
                << e.what();
        }
    }
    EXPECT_EQ(seed_->Rows(QStringLiteral("SELECT VLNOVO FROM HISTEFETFATUR")),
              (QList<QVariantList>{{QStringLiteral("130")}}));
}

TEST_P(History, GetHistEfetFatuReadsARowOrAClientsPeriodNewestFirstByPages) {
    TrdmEfetFaturDisp& methods = server_->Methods();
    for (double billed : {121, 122, 123})
        ASSERT_TRUE(OnDay(kLunch)->Edit({billed, std::nullopt, std::nullopt}).success);
    ASSERT_TRUE(OnDay(kDinner)->Edit({9, 9, 0}).success);
    const auto page = [&](const QString& service, const QDate& first, const QDate& last, int n,
                          int size) {
        QStringList read;
        const DataPacket packet =
            CheckResultServ(methods.GetHistEfetFatu(kBranch, kAlfa, service, first, last, n, size),
                            true, 0)
                .at(0);
        EXPECT_EQ(packet.fields, HistoryFields::Fields());
        for (std::size_t i = 0; i < packet.rows.size(); ++i)
            read << At(packet, i, "CDSERVFILI").Text() + u' ' + At(packet, i, "NMCAMPO").Text() +
                        u' ' + At(packet, i, "VLNOVO").Text();
        return read;
    };
    EXPECT_EQ(page(kLunch, kDay, kDay, 0, 2),
              (QStringList{"00001 QTCOMEFATU 123", "00001 QTCOMEFATU 122"}));
    EXPECT_EQ(page(kLunch, kDay, kDay, 1, 2), (QStringList{"00001 QTCOMEFATU 121"}));
    EXPECT_EQ(page({}, kDay, kDay, 0, 2),
              (QStringList{"00002 QTCOMEFATU 9", "00002 QTCOMEPREV 9"}));
    EXPECT_EQ(page({}, kOther, kOther, 0, 10), QStringList());
    EXPECT_EQ(page(kLunch, kDay, kDay, std::numeric_limits<int>::max(), 500), QStringList());

    struct Refusal {
        int pageNumber, size;
        QDate first, last;
        QString error;
    };
    const Refusal refusals[] = {
        {0, 0, kDay, kDay, QStringLiteral("Registros por página do histórico: de 1 a 500, não 0.")},
        {0, 501, kDay, kDay,
         QStringLiteral("Registros por página do histórico: de 1 a 500, não 501.")},
        {-1, 10, kDay, kDay, QStringLiteral("Página do histórico -1 inválida.")},
        {0, 10, kOther, kDay, QStringLiteral("Data inicial deve ser menor ou igual a data final.")},
        {0, 10, ZeroDate(), kDay, QStringLiteral("Data inicial deve ser informada.")},
    };
    for (const Refusal& r : refusals)
        EXPECT_EQ(
            methods.GetHistEfetFatu(kBranch, kAlfa, kLunch, r.first, r.last, r.pageNumber, r.size)
                .error,
            r.error);
}

TEST_P(History, ASignedInClerkIsRecordedByLogin) {
    UserAdministration(seed_->Session())
        .Add(QStringLiteral("maria"), QStringLiteral("Maria"), QStringLiteral("senha-da-maria"),
             {kBranch}, false);
    auto access = std::make_shared<ServerAccess>();
    SessionClient(ServerEndpoint{QStringLiteral("127.0.0.1"), server_->Port()}, access)
        .SignIn(QStringLiteral("maria"), QStringLiteral("senha-da-maria"));
    TNetConnection connection;
    connection.SetAccess(access);
    connection.SetHost(QStringLiteral("127.0.0.1"));
    connection.SetPort(server_->Port());
    connection.Connect();
    Clerk clerk(connection.AppServer(), kBranch, kAlfa);
    clerk.OpenDay(kDay);
    ASSERT_TRUE(clerk.GoTo(kLunch));
    ASSERT_TRUE(clerk.Edit({130, std::nullopt, std::nullopt}).success);
    EXPECT_EQ(seed_->Rows(QStringLiteral("SELECT NMUSUARIO, NMMAQUINA FROM HISTEFETFATUR")),
              (QList<QVariantList>{{QStringLiteral("maria"), Workstation::Here().machine}}));
}

// Another program, or an older host, that says nothing of who works at it.
TEST_P(History, ACallerThatReportsNobodyStillSavesAndIsRecordedAsUnidentified) {
    auto stub = Fai00400::rdmEfetFatur::NewStub(
        grpc::CreateChannel(QStringLiteral("127.0.0.1:%1").arg(server_->Port()).toStdString(),
                            grpc::InsecureChannelCredentials()));
    Fai00400::UpDateServDataRequest request;
    request.set_branch(kBranch.toStdString());
    request.set_client(kAlfa.toStdString());
    request.set_service(kLunch.toStdString());
    request.set_first_date(ToDaySerial(kOther));
    request.set_last_date(ToDaySerial(kOther));
    request.set_billed(5);
    grpc::ClientContext context;
    Fai00400::ServerResult result;
    ASSERT_TRUE(stub->UpDateServData(&context, request, &result).ok());
    ASSERT_TRUE(result.success()) << result.error();
    EXPECT_EQ(seed_->Rows(QStringLiteral("SELECT NMUSUARIO, NMMAQUINA FROM HISTEFETFATUR")),
              (QList<QVariantList>{{QStringLiteral("(não identificado)"), QString()}}));
}

INSTANTIATE_TEST_SUITE_P(Backends, History, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
