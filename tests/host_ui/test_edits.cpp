#include "Consiste.h"
#include "DateText.h"
#include "EditMask.h"
#include "Errors.h"
#include "TDateEditPlus.h"
#include "TMaskEdit.h"
#include "TNumberEdit.h"
#include "UiTesting.h"
#include "Value.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>

using namespace fai;

// The masked, date and number boxes as the screens type into them.
class EditsTest : public QObject {
    Q_OBJECT

  private slots:
    void masksTranslateToInputMasks_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("inputMask");
        QTest::addColumn<bool>("saveLiterals");
        QTest::addColumn<QString>("blank");
        QTest::newRow("branch") << ">aaaa;0; "
                                << ">nnnn; " << false << " ";
        QTest::newRow("service") << "99999;0; "
                                 << "00000; " << false << " ";
        QTest::newRow("service field") << "ccccc;0; "
                                       << "xxxxx; " << false << " ";
        QTest::newRow("company") << PictPess("J") << "00.000.000/0000-00;_" << false << "_";
        QTest::newRow("person") << PictPess("F") << "000.000.000-00;_" << false << "_";
        QTest::newRow("date") << DateMask() << "00/00/0000;_" << true << "_";
        QTest::newRow("required and escaped") << "LL0\\D-<cc;1;*"
                                              << "AA9\\D-<xx;*" << true << "*";
        QTest::newRow("case off") << "><LL;0"
                                  << "!AA;_" << false << "_";
        QTest::newRow("none") << ""
                              << "" << true << " ";
    }
    void masksTranslateToInputMasks() {
        QFETCH(QString, mask);
        const EditMask parsed(mask);
        QCOMPARE(parsed.InputMask(), FAI_FETCH(QString, inputMask));
        QCOMPARE(parsed.SaveLiterals(), FAI_FETCH(bool, saveLiterals));
        QCOMPARE(QString(parsed.Blank()), FAI_FETCH(QString, blank));
    }

    void maskedBoxKeepsWhatTheMaskAllows_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("branch upper case") << ">aaaa;0; " << 4 << "ab1c9"
                                           << "AB1C"
                                           << "AB1C";
        QTest::newRow("branch short") << ">aaaa;0; " << 4 << "s1"
                                      << "S1"
                                      << "S1  ";
        QTest::newRow("service digits only") << "99999;0; " << 5 << "12a3"
                                             << "123"
                                             << "123  ";
        QTest::newRow("company number") << PictPess("J") << 20 << "12345678000195"
                                        << "12345678000195"
                                        << "12.345.678/0001-95";
        QTest::newRow("person number") << PictPess("F") << 20 << "12345678909"
                                       << "12345678909"
                                       << "123.456.789-09";
        QTest::newRow("date keeps literals") << DateMask() << 10 << "01022024"
                                             << "01/02/2024"
                                             << "01/02/2024";
        QTest::newRow("no mask, max length") << "" << 5 << "abcdefgh"
                                             << "abcde"
                                             << "abcde";
    }
    void maskedBoxKeepsWhatTheMaskAllows() {
        QFETCH(QString, mask);
        TMaskEdit box;
        box.SetMaxLength(FAI_FETCH(int, maxLength));
        box.SetEditMask(mask);
        QVERIFY(testing::ShowActive(box));
        box.setCursorPosition(0);
        QTest::keyClicks(&box, FAI_FETCH(QString, typed));
        QCOMPARE(box.Text(), FAI_FETCH(QString, value));
        QCOMPARE(box.displayText(), FAI_FETCH(QString, shown));
    }

    void maskedBoxShowsAStoredValueWithTheMaskLiterals() {
        TMaskEdit box;
        box.SetEditMask(PictPess("J"));
        box.SetText("12345678000195");
        QCOMPARE(box.displayText(), QStringLiteral("12.345.678/0001-95"));
        QCOMPARE(box.Text(), QStringLiteral("12345678000195"));
        // The client box drops its mask to take a number typed without punctuation.
        box.SetEditMask(QString());
        box.SetMaxLength(20);
        QCOMPARE(box.Text(), QStringLiteral("12345678000195"));
        QCOMPARE(box.displayText(), QStringLiteral("12345678000195"));
        box.SetEditMask(PictPess("F"));
        box.SetText("12345678909");
        QCOMPARE(box.displayText(), QStringLiteral("123.456.789-09"));
        box.SetText(QString());
        QCOMPARE(box.Text(), QString());
    }

    void changeHandlerRunsForTypingAndAssignments() {
        TMaskEdit box;
        box.SetEditMask(">aaaa;0; ");
        QStringList seen;
        box.OnChange = [&] { seen << box.Text(); };
        QVERIFY(testing::ShowActive(box));
        box.setCursorPosition(0);
        QTest::keyClicks(&box, "a1");
        box.SetText("ZZ");
        QCOMPARE(seen, (QStringList{"A", "A1", "ZZ"}));
        // A failing handler is shown and does not stop the typing.
        testing::DialogScript script;
        box.OnChange = [] { throw EError("falhou"); };
        QTest::keyClicks(&box, "9");
        QCOMPARE(script.Texts(), QStringList{"falhou"});
    }

    void keyHandlersSwallowOrReplaceKeys() {
        TMaskEdit box;
        box.OnKeyDown = [](int& key, Qt::KeyboardModifiers) {
            if (key == Qt::Key_X) key = 0;
            if (key == Qt::Key_Y) throw EAbort();
        };
        box.OnKeyPress = [](QChar& key) {
            if (key == QLatin1Char('a')) key = QLatin1Char('b');
            if (key == QLatin1Char('z')) key = QChar();
        };
        QVERIFY(testing::ShowActive(box));
        QTest::keyClicks(&box, "xaywzc");
        QCOMPARE(box.Text(), QStringLiteral("bwc"));
    }

    void dateBoxReadsTypedDates_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("weekday");
        QTest::newRow("full") << "01022024" << QDate(2024, 2, 1) << "Quinta";
        QTest::newRow("two-digit year") << "090326" << QDate(2026, 3, 9) << "Segunda";
        QTest::newRow("last century") << "311299" << QDate(1999, 12, 31) << "Sexta";
        QTest::newRow("sunday") << "08032026" << QDate(2026, 3, 8) << "Domingo";
        QTest::newRow("blank") << "" << ZeroDate() << "";
    }
    void dateBoxReadsTypedDates() {
        TDateEditPlus box;
        QVERIFY(testing::ShowActive(box));
        box.setCursorPosition(0);
        QTest::keyClicks(&box, FAI_FETCH(QString, typed));
        QFETCH(QDate, date);
        QCOMPARE(box.GetDate(), date);
        box.CheckValidDate();
        QCOMPARE(box.WeekdayName(), FAI_FETCH(QString, weekday));
        QCOMPARE(box.toolTip(), box.WeekdayName());
        const bool blue = box.palette().color(QPalette::Text) == QColor(Qt::blue);
        QCOMPARE(blue, date != ZeroDate());
        // Disabled, it looks disabled whatever it holds.
        QCOMPARE(box.palette().color(QPalette::Disabled, QPalette::Text),
                 QPalette().color(QPalette::Disabled, QPalette::Text));
    }

    // Wherever the clerk clicks into a box, the next digit goes after those typed already.
    void aClickPastTheTypedTextTypesAfterIt_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("clickedAt");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty, clicked mid-box") << "" << 5 << "01112026"
                                                << "01/11/2026";
        QTest::newRow("half typed, clicked at the end") << "0111" << 9 << "2026"
                                                        << "01/11/2026";
        QTest::newRow("clicked inside what is typed") << "01112026" << 1 << "2"
                                                      << "02/11/2026";
    }
    void aClickPastTheTypedTextTypesAfterIt() {
        TDateEditPlus box;
        QVERIFY(testing::ShowActive(box));
        box.setCursorPosition(0);
        QTest::keyClicks(&box, FAI_FETCH(QString, before));
        const QString shown = box.displayText();
        // Just right of the character boundary: the frame and margins take a few pixels.
        const int x =
            5 + box.fontMetrics().horizontalAdvance(shown.left(FAI_FETCH(int, clickedAt)));
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(x, box.height() / 2));
        QTest::keyClicks(&box, FAI_FETCH(QString, typed));
        QCOMPARE(box.displayText(), FAI_FETCH(QString, after));
    }

    void dateBoxRefusesWhatIsNoDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("allowBlank");
        QTest::newRow("no such day") << "31022024" << true;
        QTest::newRow("month 13") << "01132024" << true;
        QTest::newRow("three-digit year") << "0102202" << true;
        QTest::newRow("half typed") << "0102" << true;
        QTest::newRow("blank where required") << "" << false;
    }
    void dateBoxRefusesWhatIsNoDate() {
        TDateEditPlus box;
        box.SetAllowBlank(FAI_FETCH(bool, allowBlank));
        QVERIFY(testing::ShowActive(box));
        box.setCursorPosition(0);
        QTest::keyClicks(&box, FAI_FETCH(QString, typed));
        QVERIFY_THROWS_EXCEPTION(EError, box.CheckValidDate());
        QVERIFY(box.palette().color(QPalette::Text) != QColor(Qt::blue));
        QCOMPARE(box.WeekdayName(), QString());
    }

    void dateBoxTakesDatesFromCode() {
        TDateEditPlus box;
        box.SetDate(QDate(2026, 3, 9));
        QCOMPARE(box.Text(), QStringLiteral("09/03/2026"));
        QCOMPARE(box.GetDate(), QDate(2026, 3, 9));
        box.SetDate(ZeroDate());
        QVERIFY(box.IsBlank());
        QCOMPARE(box.GetDate(), ZeroDate());
        box.SetDate(QDate());
        QVERIFY(box.IsBlank());
        box.SetWeekdayNames({"D", "S", "T", "Q", "Q", "S", "S"});
        box.SetDate(QDate(2026, 3, 10));
        QCOMPARE(box.WeekdayName(), QStringLiteral("T"));
    }

    void dateTextsAreStoredInDateFields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("stored");  // invalid: null
        QTest::addColumn<bool>("refused");
        QTest::newRow("dd/MM/yyyy") << "09/03/2026" << QDate(2026, 3, 9) << false;
        QTest::newRow("d/M/yy") << "9/3/26" << QDate(2026, 3, 9) << false;
        QTest::newRow("blanks in the parts") << " 9/ 3/2026" << QDate(2026, 3, 9) << false;
        QTest::newRow("empty mask is null") << "  /  /    " << QDate() << false;
        QTest::newRow("empty is null") << "" << QDate() << false;
        QTest::newRow("no such day") << "30/02/2026" << QDate(2000, 1, 1) << true;
        QTest::newRow("letters") << "ab/cd/efgh" << QDate(2000, 1, 1) << true;
        QTest::newRow("two parts") << "09/03" << QDate(2000, 1, 1) << true;
        QTest::newRow("three-digit year") << "09/03/202" << QDate(2000, 1, 1) << true;
    }
    // A layout short of room squeezes other boxes, never a date into a clipped one.
    void dateBoxIsNeverNarrowerThanADate() {
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* box = new TDateEditPlus;
        layout->addWidget(box);
        layout->addWidget(new QLineEdit);
        box->SetDate(QDate(2026, 12, 8));
        window.resize(40, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY2(box->width() > box->fontMetrics().horizontalAdvance(box->text()),
                 qPrintable(QString::number(box->width())));
    }

    void dateTextsAreStoredInDateFields() {
        ClientDataSet dataSet("cdsDatas");
        Field& field = dataSet.AddField({"DTFATURAM", FieldType::DateTime});
        dataSet.Open();
        dataSet.Append();
        field.SetAsDateTime(QDate(2000, 1, 1));
        QFETCH(QString, text);
        QFETCH(QDate, stored);
        QFETCH(bool, refused);
        if (refused) {
            try {
                DateSetText(field, text);
                QFAIL("accepted a text that is no date");
            } catch (const EError& e) {
                QVERIFY(e.Message().contains(text.trimmed()));
                QVERIFY(e.Message().contains(QStringLiteral("não é uma data válida")));
            }
        } else {
            DateSetText(field, text);
        }
        QCOMPARE(field.IsNull(), !stored.isValid());
        if (stored.isValid()) QCOMPARE(field.AsDateTime(), stored);
    }

    void numberBoxTakesBrazilianNumbers_data() {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("thousands");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<double>("numberAfter");  // leaving the box rounds to the decimals
        QTest::newRow("comma") << 3 << false << "1234,5" << 1234.5 << "1234,500" << 1234.5;
        QTest::newRow("dot becomes comma") << 3 << false << "12.25" << 12.25 << "12,250" << 12.25;
        QTest::newRow("letters discarded") << 2 << false << "1a2b" << 12.0 << "12,00" << 12.0;
        QTest::newRow("thousands")
            << 2 << true << "1234567,891" << 1234567.891 << "1.234.567,89" << 1234567.89;
        QTest::newRow("negative") << 0 << false << "-7" << -7.0 << "-7" << -7.0;
        QTest::newRow("blank") << 3 << false << "" << 0.0 << "" << 0.0;
        QTest::newRow("sign alone") << 3 << false << "-" << 0.0 << "-" << 0.0;
    }
    void numberBoxTakesBrazilianNumbers() {
        QWidget window;
        auto* box = new TNumberEdit(&window);
        auto* next = new QLineEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(next);
        box->SetDecimals(FAI_FETCH(int, decimals));
        box->SetThousandSeparator(FAI_FETCH(bool, thousands));
        QVERIFY(testing::ShowActive(window));
        box->setFocus();
        QTest::keyClicks(box, FAI_FETCH(QString, typed));
        QFETCH(double, number);
        QCOMPARE(box->GetNumber(), number);
        next->setFocus();
        QCOMPARE(box->text(), FAI_FETCH(QString, shownAfter));
        QCOMPARE(box->GetNumber(), FAI_FETCH(double, numberAfter));
    }

    void numberBoxKeyFilterOfTheScreensLimitsTheNumber() {
        TNumberEdit box;
        box.SetDecimals(3);
        box.SetThousandSeparator(false);
        // The duplication counts: no minus, 10 integer digits and 3 decimals.
        box.OnKeyPress = [&box](QChar& key) {
            if (key == QLatin1Char('-')) key = QChar();
            if (!MaxNumber(box.text(), 10, 3, key, box.SelStart(), box.SelLength())) key = QChar();
        };
        QVERIFY(testing::ShowActive(box));
        QTest::keyClicks(&box, "-123456789012,34567");
        QCOMPARE(box.text(), QStringLiteral("1234567890,345"));
        box.selectAll();
        QCOMPARE(box.SelStart(), 0);
        QCOMPARE(box.SelLength(), 14);
        QTest::keyClicks(&box, "7");
        QCOMPARE(box.text(), QStringLiteral("7"));
        QCOMPARE(box.SelStart(), 1);
        QCOMPARE(box.SelLength(), 0);
    }

    void numberBoxRefusesTextThatIsNoNumber() {
        TNumberEdit box;
        box.setText("12,3,4");
        QVERIFY_THROWS_EXCEPTION(EError, box.GetNumber());
        box.SetNumber(2.5);
        QCOMPARE(box.GetNumber(), 2.5);
    }
};

FAI_UI_TEST_MAIN(EditsTest)
#include "test_edits.moc"
