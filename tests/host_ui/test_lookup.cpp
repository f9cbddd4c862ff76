#include "Consiste.h"
#include "DataSource.h"
#include "Errors.h"
#include "GridFixture.h"
#include "LookupDialog.h"
#include "PesquisaLista.h"
#include "TBtnPesquisa.h"
#include "TDBGrid.h"
#include "TMaskEdit.h"
#include "UiTesting.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using namespace fai;
using fai::testing::DialogScript;

namespace {

DataPacket Branches(int count) {
    const char* names[] = {"Matriz", "Filial Sul", "Filial Norte", "Centro"};
    DataPacket packet;
    packet.fields = {{"CDFILIAL", FieldType::String, 4}, {"NMFILIAL", FieldType::String, 30}};
    for (int i = 0; i < count; ++i)
        packet.rows.push_back(
            {RowChange::Unchanged,
             {Value(QString::number(i + 1).rightJustified(4, '0')), Value(names[i % 4])},
             {}});
    return packet;
}

// The branch box of a filter with its lookup button, whose rows are loaded before the list.
struct BranchLookup {
    BranchLookup() {
        cds.AddField({"CDFILIAL", FieldType::String, 4}).SetDisplayLabel(QStringLiteral("Código"));
        cds.AddField({"NMFILIAL", FieldType::String, 30}).SetDisplayLabel("Nome");
        box = new TMaskEdit(&window);
        box->setObjectName("medCdFilial");
        box->SetEditMask(">aaaa;0; ");
        button = new TBtnPesquisa(&window);
        button->setObjectName("btpFilial");
        button->SetAssociate(box);
        button->SetTitle("Filial");
        button->SetDataSource(&dts);
        button->SetEmptyError(QStringLiteral("Não há filial cadastrada."));
        button->OnBeforePesq = [this](bool& show) {
            flagsSeen << show;
            cds.SetData(Branches(rows));
        };
        button->OnAfterPesq = [this] { box->SetText(cds.FieldByName("CDFILIAL").AsString()); };
        other = new QLineEdit(&window);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(box);
        layout->addWidget(button);
        layout->addWidget(other);
    }

    ClientDataSet cds{"qryFilial"};
    DataSource dts{&cds};
    QWidget window;
    TMaskEdit* box;
    TBtnPesquisa* button;
    QLineEdit* other;
    int rows = 4;
    QList<bool> flagsSeen;
};

// Clients as the headcount screen lists them: the registration number shown with the mask
// of the client's person type, the name.
struct ClientList {
    ClientList() {
        cds.AddField({"CDCLIENTE", FieldType::String, 21}).SetVisible(false);
        cds.AddField({"IDTPIJURCLIE", FieldType::String, 1}).SetVisible(false);
        Field& number = cds.AddField({"NRINSJURCLIE", FieldType::String, 20});
        number.SetDisplayLabel(QStringLiteral("Inscrição"));
        number.OnGetText = [this](const Field& field, QString& text, bool) {
            text = FormatMaskText(PictPess(cds.FieldByName("IDTPIJURCLIE").AsString()),
                                  field.AsString());
        };
        cds.AddField({"NMRAZSOCCLIE", FieldType::String, 50})
            .SetDisplayLabel(QStringLiteral("Razão Social"));
        DataPacket packet;
        packet.fields = {{"CDCLIENTE", FieldType::String, 21},
                         {"IDTPIJURCLIE", FieldType::String, 1},
                         {"NRINSJURCLIE", FieldType::String, 20},
                         {"NMRAZSOCCLIE", FieldType::String, 50}};
        const char* rows[][3] = {{"J", "12345678000195", "Metalúrgica Paraíba Ltda."},
                                 {"F", "12345678909", "José Carlos de Oliveira"},
                                 {"J", "98765432000198", "Hospital Santa Lúcia S.A."}};
        for (const auto& row : rows)
            packet.rows.push_back({RowChange::Unchanged,
                                   {Value(QString::fromUtf8(row[0]) + row[1]), Value(row[0]),
                                    Value(row[1]), Value(QString::fromUtf8(row[2]))},
                                   {}});
        cds.SetData(packet);
    }

