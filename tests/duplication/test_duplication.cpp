// The duplication screen, opened from the headcount screen by service as the clerk opens it:
// its make-up, every refusal with its message and the box to correct, the questions, the
// range written in one call with the headcount screen reloaded, and the server's refusals.
#include "BusyIndicator.h"
#include "Cli_fai00402.h"
#include "DateText.h"
#include "HeadcountFixture.h"
#include "TButtonFlat.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "TNumberEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

using namespace fai;
using namespace fai::testing;

namespace {

QDate Day(int day, int month = 3, int year = 2026) { return QDate(year, month, day); }
QString Text(const QDate& date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }
Key LunchOn(const QDate& date) { return {kBranch, kClient, kLunch, date}; }

// The dates out of order, with the way out: both start on the processing date.
QString OutOfOrder(const QString& initial, const QString& final) {
    return QStringLiteral(
               "Data Inicial deve ser menor ou igual a data final.\nInicial %1, final %2: para "
               "um período depois da data final, informe primeiro a data final.")
        .arg(initial, final);
}

// What the database holds besides the client and its services when the screens open.
enum class Given {
    Nothing,
    ClosedBeforeThe15th,  // processing date the 20th, five days before it open
    AssessedThe10thTo12th,
    LunchStoredOnThe10th,
};

void SeedGiven(HeadcountFixture& f, Given given) {
    f.SeedClientWithServices();
    switch (given) {
        case Given::Nothing:
            break;
        case Given::ClosedBeforeThe15th:
            f.Seed().Params(kBranch, Day(20), QStringLiteral("S"), 5, QStringLiteral("S"));
            break;
        case Given::AssessedThe10thTo12th:
            f.Seed().Period(kBranch, kClient, QStringLiteral("0000000001"), Day(10), Day(12));
            break;
        case Given::LunchStoredOnThe10th:
            f.Seed().Headcount(LunchOn(kTenth), 120, 130);
            break;
    }
}

// The headcount screen by lunch, and the duplication screen opened from its command; the
// duplication screen goes with the case.
class Duplication {
  public:
    explicit Duplication(HeadcountFixture& f) : f_(f) {
        f.Open();
        f.FilterByService(kLunch);
        f.Find<TButtonFlat>("sbtCadastro")->click();
        if (!frmDupCom) qFatal("the duplication screen was not opened");
        screen_ = frmDupCom;
        if (!ShowActive(*screen_)) qFatal("the duplication screen did not become active");
        f.TakeMessages();
    }
    ~Duplication() { delete screen_.data(); }
    Duplication(const Duplication&) = delete;
    Duplication& operator=(const Duplication&) = delete;

    TfrmDupCom* operator->() const { return screen_.data(); }
    bool Open() const { return screen_ && screen_->isVisible(); }
    QString Focused() const { return screen_->focusWidget()->objectName(); }

    void Fill(const QString& billed, const QString& forecast, const QString& initial,
              const QString& final) {
        screen_->nedComFaturados->clear();
        QTest::keyClicks(screen_->nedComFaturados, billed);
        screen_->nedComPrevistos->clear();
        QTest::keyClicks(screen_->nedComPrevistos, forecast);
        screen_->depInicial->SetText(initial);
        screen_->depFinal->SetText(final);
    }
    // From the keyboard, as a clerk runs it: the button takes no focus.
    void Run() {
        QWidget* focus = screen_->focusWidget() ? screen_->focusWidget() : screen_->depInicial;
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_F10);
    }

  private:
    HeadcountFixture& f_;
    QPointer<TfrmDupCom> screen_;
};

}  // namespace

Q_DECLARE_METATYPE(Given)

class DuplicationTest : public QObject {
    Q_OBJECT

