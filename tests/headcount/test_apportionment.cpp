// The apportionment of a row's billed diners over the client's items: the dialog opened from
// the billed count's cell, its total reaching the count, a count typed by hand reconciled
// with the items, the links numbered and saved with their row.
#include "Cli_fai00403.h"
#include "GridFixture.h"
#include "HeadcountFixture.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDBText.h"
#include "TMaskEdit.h"

#include <QAction>
#include <QLabel>

using namespace fai;
using namespace fai::testing;

Q_DECLARE_METATYPE(fai::testing::Key)

namespace {

const QString kQuestion =
    QStringLiteral("Existe rateio de efetivos para o cliente. Deseja utilizar o valor do rateio?");
const QString kNegative = QStringLiteral("Quantidade de efetivos deve ser maior que zero.");

// The client's two items, "ALA NORTE" before "ALA SUL".
struct Items {
    int north, south;
};

Items SeedItems(HeadcountFixture& f) {
    return {f.Seed().Item(kClient, QStringLiteral("00001"), QStringLiteral("ALA NORTE")),
            f.Seed().Item(kClient, QStringLiteral("00002"), QStringLiteral("ALA SUL"))};
}

// By date on the 10th, or by service from its first day.
void Filter(HeadcountFixture& f, int mode) {
    f.FilterByMode(mode);
    if (mode == 1) f.GoToFirstRow();
}

TDBGrid* DialogGrid(QDialog& dialog) { return dialog.findChild<TDBGrid*>("dbgPadrao"); }

// Diners typed item after item from the one the dialog starts on, the down arrow between
// them; the last one is left in its cell for closing to post.
void TypeDiners(const QStringList& diners) {
    for (qsizetype at = 0; at < diners.size(); ++at) {
        if (at > 0) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        TypeKeys(diners[at]);
    }
}

// Opens the dialog from the billed count's cell of the grid in view with Ctrl+Enter; the
// clerk's part is `work`, with the dialog shown and active, and then the dialog is closed.
// Answers whether the dialog was opened.
bool Apportion(HeadcountFixture& f, const std::function<void(QDialog&)>& work) {
    bool opened = false;
    f.RunModalsWith([&](QDialog& dialog) {
        opened = true;
        if (!ShowActive(dialog)) qFatal("the apportionment dialog did not become active");
        work(dialog);
        dialog.close();
        return int(mrOk);
    });
    TDBGrid* grid = f.VisibleGrid();
    grid->setFocus();
    grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
    QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
    ShowActive(f.Screen());
    return opened;
}

void TypeBilledCount(HeadcountFixture& f, const QString& count) {
    TDBGrid* grid = f.VisibleGrid();
    grid->setFocus();
    grid->SetSelectedIndex(IndiceCol(grid, "QTCOMEFATU"));
    TypeKeys(count);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

void Confirm(HeadcountFixture& f) { f.Find<TButtonFlat>("sbtConfirmar")->click(); }

QVariantList DinersOnScreen(ClientDataSet& items) {
    QVariantList diners;
    items.ForEachRow([&](const RowView& row) {
        const Value value = row.ValueOf("QTEFETIVOS");
        diners << (value.IsNull() ? QVariant() : QVariant(row.AsFloat("QTEFETIVOS")));
    });
    return diners;
}

QVariantList LinkNumbersOnScreen(ClientDataSet& items) {
    QVariantList numbers;
    items.ForEachRow([&](const RowView& row) {
        numbers << (row.IsNull("NRITRATEFECLIFAT") ? QVariant()
                                                   : QVariant(row.AsFloat("NRITRATEFECLIFAT")));
    });
    return numbers;
}

QString EnabledDialogCommands(QDialog& dialog) {
    QStringList enabled;
    for (auto* button : dialog.findChildren<TButtonFlat*>()) {
        if (button->isEnabled()) enabled << button->objectName();
    }
    enabled.sort();
    return enabled.join(QStringLiteral(", "));
}

}  // namespace

class ApportionmentTest : public QObject {
    Q_OBJECT

  private slots:
    void theButtonIsOfferedOnlyWhenTheClientHasItems_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("items");
        QTest::newRow("by date, items") << 0 << true;
        QTest::newRow("by date, no items") << 0 << false;
        QTest::newRow("by service, items") << 1 << true;
        QTest::newRow("by service, no items") << 1 << false;
    }