    ClientDataSet cds{"cdsCliente"};
    DataSource dts{&cds};
};

// Picks the row of the list at `row` and answers OK, noting the list's title.
std::function<int(QDialog&)> PickRow(int row, QString* title = nullptr) {
    return [row, title](QDialog& dialog) {
        if (title) *title = dialog.windowTitle();
        auto* grid = dialog.findChild<TDBGrid*>("dbgPesquisa");
        grid->selectionModel()->setCurrentIndex(grid->model()->index(row, 0),
                                                QItemSelectionModel::NoUpdate);
        return int(mrOk);
    };
}

}  // namespace

// The lookup button and the multi-selection list, answered by script.
class LookupTest : public QObject {
    Q_OBJECT

  private slots:
    void aPickedRowIsCurrentWhenTheAfterHandlerRuns() {
        BranchLookup f;
        QString title;
        DialogScript script(mrOk, PickRow(2, &title));
        QVERIFY(testing::ShowActive(f.window));
        f.other->setFocus();
        QTest::mouseClick(f.button, Qt::LeftButton);
        QCOMPARE(f.box->Text(), QStringLiteral("0003"));
        QCOMPARE(title, QStringLiteral("Filial"));
        QCOMPARE(f.flagsSeen, QList<bool>{true});
        QVERIFY(f.box->hasFocus());
        QVERIFY(script.Shown().empty());
    }

    void theListSearchesAsTheUserTypes() {
        BranchLookup f;
        DialogScript script(mrOk, [](QDialog& dialog) {
            auto* grid = dialog.findChild<TDBGrid*>("dbgPesquisa");
            auto* search = dialog.findChild<QLineEdit*>("edtPesquisa");
            grid->SetSelectedIndex(1);
            search->clear();
            QTest::keyClicks(search, "filial n");
            return int(mrOk);
        });
        QVERIFY(f.button->Execute());
        QCOMPARE(f.box->Text(), QStringLiteral("0003"));
    }