  private slots:
    void theScreenIsMadeUpForOnePairOfCountsOverARange() {
        HeadcountFixture f;
        SeedGiven(f, Given::Nothing);
        Duplication dup(f);
        QCOMPARE(dup->windowTitle(), QStringLiteral("Duplicação de Comensais"));
        QCOMPARE(dup->lblCodTela->text(), QStringLiteral("FAI00402"));
        QCOMPARE(dup->sbtImportExport->Hint(), QStringLiteral("Duplicação de Comensais"));
        QCOMPARE(dup->sbtImportExport->toolTip(), QStringLiteral("Duplicação de Comensais (F10)"));
        // What a run writes, as the headcount screen has it when the clerk comes back here.
        const QString target = QStringLiteral("Cliente: 12.345.678/0001-95 - ") + kClientName +
                               QStringLiteral("\nServiço: 00001 - ALMOCO    Filial: 0001");
        QCOMPARE(dup->lblDestino->text(), target);
        QVERIFY(ShowActive(f.Screen()));
        f.Type(f.Find<TMaskEdit>("medCdServico"), kDinner);
        QVERIFY(ShowActive(*dup.operator->()));
        QCOMPARE(dup->lblDestino->text(), QString(target).replace("00001 - ALMOCO", "00002"));
        QCOMPARE(dup->HelpFile(), QStringLiteral("RodIVIV.hlp"));
        QCOMPARE(dup->HelpContext(), 13002900);
        QVERIFY(!dup->pgbProgresso->isVisible());
        QCOMPARE(dup->grbData->title(), QStringLiteral("Data de Faturamento"));

        const struct {
            const char* label;
            const char* control;
            QString caption;
        } labelled[] = {{"lblComFaturados", "nedComFaturados", "Numero Comensais Faturados"},
                        {"lblComPrevistos", "nedComPrevistos", "Numero Comensais Previstos"},
                        {"lblInicial", "depInicial", "Inicial"},
                        {"lblFinal", "depFinal", "Final"}};
        for (const auto& row : labelled) {
            auto* label = dup->findChild<QLabel*>(QLatin1String(row.label));
            QVERIFY2(label, row.label);
            QCOMPARE(label->text(), row.caption);
            QCOMPARE(label->buddy()->objectName(), QLatin1String(row.control));
        }
        for (TNumberEdit* count : {dup->nedComFaturados, dup->nedComPrevistos}) {
            QCOMPARE(count->Decimals(), 3);
            QVERIFY(!count->ThousandSeparator());
            QVERIFY(count->text().isEmpty());
        }
        // Both dates start on the working branch's processing date, a Tuesday.
        for (auto [date, weekday] : {std::pair{dup->depInicial, dup->edtInicial},
                                     std::pair{dup->depFinal, dup->edtFinal}}) {
            QCOMPARE(date->GetDate(), kTenth);
            QCOMPARE(weekday->text(), QStringLiteral("Terça"));
            QVERIFY(!weekday->isEnabled());
            QVERIFY(dup->grbData->isAncestorOf(date));
        }

        dup->nedComFaturados->setFocus();
        for (const char* next : {"nedComPrevistos", "depInicial", "depFinal"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(dup.Focused(), QLatin1String(next));
        }
    }

    void theCountBoxesTakeNoSignAndAtMostTenDigitsAndThreeDecimals_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a minus sign") << "-12"
                                      << "12";
        QTest::newRow("eleven digits") << "12345678901"
                                       << "1234567890";
        QTest::newRow("four decimals") << "7,1234"
                                       << "7,123";
    }
    void theCountBoxesTakeNoSignAndAtMostTenDigitsAndThreeDecimals() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        HeadcountFixture f;
        SeedGiven(f, Given::Nothing);
        Duplication dup(f);
        for (TNumberEdit* count : {dup->nedComFaturados, dup->nedComPrevistos}) {
            QTest::keyClicks(count, typed);
            QCOMPARE(count->text(), shown);
        }
    }

    void aDateLeftShowsItsWeekdayAndTypingClearsIt_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("weekday");
        const QStringList names = {"Domingo", "Segunda", "Terça", "Quarta",
                                   "Quinta",  "Sexta",   "Sábado"};
        for (int i = 0; i < 7; ++i) QTest::newRow(qPrintable(names[i])) << Day(15 + i) << names[i];
    }
    void aDateLeftShowsItsWeekdayAndTypingClearsIt() {
        QFETCH(QDate, date);
        QFETCH(QString, weekday);
        HeadcountFixture f;
        SeedGiven(f, Given::Nothing);
        Duplication dup(f);
        const struct {
            TDateEditPlus* box;
            QLineEdit* weekday;
        } dates[] = {{dup->depFinal, dup->edtFinal}, {dup->depInicial, dup->edtInicial}};
        for (const auto& row : dates) {
            row.box->setFocus();
            row.box->SetText(Text(date));
            QCOMPARE(row.weekday->text(), QString());
            QTest::keyClick(row.box, Qt::Key_Tab);
            QCOMPARE(row.weekday->text(), weekday);
            // Shown whole: drawn with the cursor after its last letter, its first letter is
            // still at the box's left edge, not scrolled away.
            row.weekday->grab();
            QVERIFY2(row.weekday->cursorPositionAt(QPoint(4, row.weekday->height() / 2)) == 0,
                     qPrintable(weekday));
        }
        QCOMPARE(f.TakeMessages(), QStringList());
    }

    void leavingADateOutOfOrderOrNoDayIsRefusedThere_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("final");
        QTest::addColumn<bool>("noDay");
        QTest::newRow("initial after final") << "depInicial"
                                             << "20/03/2026"
                                             << "15/03/2026" << false;
        QTest::newRow("final before initial") << "depFinal"
                                              << "20/03/2026"
                                              << "15/03/2026" << false;
        QTest::newRow("initial no day") << "depInicial"
                                        << "31/02/2026"
                                        << "15/03/2026" << true;
        QTest::newRow("final no day") << "depFinal"
                                      << "10/03/2026"
                                      << "30/02/2026" << true;
    }
    void leavingADateOutOfOrderOrNoDayIsRefusedThere() {
        QFETCH(QString, box);
        QFETCH(QString, initial);
        QFETCH(QString, final);
        QFETCH(bool, noDay);
        HeadcountFixture f;
        SeedGiven(f, Given::Nothing);
        Duplication dup(f);
        dup->depInicial->SetText(initial);
        dup->depFinal->SetText(final);
        auto* left = dup->findChild<TDateEditPlus*>(box);
        const QString typed = left->Text();
        left->setFocus();
        // The message takes the focus away, as it does under a window manager, and the screen
        // gets it back only afterwards: the other date must not take that for being left.
        AnswerLikeAWindowManager();
        QTest::keyClick(left, Qt::Key_Tab);
        QVERIFY(ShowActive(*dup.operator->()));
        QTRY_COMPARE(dup.Focused(), box);
        const QString expected = noDay ? InvalidDateMessage(typed) : OutOfOrder(initial, final);
        QCOMPARE(f.TakeMessages(), QStringList{expected});
        QCOMPARE(left->Text(), typed);
        // Typed at once, a date replaces the one refused.
        QTest::keyClicks(left, "17032026");
        QCOMPARE(left->Text(), QStringLiteral("17/03/2026"));
    }

    void aDuplicationRefusedSaysWhyFocusesTheBoxAndWritesNothing_data() {
        QTest::addColumn<Given>("given");
        QTest::addColumn<QString>("billed");
        QTest::addColumn<QString>("forecast");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("final");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString tenth = Text(kTenth);
        QTest::newRow("billed below zero")
            << Given::Nothing << ""
            << "5" << tenth << tenth << "Número Comensais Faturados deve ver maior que zero."
            << "nedComFaturados";
        QTest::newRow("forecast below zero")
            << Given::Nothing << "5"
            << "" << tenth << tenth << "Número Comensais Previstos deve ser maior que zero."
            << "nedComPrevistos";
        QTest::newRow("no initial date") << Given::Nothing << "1"
                                         << "1"
                                         << ""
                                         << "12/03/2026"
                                         << "Data inicial deve ser informada."
                                         << "depInicial";
        QTest::newRow("no final date") << Given::Nothing << "1"
                                       << "1" << tenth << ""
                                       << "Data final deve ser informada."
                                       << "depFinal";
        QTest::newRow("no date at all") << Given::Nothing << "1"
                                        << "1"
                                        << ""
                                        << ""
                                        << "Data inicial deve ser informada."
                                        << "depInicial";
        QTest::newRow("final before initial")
            << Given::Nothing << "1"
            << "1"
            << "12/03/2026"
            << "11/03/2026" << OutOfOrder("12/03/2026", "11/03/2026") << "depInicial";
        QTest::newRow("initial no day") << Given::Nothing << "1"
                                        << "1"
                                        << "32/03/2026"
                                        << "12/03/2026"
                                        << ""
                                        << "depInicial";
        QTest::newRow("first day closed")
            << Given::ClosedBeforeThe15th << "1"
            << "1"
            << "14/03/2026"
            << "20/03/2026"
            << "Data inicial fora do período de lançamento de efetivos para faturamento."
            << "depInicial";
        const QString assessed = QStringLiteral(
            "Efetivos do cliente já apurados para pelo menos "
            "um dia do intervalo de datas informado.");
        QTest::newRow("assessed period holds the initial date")
            << Given::AssessedThe10thTo12th << "1"
            << "1"
            << "12/03/2026"
            << "20/03/2026" << assessed << "depInicial";
        QTest::newRow("assessed period holds the final date")
            << Given::AssessedThe10thTo12th << "1"
            << "1"
            << "01/03/2026" << tenth << assessed << "depInicial";
        QTest::newRow("assessed period inside the range")
            << Given::AssessedThe10thTo12th << "1"
            << "1"
            << "01/03/2026"
            << "20/03/2026" << assessed << "depInicial";
    }
    void aDuplicationRefusedSaysWhyFocusesTheBoxAndWritesNothing() {
        QFETCH(Given, given);
        QFETCH(QString, billed);
        QFETCH(QString, forecast);
        QFETCH(QString, initial);
        QFETCH(QString, final);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        HeadcountFixture f;
        SeedGiven(f, given);
        Duplication dup(f);
        dup.Fill(billed, forecast, initial, final);
        // A sign cannot be typed: a negative count comes from elsewhere (pasted).
        if (billed.isEmpty()) dup->nedComFaturados->setText(QStringLiteral("-1"));
        if (forecast.isEmpty()) dup->nedComPrevistos->setText(QStringLiteral("-0,5"));
        if (message.isEmpty()) message = InvalidDateMessage(dup->depInicial->Text());
        f.AnswerQuestionsWith(mrYes);
        dup.Run();
        QCOMPARE(f.TakeMessages(), QStringList{message});
        QCOMPARE(dup.Focused(), focus);
        QCOMPARE(f.Calls("UpDateServData"), 0);
        QVERIFY(dup.Open());
    }

    void aRangeIsWrittenForEveryDayInOneCallAndTheHeadcountsReloaded_data() {
        QTest::addColumn<Given>("given");
        QTest::addColumn<QString>("billed");
        QTest::addColumn<QString>("forecast");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<double>("billedStored");
        QTest::addColumn<double>("forecastStored");
        QTest::newRow("as opened, counts empty") << Given::Nothing << ""
                                                 << "" << kTenth << kTenth << 0.0 << 0.0;
        QTest::newRow("five days") << Given::Nothing << "120,5"
                                   << "130" << kTenth << Day(14) << 120.5 << 130.0;
        QTest::newRow("first open day of a closed branch")
            << Given::ClosedBeforeThe15th << "7"
            << "8" << Day(15) << Day(17) << 7.0 << 8.0;
        QTest::newRow("a stored day replaced") << Given::LunchStoredOnThe10th << "80"
                                               << "90" << kTenth << Day(11) << 80.0 << 90.0;
        QTest::newRow("the day after an assessed period")
            << Given::AssessedThe10thTo12th << "3"
            << "4" << Day(13) << Day(14) << 3.0 << 4.0;
    }
    void aRangeIsWrittenForEveryDayInOneCallAndTheHeadcountsReloaded() {
        QFETCH(Given, given);
        QFETCH(QString, billed);
        QFETCH(QString, forecast);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(double, billedStored);
        QFETCH(double, forecastStored);
        HeadcountFixture f;
        SeedGiven(f, given);
        Duplication dup(f);
        dup.Fill(billed, forecast, Text(first), Text(last));
        const int loads = f.Calls("GetEfetFatu");
        dup.Run();
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("UpDateServData"), 1);
        for (QDate day = first; day <= last; day = day.addDays(1)) {
            const auto stored = f.Seed().Headcount(LunchOn(day));
            QVERIFY2(stored, qPrintable(Text(day)));
            QCOMPARE(stored->billed, billedStored);
            QCOMPARE(stored->forecast, forecastStored);
        }
        QVERIFY(!f.Seed().Headcount(LunchOn(first.addDays(-1))));
        QVERIFY(!f.Seed().Headcount(LunchOn(last.addDays(1))));
        QCOMPARE(f.Calls("GetEfetFatu"), loads + 1);
        QCOMPARE(f.Screen().cdsEfetFatu.RecordCount(), int(first.daysTo(last)) + 1);
        QCOMPARE(ShowAviDepth(), 0);
        QTRY_VERIFY(!dup.Open());
    }

    // The days are stored by then: the screen must not stay open inviting a second run.
    void aReloadThatFailsAfterTheWriteStillClosesTheScreen() {
        HeadcountFixture f;
        SeedGiven(f, Given::Nothing);
        Duplication dup(f);
        f.Find<TMaskEdit>("medCdCliente")->SetText(QStringLiteral("99999999000199"));
        dup.Fill(QStringLiteral("5"), QStringLiteral("6"), Text(kTenth), Text(Day(11)));
        dup.Run();
        QCOMPARE(f.TakeMessages().size(), 1);
        QCOMPARE(f.Seed().Headcount(LunchOn(Day(11)))->billed, 5.0);
        QCOMPARE(ShowAviDepth(), 0);
        QTRY_VERIFY(!dup.Open());
    }

    void theQuestionsOfALongRangeAndOfDaysBeforeProcessing_data() {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("written");
        const QString longRange =
            QStringLiteral("O período informado é superior a trinta dias.Confirma operação?");
        const QString beforeProcessing = QStringLiteral(
            "Período informado inferior a data de processamento. Confirma operação?");
        QTest::newRow("thirty days with both ends")
            << kTenth << Day(8, 4) << int(mrNo) << "" << true;
        QTest::newRow("thirty-one days, yes")
            << kTenth << Day(9, 4) << int(mrYes) << longRange << true;
        QTest::newRow("thirty-one days, no")
            << kTenth << Day(9, 4) << int(mrNo) << longRange << false;
        QTest::newRow("a day before processing, yes")
            << Day(9) << kTenth << int(mrYes) << beforeProcessing << true;
        QTest::newRow("a day before processing, no")
            << Day(9) << kTenth << int(mrNo) << beforeProcessing << false;
    }
    void theQuestionsOfALongRangeAndOfDaysBeforeProcessing() {
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(bool, written);
        HeadcountFixture f;
        SeedGiven(f, Given::Nothing);
        Duplication dup(f);
        dup.Fill(QStringLiteral("1"), QStringLiteral("2"), Text(first), Text(last));
        f.AnswerQuestionsWith(answer);
        dup.Run();
        QCOMPARE(f.TakeMessages(), question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(f.Calls("UpDateServData"), written ? 1 : 0);
        QCOMPARE(f.Seed().Count(QStringLiteral("EFETFATUR")),
                 written ? int(first.daysTo(last)) + 1 : 0);
        if (written) {
            QTRY_VERIFY(!dup.Open());
        } else {
            QVERIFY(dup.Open());
        }
    }

    void aServerRefusalIsShownAndNothingIsWritten_data() {
        QTest::addColumn<QDate>("last");
        QTest::addColumn<bool>("assessedMeanwhile");
        QTest::addColumn<QString>("serverSays");
        QTest::newRow("over a year")
            << Day(10, 3, 2027) << false << "O período de 10/03/2026 a 10/03/2027 passa de um ano";
        QTest::newRow("assessed after the screens loaded")
            << Day(14) << true << "Efetivos do cliente já apurados na data selecionada.";
    }
    void aServerRefusalIsShownAndNothingIsWritten() {
        QFETCH(QDate, last);
        QFETCH(bool, assessedMeanwhile);
        QFETCH(QString, serverSays);
        HeadcountFixture f;
        SeedGiven(f, Given::Nothing);
        Duplication dup(f);
        if (assessedMeanwhile)
            f.Seed().Period(kBranch, kClient, QStringLiteral("0000000009"), Day(12), Day(13));
        dup.Fill(QStringLiteral("1"), QStringLiteral("2"), Text(kTenth), Text(last));
        const int loads = f.Calls("GetEfetFatu");
        f.AnswerQuestionsWith(mrYes);
        dup.Run();
        const QStringList shown = f.TakeMessages();
        QVERIFY(!shown.isEmpty());
        QVERIFY2(shown.last().contains(serverSays), qPrintable(shown.last()));
        QCOMPARE(f.Calls("UpDateServData"), 1);
        QCOMPARE(f.Seed().Count(QStringLiteral("EFETFATUR")), 0);
        QCOMPARE(f.Calls("GetEfetFatu"), loads);
        QCOMPARE(ShowAviDepth(), 0);
        QVERIFY(dup.Open());
    }

    void nothingIsWrittenWhileTheHeadcountScreenCannotTakeIt_data() {
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("key");
        QTest::newRow("headcount screen closed") << true << "EfetFatur_Fech";
        QTest::newRow("a headcount row being typed") << false << "EfetFatur_Edit";
    }
    void nothingIsWrittenWhileTheHeadcountScreenCannotTakeIt() {
        QFETCH(bool, closed);
        QFETCH(QString, key);
        HeadcountFixture f;
        SeedGiven(f, Given::Nothing);
        Duplication dup(f);
        if (closed) {
            delete frmEfetFatur.data();
        } else {
            f.Find<TButtonFlat>("sbtIncluir")->click();
            QCOMPARE(f.Screen().cdsEfetFatu.State(), DataSetState::Insert);
        }
        f.TakeMessages();
        dup.Run();
        const QStringList shown = f.TakeMessages();
        QCOMPARE(shown, QStringList{dup->msgPadrao.Msg(key)});
        QVERIFY(shown.first() != key);
        QCOMPARE(f.Calls("UpDateServData"), 0);
        QVERIFY(dup.Open());
    }
};

FAI_UI_TEST_MAIN(DuplicationTest)
#include "test_duplication.moc"