    void theButtonIsOfferedOnlyWhenTheClientHasItems() {
        QFETCH(int, mode);
        QFETCH(bool, items);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 120, 130);
        if (items) SeedItems(f);
        f.Open();
        Filter(f, mode);
        TfrmEfetFatur& screen = f.Screen();
        for (TDBGrid* grid : {screen.dbgData, screen.dbgServico}) {
            QCOMPARE(grid->Columns()[IndiceCol(grid, "QTCOMEFATU")].ButtonStyle(),
                     items ? ColumnButtonStyle::Ellipsis : ColumnButtonStyle::Auto);
        }

        // Without items Ctrl+Enter finds no button; with them it opens the dialog.
        QCOMPARE(Apportion(f, [](QDialog&) {}), items);
        // A count typed by hand has nothing to be reconciled with.
        TypeBilledCount(f, QStringLiteral("150"));
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 150.0);
    }

    // The edit button belongs to the billed count; a call from another column opens nothing.
    void onlyTheBilledCountOpensTheDialog_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("opened");
        QTest::newRow("billed count") << "QTCOMEFATU" << true;
        QTest::newRow("forecast count") << "QTCOMEPREV" << false;
        QTest::newRow("billing date") << "DTFATURAM" << false;
    }

    void onlyTheBilledCountOpensTheDialog() {
        QFETCH(QString, column);
        QFETCH(bool, opened);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 120, 130);
        SeedItems(f);
        f.Open();
        Filter(f, 1);
        TfrmEfetFatur& screen = f.Screen();
        bool shown = false;
        f.RunModalsWith([&shown](QDialog&) {
            shown = true;
            return int(mrOk);
        });
        screen.dbgServico->SetSelectedIndex(IndiceCol(screen.dbgServico, column));
        screen.dbgServicoEditButtonClick();
        QCOMPARE(shown, opened);
        // Opening puts the row into edit, for the total to be written to it.
        QCOMPARE(screen.cdsEfetFatu.State(), opened ? DataSetState::Edit : DataSetState::Browse);
    }

    void theDialogShowsTheItemsOfTheCurrentRow_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("by date: the second row is dinner") << 0;
        QTest::newRow("by service: the second row is the eleventh") << 1;
    }

    void theDialogShowsTheItemsOfTheCurrentRow() {
        QFETCH(int, mode);
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Headcount(kLunchOnTheTenth, 5, 5)
            .Headcount(kLunchOnTheEleventh, 7, 7)
            .Headcount(kDinnerOnTheTenth, 9, 9);
        const Items items = SeedItems(f);
        f.Seed().Link(kLunchOnTheTenth, items.north, 5.0);
        const Key second = mode == 0 ? kDinnerOnTheTenth : kLunchOnTheEleventh;
        f.Seed().Link(second, items.south, 4.5);
        f.Open();
        Filter(f, mode);
        f.VisibleGrid()->setFocus();
        QTest::keyClick(f.VisibleGrid(), Qt::Key_Down);

        QStringList rows;
        QString caption, code, name, commands;
        QList<int> widths;
        QList<bool> readOnly;
        QVERIFY(Apportion(f, [&](QDialog& dialog) {
            caption = dialog.windowTitle();
            code = dialog.findChild<QLabel*>("lblCodTela")->text();
            TDBGrid* grid = DialogGrid(dialog);
            for (int row = 0; row < grid->model()->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < grid->ColumnCount(); ++column)
                    cells << grid->model()->index(row, column).data().toString();
                rows << cells.join(QLatin1Char('|'));
            }
            for (int column = 0; column < 2; ++column) {
                widths << grid->Columns()[column].Width();
                readOnly << grid->Columns()[column].ReadOnly();
            }
            readOnly << grid->Columns()[2].ReadOnly();
            name = dialog.findChild<TDBText*>("dbtNome")->text();
            commands = EnabledDialogCommands(dialog);
            // The design's size, widened to show every column whole.
            QCOMPARE(dialog.height(), 307);
            QVERIFY(dialog.width() >= 436);
            QVERIFY(grid->WidthShowingAllColumns() <= grid->width());
            QCOMPARE(testing::CutTexts(*grid), QStringList());
            QVERIFY(grid->hasFocus());
            QCOMPARE(grid->SelectedField()->FieldName(), QStringLiteral("QTEFETIVOS"));
        }));
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(caption, QStringLiteral("Itens para Rateio de Efetivos"));
        QCOMPARE(code, QStringLiteral("FAI00403"));
        QCOMPARE(rows, (QStringList{"00001|ALA NORTE|", "00002|ALA SUL|4,5"}));
        QCOMPARE(widths, (QList<int>{53, 244}));
        QCOMPARE(readOnly, (QList<bool>{true, true, false}));
        // The dialog starts on the first item.
        QCOMPARE(name, QStringLiteral("ALA NORTE"));
        QCOMPARE(commands, QStringLiteral("sbtAjuda, sbtAlterar, sbtFechar, sbtProcurar"));
    }

    void theItemsTotalBecomesTheBilledCount_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<double>("billed");
        QTest::addColumn<QVariantList>("diners");
        QTest::addColumn<int>("saves");
        QTest::newRow("by service, 2, 3 and 0")
            << 1 << true << QStringList{"2", "3", "0"} << 5.0 << QVariantList{2.0, 3.0, {}} << 1;
        QTest::newRow("by service, a fraction")
            << 1 << true << QStringList{"2,5", "", "1"} << 3.5 << QVariantList{2.5, {}, 1.0} << 1;
        QTest::newRow("by date, a service not stored yet")
            << 0 << false << QStringList{"4", "0", "6"} << 10.0 << QVariantList{4.0, {}, 6.0} << 1;
        // Nothing apportioned: the count keeps its value and there is nothing to save.
        QTest::newRow("by service, nothing typed")
            << 1 << true << QStringList{"0", "0", "0"} << 120.0 << QVariantList{{}, {}, {}} << 0;
    }

    void theItemsTotalBecomesTheBilledCount() {
        QFETCH(int, mode);
        QFETCH(bool, stored);
        QFETCH(QStringList, typed);
        QFETCH(double, billed);
        QFETCH(QVariantList, diners);
        QFETCH(int, saves);
        HeadcountFixture f;
        f.SeedClientWithServices();
        if (stored) f.Seed().Headcount(kLunchOnTheTenth, 120, 130);
        const Items items = SeedItems(f);
        const int third =
            f.Seed().Item(kClient, QStringLiteral("00003"), QStringLiteral("ALA LESTE"));
        f.Open();
        Filter(f, mode);
        TfrmEfetFatur& screen = f.Screen();
        const int reads = f.Calls("GetItRatEfet");

        QVERIFY(Apportion(f, [&](QDialog&) { TypeDiners(typed); }));
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("GetItRatEfet"), reads);
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Edit);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), billed);
        QCOMPARE(DinersOnScreen(screen.cdsItRatEfet), diners);
        QVERIFY(screen.cdsItRatEfet.Eof());

        // The row and its links go in one save.
        Confirm(f);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Calls("UpdEfetFatu"), saves);
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, billed);
        std::map<int, QVariant> expected;
        const int numbers[] = {items.north, items.south, third};
        for (int at = 0; at < 3; ++at) {
            if (!diners[at].isNull()) expected[numbers[at]] = diners[at];
        }
        QCOMPARE(f.Seed().Links(kLunchOnTheTenth), expected);
    }

    void aCountTypedByHandIsReconciledWithTheItems_data() {
        QTest::addColumn<bool>("fromDialog");
        QTest::addColumn<int>("answer");
        QTest::addColumn<double>("billed");
        QTest::newRow("stored items, yes") << false << int(mrYes) << 5.0;
        QTest::newRow("stored items, no") << false << int(mrNo) << 7.0;
        QTest::newRow("items just typed, yes") << true << int(mrYes) << 5.0;
        QTest::newRow("items just typed, no") << true << int(mrNo) << 7.0;
    }

    void aCountTypedByHandIsReconciledWithTheItems() {
        QFETCH(bool, fromDialog);
        QFETCH(int, answer);
        QFETCH(double, billed);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 5, 5);
        const Items items = SeedItems(f);
        if (!fromDialog) {
            f.Seed().Link(kLunchOnTheTenth, items.north, 2.0);
            f.Seed().Link(kLunchOnTheTenth, items.south, 3.0);
        }
        f.Open();
        Filter(f, 1);
        TfrmEfetFatur& screen = f.Screen();
        if (fromDialog) {
            QVERIFY(Apportion(f, [](QDialog&) { TypeDiners({"2", "3"}); }));
            QCOMPARE(screen.cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 5.0);
        }
        QCOMPARE(f.TakeMessages(), QStringList());

        f.AnswerQuestionsWith(answer);
        TypeBilledCount(f, QStringLiteral("7"));
        QCOMPARE(f.TakeMessages(), QStringList{kQuestion});
        QCOMPARE(screen.cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), billed);
        const bool kept = answer == mrYes;
        QCOMPARE(DinersOnScreen(screen.cdsItRatEfet),
                 kept ? (QVariantList{2.0, 3.0}) : (QVariantList{{}, {}}));

        Confirm(f);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, billed);
        const std::map<int, QVariant> linked{{items.north, 2.0}, {items.south, 3.0}};
        QCOMPARE(f.Seed().Links(kLunchOnTheTenth), kept ? linked : (std::map<int, QVariant>{}));
    }

    // Items without diners are no apportionment: the count typed stands unasked.
    void itemsWithoutDinersAskNothing() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 5, 5);
        const Items items = SeedItems(f);
        f.Seed().Link(kLunchOnTheTenth, items.north, 0.0);
        f.Seed().Link(kLunchOnTheTenth, items.south, QVariant());
        f.Open();
        Filter(f, 1);
        TypeBilledCount(f, QStringLiteral("7"));
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Screen().cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 7.0);
    }

    void newLinksAreNumberedOverTheScreensLife_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<Key>("first");
        QTest::addColumn<Key>("second");
        QTest::newRow("by date") << 0 << kLunchOnTheTenth << kDinnerOnTheTenth;
        QTest::newRow("by service") << 1 << kLunchOnTheTenth << kLunchOnTheEleventh;
    }

    void newLinksAreNumberedOverTheScreensLife() {
        QFETCH(int, mode);
        QFETCH(Key, first);
        QFETCH(Key, second);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(first, 1, 1).Headcount(second, 1, 1);
        const Items items = SeedItems(f);
        f.Open();
        Filter(f, mode);
        TfrmEfetFatur& screen = f.Screen();
        ClientDataSet& links = screen.cdsItRatEfet;

        QVERIFY(Apportion(f, [](QDialog&) { TypeDiners({"2", "3"}); }));
        QCOMPARE(LinkNumbersOnScreen(links), (QVariantList{-1.0, -2.0}));
        // Each new link carries its row's key, as the server stores it.
        links.ForEachRow([&](const RowView& row) {
            QCOMPARE(row.AsString("CDFILIAL"), first.branch);
            QCOMPARE(row.AsString("CDCLIENTE"), first.client);
            QCOMPARE(row.AsString("CDSERVFILI"), first.service);
            QCOMPARE(row.AsString("CDSERVPLAN"), first.service);
            QCOMPARE(row.AsDateTime("DTFATURAM"), first.date);
        });
        Confirm(f);
        QCOMPARE(f.TakeMessages(), QStringList());

        f.VisibleGrid()->setFocus();
        QTest::keyClick(f.VisibleGrid(), Qt::Key_Down);
        QVERIFY(Apportion(f, [](QDialog&) { TypeDiners({"", "4"}); }));
        QCOMPARE(LinkNumbersOnScreen(links), (QVariantList{{}, -3.0}));
        Confirm(f);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.ItRatSeq, 3.0);
        QCOMPARE(f.Seed().Links(first),
                 (std::map<int, QVariant>{{items.north, 2.0}, {items.south, 3.0}}));
        QCOMPARE(f.Seed().Links(second), (std::map<int, QVariant>{{items.south, 4.0}}));
    }

    // The items are the server's: no key or command of the dialog adds or removes one, and
    // none says anything.
    void theDialogNeitherAddsNorRemovesItems_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Insert") << int(Qt::Key_Insert) << int(Qt::NoModifier);
        QTest::newRow("down past the last item") << int(Qt::Key_Down) << int(Qt::NoModifier);
        QTest::newRow("Ctrl+Delete") << int(Qt::Key_Delete) << int(Qt::ControlModifier);
        QTest::newRow("F4, include") << int(Qt::Key_F4) << int(Qt::NoModifier);
        QTest::newRow("F7, delete") << int(Qt::Key_F7) << int(Qt::NoModifier);
    }

    void theDialogNeitherAddsNorRemovesItems() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 5, 5);
        SeedItems(f);
        f.Open();
        Filter(f, 1);
        ClientDataSet& links = f.Screen().cdsItRatEfet;
        int rows = -1;
        DataSetState state = DataSetState::Inactive;
        QVERIFY(Apportion(f, [&](QDialog& dialog) {
            TDBGrid* grid = DialogGrid(dialog);
            QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            rows = grid->model()->rowCount();
            state = links.State();
            for (const char* entry : {"mnuIncluir", "mnuExcluir"})
                QVERIFY(!dialog.findChild<QAction*>(entry)->isEnabled());
        }));
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(rows, 2);
        QCOMPARE(state, DataSetState::Browse);
        QCOMPARE(links.RecordCount(), 2);
        QCOMPARE(links.ChangeCount(), 0);
        // Nothing typed, nothing apportioned: the count stays, the row in edit.
        QCOMPARE(f.Screen().cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 5.0);
    }

    void theDialogsCommandsFollowTheItemBeingEdited() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 5, 5);
        SeedItems(f);
        f.Open();
        Filter(f, 1);
        QStringList seen;
        QVERIFY(Apportion(f, [&](QDialog& dialog) {
            seen << EnabledDialogCommands(dialog);
            dialog.findChild<TButtonFlat*>("sbtAlterar")->click();
            seen << EnabledDialogCommands(dialog);
            QCOMPARE(dialog.findChild<QAction*>("mnuConfirmar")->isEnabled(), true);
            QCOMPARE(dialog.findChild<QAction*>("mnuAlterar")->isEnabled(), false);
            TypeKeys(QStringLiteral("8"));
            dialog.findChild<TButtonFlat*>("sbtConfirmar")->click();
            seen << EnabledDialogCommands(dialog);
        }));
        QCOMPARE(seen, (QStringList{"sbtAjuda, sbtAlterar, sbtFechar, sbtProcurar",
                                    "sbtAjuda, sbtCancelar, sbtConfirmar, sbtFechar",
                                    "sbtAjuda, sbtAlterar, sbtFechar, sbtProcurar"}));
        QCOMPARE(f.Screen().cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 8.0);
    }

    // Escape closes the dialog once nothing is being typed: the first closes the item's cell,
    // the second cancels the item's edit, the third closes, with the items posted before.
    void escapeClosesTheDialog() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 5, 5);
        SeedItems(f);
        f.Open();
        Filter(f, 1);
        QList<bool> shown;
        QString closing;
        QVERIFY(Apportion(f, [&](QDialog& dialog) {
            closing = dialog.findChild<TButtonFlat*>("sbtFechar")->toolTip();
            TypeDiners({QStringLiteral("2"), QStringLiteral("3")});
            for (int escape = 0; escape < 3; ++escape) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                shown << dialog.isVisible();
            }
        }));
        QCOMPARE(shown, (QList<bool>{true, true, false}));
        QCOMPARE(closing, QStringLiteral("Fechar (Esc)"));
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Screen().cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 2.0);
    }

    void aNegativeQuantityIsRefused_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("moving to the next item") << "down";
        QTest::newRow("the confirm command") << "confirm";
        QTest::newRow("closing the dialog") << "close";
    }

    void aNegativeQuantityIsRefused() {
        QFETCH(QString, how);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 5, 5);
        const Items items = SeedItems(f);
        f.Open();
        Filter(f, 1);
        ClientDataSet& links = f.Screen().cdsItRatEfet;
        QStringList messages;
        QVERIFY(Apportion(f, [&](QDialog& dialog) {
            TDBGrid* grid = DialogGrid(dialog);
            TypeKeys(QStringLiteral("-1"));
            if (how == QLatin1String("down")) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            } else if (how == QLatin1String("confirm")) {
                dialog.findChild<TButtonFlat*>("sbtConfirmar")->click();
            } else {
                QVERIFY(!dialog.close());
                QVERIFY(dialog.isVisible());
            }
            messages = f.TakeMessages();
            QCOMPARE(links.State(), DataSetState::Edit);
            QCOMPARE(links.RecNo(), 1);
            QCOMPARE(links.FieldByName("QTEFETIVOS").AsFloat(), -1.0);
            QCOMPARE(grid->SelectedField()->FieldName(), QStringLiteral("QTEFETIVOS"));
            // Put right, the item goes through.
            grid->ShowEditor();
            grid->InplaceEditor()->selectAll();
            TypeKeys(QStringLiteral("4"));
        }));
        QCOMPARE(messages, QStringList{kNegative});
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Screen().cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 4.0);
        Confirm(f);
        QCOMPARE(f.Seed().Links(kLunchOnTheTenth), (std::map<int, QVariant>{{items.north, 4.0}}));
    }

    void aFailedSaveLeavesTheLinksAsStored_data() {
        QTest::addColumn<bool>("conflict");
        QTest::newRow("another clerk changed the row meanwhile") << true;
        QTest::newRow("the day was closed meanwhile") << false;
    }

    void aFailedSaveLeavesTheLinksAsStored() {
        QFETCH(bool, conflict);
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 5, 5);
        const Items items = SeedItems(f);
        f.Seed().Link(kLunchOnTheTenth, items.north, 2.0);
        f.Seed().Link(kLunchOnTheTenth, items.south, 3.0);
        f.Open();
        Filter(f, 1);
        TfrmEfetFatur& screen = f.Screen();
        QVERIFY(Apportion(f, [](QDialog&) { TypeDiners({"4", "6"}); }));
        if (conflict) {
            f.Seed().Session().Run(QStringLiteral("UPDATE EFETFATUR SET QTCOMEPREV = 9"));
        } else {
            f.Seed().Params(kBranch, QDate(2026, 3, 20), "S", 0, "S");
        }
        Confirm(f);
        QCOMPARE(f.TakeMessages().size(), 1);
        QCOMPARE(f.Calls("UpdEfetFatu"), 1);
        QCOMPARE(screen.cdsEfetFatu.State(), DataSetState::Browse);
        QCOMPARE(screen.cdsEfetFatu.FieldByName("QTCOMEFATU").AsFloat(), 5.0);
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, 5.0);
        QCOMPARE(f.Seed().Links(kLunchOnTheTenth),
                 (std::map<int, QVariant>{{items.north, 2.0}, {items.south, 3.0}}));
        // The dialog shows what is stored, with nothing left to send with a later save.
        QCOMPARE(DinersOnScreen(screen.cdsItRatEfet), (QVariantList{2.0, 3.0}));
        QCOMPARE(screen.cdsItRatEfet.ChangeCount(), 0);
    }

    // After a save the items are read again: the links the server numbered are the ones a
    // second apportionment of the same row changes, and nothing is sent twice.
    void aRowCanBeApportionedAgainAfterItsSave() {
        HeadcountFixture f;
        f.SeedClientWithServices().Seed().Headcount(kLunchOnTheTenth, 5, 5);
        const Items items = SeedItems(f);
        f.Open();
        Filter(f, 1);
        TfrmEfetFatur& screen = f.Screen();
        QVERIFY(Apportion(f, [](QDialog&) { TypeDiners({"2", "3"}); }));
        Confirm(f);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(screen.cdsItRatEfet.ChangeCount(), 0);
        for (const QVariant& number : LinkNumbersOnScreen(screen.cdsItRatEfet))
            QVERIFY2(number.toDouble() > 0, qPrintable(number.toString()));

        QVERIFY(Apportion(f, [](QDialog&) { TypeDiners({"4"}); }));
        Confirm(f);
        QCOMPARE(f.TakeMessages(), QStringList());
        QCOMPARE(f.Seed().Headcount(kLunchOnTheTenth)->billed, 7.0);
        QCOMPARE(f.Seed().Links(kLunchOnTheTenth),
                 (std::map<int, QVariant>{{items.north, 4.0}, {items.south, 3.0}}));
    }

    // Items that could not be read for the row under the cursor are none: those of the row
    // before must never be changed as this row's.
    void itemsThatCannotBeReadAreNone() {
        HeadcountFixture f;
        f.SeedClientWithServices()
            .Seed()
            .Headcount(kLunchOnTheTenth, 5, 5)
            .Headcount(kLunchOnTheEleventh, 5, 5);
        const Items items = SeedItems(f);
        f.Seed().Link(kLunchOnTheTenth, items.north, 5.0);
        f.Open();
        Filter(f, 1);
        TfrmEfetFatur& screen = f.Screen();
        QCOMPARE(DinersOnScreen(screen.cdsItRatEfet), (QVariantList{5.0, QVariant()}));
        screen.netEfetFatur.Disconnect();
        QTest::keyClick(screen.dbgServico, Qt::Key_Down);
        QCOMPARE(f.TakeMessages(),
                 QStringList{QStringLiteral("Não há conexão com o servidor de aplicação.")});
        QCOMPARE(screen.cdsEfetFatu.FieldByName("DTFATURAM").AsDateTime(), kEleventh);
        QVERIFY(screen.cdsItRatEfet.IsEmpty());
    }
};

FAI_UI_TEST_MAIN(ApportionmentTest)
#include "test_apportionment.moc"