    // Whatever column the cursor is in: part of a name, with or without its accents, or a
    // registration number with or without its punctuation.
    void theListFindsInEveryColumn_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("recNo");
        QTest::newRow("part of a name") << "paraíba" << 1;
        QTest::newRow("without accents, in capitals") << "SANTA LUCIA" << 3;
        QTest::newRow("a surname") << "oliveira" << 2;
        QTest::newRow("a CNPJ with its punctuation") << "12.345.678/0001" << 1;
        QTest::newRow("a CNPJ bare") << "12345678000" << 1;
        QTest::newRow("a CPF with its punctuation") << "123.456.789-09" << 2;
        QTest::newRow("a CPF bare") << "12345678909" << 2;
        QTest::newRow("digits inside a number") << "5432" << 3;
        QTest::newRow("nothing") << "Rota Sul" << 0;
    }
    void theListFindsInEveryColumn() {
        ClientList clients;
        LookupDialog list(clients.dts, "Cliente");
        list.Grid()->SetSelectedIndex(1);  // the cursor on the name
        clients.cds.SetRecNo(2);
        const int recNo = FAI_FETCH(int, recNo);
        QCOMPARE(list.Search(FAI_FETCH(QString, typed)), recNo > 0);
        QCOMPARE(clients.cds.RecNo(), recNo > 0 ? recNo : 2);
        QCOMPARE(list.SearchNote()->text().startsWith(QStringLiteral("Nada encontrado")),
                 recNo == 0);
        QVERIFY(list.SearchNote()->text().contains(QStringLiteral("Inscrição, Razão Social")));
        QCOMPARE(testing::CutTexts(*list.Grid()), QStringList());
    }

    void theListOpensWithTheFocusInTheSearchBox() {
        BranchLookup f;
        QString focused;
        DialogScript script(mrOk, [&focused](QDialog& dialog) {
            if (testing::ShowActive(dialog) && QApplication::focusWidget())
                focused = QApplication::focusWidget()->objectName();
            return int(mrCancel);
        });
        QVERIFY(!f.button->Execute());
        QCOMPARE(focused, QStringLiteral("edtPesquisa"));
    }

    void theListOpensOnTheRowOfTheBoxsCode() {
        BranchLookup f;
        f.box->SetText("0002");
        int rowShown = -1;
        DialogScript script(mrOk, [&rowShown](QDialog& dialog) {
            rowShown = dialog.findChild<TDBGrid*>("dbgPesquisa")->currentIndex().row();
            return int(mrOk);
        });
        QVERIFY(f.button->Execute());
        QCOMPARE(rowShown, 1);
        QCOMPARE(f.box->Text(), QStringLiteral("0002"));
    }

    void aCancelledListChangesNothing() {
        BranchLookup f;
        f.cds.SetData(Branches(4));
        f.cds.SetRecNo(2);
        f.button->OnBeforePesq = nullptr;
        f.box->SetText("0002");
        DialogScript script(mrOk, [](QDialog& dialog) {
            PickRow(3)(dialog);
            return int(mrCancel);
        });
        bool afterRan = false;
        f.button->OnAfterPesq = [&afterRan] { afterRan = true; };
        QVERIFY(!f.button->Execute());
        QVERIFY(!afterRan);
        QCOMPARE(f.cds.RecNo(), 2);
        QCOMPARE(f.box->Text(), QStringLiteral("0002"));
    }

    void noRowsIsSaidWithTheButtonsText() {
        BranchLookup f;
        f.rows = 0;
        int lists = 0;
        DialogScript script(mrOk, [&lists](QDialog&) { return ++lists, int(mrOk); });
        QTest::mouseClick(f.button, Qt::LeftButton);
        QCOMPARE(lists, 0);
        QCOMPARE(script.Texts(), QStringList{QStringLiteral("Não há filial cadastrada.")});
        QCOMPARE(script.Shown()[0].kind, DialogKind::Error);
        // Without a dataset at all, the same.
        f.button->SetDataSource(nullptr);
        f.button->SetEmptyError(QString());
        QVERIFY(!f.button->Execute());
        QCOMPARE(script.Texts().last(), QStringLiteral("Não há registros para pesquisar."));
    }

    void theBeforeHandlerDecidesWhetherTheListShows() {
        BranchLookup f;
        f.button->OnBeforePesq = [](bool& show) { show = false; };
        int lists = 0;
        DialogScript script(mrOk, [&lists](QDialog&) { return ++lists, int(mrOk); });
        QVERIFY(!f.button->Execute());
        QCOMPARE(lists, 0);
        QVERIFY(script.Shown().empty());
        // A failing handler is shown and nothing else happens.
        f.button->OnBeforePesq = [](bool&) { throw EError("Filial deve ser informada."); };
        QTest::mouseClick(f.button, Qt::LeftButton);
        QCOMPARE(script.Texts(), QStringList{"Filial deve ser informada."});
        QCOMPARE(lists, 0);
    }

    void aScreensOwnClickReplacesTheList() {
        BranchLookup f;
        int clicks = 0;
        f.button->OnClick = [&clicks] { ++clicks; };
        DialogScript script;
        QTest::mouseClick(f.button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QVERIFY(f.flagsSeen.isEmpty());
    }

    void keysTravelAsAQuotedList_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QStringList{} << "";
        QTest::newRow("one") << QStringList{"0001"} << "'0001'";
        QTest::newRow("several") << QStringList{"J1", "F22", "J333"} << "'J1','F22','J333'";
        QTest::newRow("a quote inside") << QStringList{"O'B", "A,B"} << "'O''B','A,B'";
        QTest::newRow("an empty key") << QStringList{""} << "''";
    }
    void keysTravelAsAQuotedList() {
        QFETCH(QStringList, keys);
        QFETCH(QString, text);
        QCOMPARE(JoinKeys(keys), text);
        QCOMPARE(SplitKeys(text), keys);
    }

    void splitKeysReadsLooseTexts() {
        QCOMPARE(SplitKeys(" 'A' , 'B' "), (QStringList{"A", "B"}));
        QCOMPARE(SplitKeys("A,B"), (QStringList{"A", "B"}));
        QCOMPARE(SplitKeys("'A',"), QStringList{"A"});
    }

    void multiSelectionReturnsTheChosenKeys_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QList<int>>("checkedAtStart");
        QTest::newRow("pick two") << "" << false << "check 0 2" << true << "'J1','J3'"
                                  << QList<int>{};
        QTest::newRow("keeps earlier picks")
            << "'J2'" << false << "check 0" << true << "'J1','J2'" << QList<int>{1};
        QTest::newRow("all from the start")
            << "" << true << "ok" << true << "'J1','J2','J3'" << QList<int>{0, 1, 2};
        QTest::newRow("none") << "'J1','J3'" << false << "none" << true << "" << QList<int>{0, 2};
        QTest::newRow("all button")
            << "" << false << "all" << true << "'J1','J2','J3'" << QList<int>{};
        QTest::newRow("cancel") << "'J2'" << false << "cancel" << false << "'J2'" << QList<int>{1};
    }
    void multiSelectionReturnsTheChosenKeys() {
        ClientDataSet cds("qryCliente");
        cds.AddField({"CDCLIENTE", FieldType::String, 21}).SetVisible(false);
        cds.AddField({"NMRAZSOCCLIE", FieldType::String, 50})
            .SetDisplayLabel(QStringLiteral("Razão Social"));
        DataPacket packet;
        packet.fields = {{"CDCLIENTE", FieldType::String, 21},
                         {"NMRAZSOCCLIE", FieldType::String, 50}};
        for (int i = 1; i <= 3; ++i)
            packet.rows.push_back(
                {RowChange::Unchanged,
                 {Value(QString("J%1").arg(i)), Value(QString("Cliente %1").arg(i))},
                 {}});
        cds.SetData(packet);
        DataSource dts(&cds);

        QFETCH(QString, action);
        QList<int> checkedAtStart;
        QString title;
        DialogScript script(mrOk, [&](QDialog& dialog) {
            title = dialog.windowTitle();
            auto* table = dialog.findChild<QTableView*>("grdLista");
            QAbstractItemModel* model = table->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                if (model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked)
                    checkedAtStart << row;
            }
            if (model->columnCount() != 2) return int(mrCancel);  // the hidden key is not shown
            if (action.startsWith("check")) {
                for (const QString& row : action.mid(6).split(' '))
                    model->setData(model->index(row.toInt(), 0), Qt::Checked, Qt::CheckStateRole);
            }
            if (action == "none") dialog.findChild<QPushButton*>("btnNenhum")->click();
            if (action == "all") dialog.findChild<QPushButton*>("btnTodos")->click();
            return action == "cancel" ? int(mrCancel) : int(mrOk);
        });
        QString keys = FAI_FETCH(QString, before);
        QCOMPARE(PesquisaLista(&dts, "CDCLIENTE", "Cliente", FAI_FETCH(bool, selectAll), keys),
                 FAI_FETCH(bool, confirmed));
        QCOMPARE(keys, FAI_FETCH(QString, after));
        QCOMPARE(checkedAtStart, FAI_FETCH(QList<int>, checkedAtStart));
        QCOMPARE(title, QStringLiteral("Cliente"));
    }

    void listsShowRowsThroughTheirDisplayHandlers() {
        // The registration number shows with the mask of its own row's person type.
        ClientDataSet cds("cdsCliente");
        cds.AddField({"CDCLIENTE", FieldType::String, 21}).SetVisible(false);
        Field& type = cds.AddField({"IDTPIJURCLIE", FieldType::String, 1});
        type.SetVisible(false);
        Field& number = cds.AddField({"NRINSJURCLIE", FieldType::String, 20});
        number.OnGetText = [&cds](const Field& field, QString& text, bool) {
            text = FormatMaskText(PictPess(cds.FieldByName("IDTPIJURCLIE").AsString()),
                                  field.AsString());
        };
        DataPacket packet;
        packet.fields = {{"CDCLIENTE", FieldType::String, 21},
                         {"IDTPIJURCLIE", FieldType::String, 1},
                         {"NRINSJURCLIE", FieldType::String, 20}};
        packet.rows.push_back({RowChange::Unchanged,
                               {Value("J12345678000195"), Value("J"), Value("12345678000195")},
                               {}});
        packet.rows.push_back(
            {RowChange::Unchanged, {Value("F12345678909"), Value("F"), Value("12345678909")}, {}});
        cds.SetData(packet);
        DataSource dts(&cds);
        QStringList shown;
        DialogScript script(mrCancel, [&shown](QDialog& dialog) {
            QAbstractItemModel* model = dialog.findChild<QTableView*>("grdLista")->model();
            for (int row = 0; row < model->rowCount(); ++row)
                shown << model->index(row, 1).data().toString();
            return int(mrCancel);
        });
        QString keys;
        QVERIFY(!PesquisaLista(&dts, "CDCLIENTE", "Cliente", false, keys));
        QCOMPARE(shown, (QStringList{"12.345.678/0001-95", "123.456.789-09"}));

        // The lookup list too.
        LookupDialog list(dts, "Cliente");
        QCOMPARE(list.Grid()->model()->index(1, 0).data().toString(),
                 QStringLiteral("123.456.789-09"));
        QVERIFY(list.Search("123.456"));
        QCOMPARE(cds.RecNo(), 2);
        QVERIFY(list.Search("12.3"));
        QCOMPARE(cds.RecNo(), 1);
        QVERIFY(!list.Search("99"));
        QCOMPARE(cds.RecNo(), 1);
    }

    // From the search box, the typed name finds the row; Tab and Space tick it.
    void multiSelectionSearchesAndTicksFromTheKeyboard() {
        ClientList clients;
        QStringList cut;
        DialogScript script(mrOk, [&cut](QDialog& dialog) {
            if (!testing::ShowActive(dialog)) return int(mrCancel);
            auto* table = dialog.findChild<QTableView*>("grdLista");
            cut = testing::CutTexts(*table);
            QWidget* search = QApplication::focusWidget();
            if (search->objectName() != QLatin1String("edtPesquisa")) return int(mrCancel);
            QTest::keyClicks(search, "santa");
            QTest::keyClick(search, Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            return int(mrOk);
        });
        QString keys;
        QVERIFY(PesquisaLista(&clients.dts, "CDCLIENTE", "Cliente", false, keys));
        QCOMPARE(keys, QStringLiteral("'J98765432000198'"));
        QCOMPARE(cut, QStringList());
    }

    void multiSelectionOfNothingOrOfAMissingField() {
        ClientDataSet cds("qryServico");
        cds.AddField({"CDSERVFILI", FieldType::String, 5});
        cds.Open();
        DataSource dts(&cds);
        int lists = 0;
        DialogScript script(mrOk, [&lists](QDialog&) { return ++lists, int(mrOk); });
        QString keys = "'x'";
        QVERIFY(!PesquisaLista(&dts, "CDSERVFILI", "Serviço", false, keys));
        QCOMPARE(script.Texts(), QStringList{QStringLiteral("Não há registros para selecionar.")});
        QCOMPARE(keys, QStringLiteral("'x'"));
        DataPacket packet;
        packet.fields = {{"CDSERVFILI", FieldType::String, 5}};
        packet.rows.push_back({RowChange::Unchanged, {Value("00001")}, {}});
        cds.SetData(packet);
        QVERIFY_THROWS_EXCEPTION(EError, PesquisaLista(&dts, "NADA", "Serviço", false, keys));
        QCOMPARE(lists, 0);
    }
};

FAI_UI_TEST_MAIN(LookupTest)
#include "test_lookup.moc"
