#include "DataSource.h"
#include "Errors.h"
#include "Help.h"
#include "HostApplication.h"
#include "ReportCatalog.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TDBText.h"
#include "TMaskEdit.h"
#include "TfrmDadosGerRel.h"
#include "TfrmPadrImportExport.h"
#include "TfrmPadraoGrid.h"
#include "TfrmPadraoSimples.h"
#include "UiTesting.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QVBoxLayout>

using namespace fai;
using fai::testing::DialogScript;

namespace {

DataPacket Services(int count) {
    DataPacket packet;
    packet.fields = {{"CDSERVFILI", FieldType::String, 5},
                     {"NMSERVICO", FieldType::String, 40},
                     {"QTCOMEFATU", FieldType::Float}};
    for (int i = 1; i <= count; ++i)
        packet.rows.push_back({RowChange::Unchanged,
                               {Value(QString::number(i).rightJustified(5, '0')),
                                Value(QStringLiteral("Serviço %1").arg(i)), Value(double(i))},
                               {}});
    return packet;
}

// A maintenance screen built on the base form, with a filter box and a grid on its dataset,
// that notes which of its steps ran.
class SampleScreen : public TfrmPadraoSimples {
  public:
    explicit SampleScreen(bool* destroyed = nullptr) : destroyed_(destroyed) {
        cds.AddField({"CDSERVFILI", FieldType::String, 5})
            .SetDisplayLabel(QStringLiteral("Código"));
        cds.AddField({"NMSERVICO", FieldType::String, 40})
            .SetDisplayLabel(QStringLiteral("Serviço"));
        cds.AddField({"QTCOMEFATU", FieldType::Float}).SetDisplayFormat("#,##0.000");
        edtFiltro = new QLineEdit(ClientArea());
        edtFiltro->setObjectName("edtFiltro");
        edtOutro = new QLineEdit(ClientArea());
        edtOutro->setObjectName("edtOutro");
        dbgTeste = new TDBGrid(ClientArea());
        dbgTeste->setObjectName("dbgTeste");
        dbgTeste->SetDataSource(&dtsPadrao);
        auto* layout = new QVBoxLayout(ClientArea());
        layout->addWidget(edtFiltro);
        layout->addWidget(edtOutro);
        layout->addWidget(dbgTeste);
        SetScreenCode("TST00001");
        resize(600, 400);
    }
    ~SampleScreen() override {
        if (destroyed_) *destroyed_ = true;
    }

    void Load(int rows) {
        dtsPadrao.SetDataSet(&cds);
        cds.SetData(Services(rows));
    }

    void FormCreate() override {
        steps << "FormCreate";
        if (failCreate) throw EError("sem conexão");
    }
    void FormShow() override { steps << "FormShow"; }
    void FormActivate() override { steps << "FormActivate"; }
    void FormClose(TCloseAction& action) override {
        steps << "FormClose";
        if (failClose) throw EError("Comensais por efetivo difere de comensais por turno.");
        if (keepOpen) action = TCloseAction::None;
    }
    void sbtConfirmarClick() override {
        TfrmPadraoSimples::sbtConfirmarClick();
        steps << "confirmed";
    }

    ClientDataSet cds{"cdsTeste"};
    QLineEdit* edtFiltro;
    QLineEdit* edtOutro;
    TDBGrid* dbgTeste;
    QStringList steps;
    bool failCreate = false;
    bool failClose = false;
    bool keepOpen = false;

  private:
    bool* destroyed_;
};

QList<bool> Enabled(TfrmPadraoSimples& form) {
    return {form.sbtConfirmar->isEnabled(), form.sbtCancelar->isEnabled(),
            form.sbtIncluir->isEnabled(),   form.sbtAlterar->isEnabled(),
            form.sbtExcluir->isEnabled(),   form.sbtProcurar->isEnabled(),
            form.sbtVerificar->isEnabled()};
}

QList<bool> EntriesEnabled(TfrmPadraoSimples& form) {
    return {form.mnuConfirmar->isEnabled(), form.mnuCancelar->isEnabled(),
            form.mnuIncluir->isEnabled(),   form.mnuAlterar->isEnabled(),
            form.mnuExcluir->isEnabled(),   form.mnuProcurar->isEnabled(),
            form.mnuVerificar->isEnabled()};
}

void PressOnFocus(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

}  // namespace

// The base forms: their components, the standard steps and the key handling.
class FormsTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { SetHelpDirectory(QString()); }

    void maintenanceScreenHasItsNamedComponents() {
        SampleScreen form;
        // The buttons take no focus: the tool tip says the key that does the same.
        const std::pair<const char*, const char*> buttons[] = {
            {"sbtConfirmar", "Confirmar (F10)"}, {"sbtCancelar", "Cancelar (F11)"},
            {"sbtIncluir", "Incluir (F4)"},      {"sbtAlterar", "Alterar (F6)"},
            {"sbtExcluir", "Excluir (F7)"},      {"sbtProcurar", "Procurar (F3)"},
            {"sbtVerificar", "Verificar (F9)"},  {"sbtImprimir", "Imprimir (Ctrl+P)"},
            {"sbtAjuda", "Ajuda (F1)"},          {"sbtFechar", "Fechar (Ctrl+F4)"}};
        for (const auto& [name, tip] : buttons) {
            auto* button = form.findChild<TButtonFlat*>(name);
            QVERIFY2(button, name);
            QCOMPARE(button->toolTip(), QString::fromUtf8(tip));
            QCOMPARE(button->Hint(), QString::fromUtf8(tip).section(QStringLiteral(" ("), 0, 0));
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        }
        const char* entries[] = {"mnuConfirmar", "mnuCancelar", "mnuIncluir",   "mnuAlterar",
                                 "mnuExcluir",   "mnuProcurar", "mnuVerificar", "mnuListagem",
                                 "mnuAjuda",     "mnuFechar"};
        for (const char* name : entries) QVERIFY2(form.findChild<QAction*>(name), name);
        QCOMPARE(form.mnuIncluir->shortcut(), QKeySequence(Qt::Key_F4));
        // A button that takes no focus says which key does what it does.
        QCOMPARE(form.sbtIncluir->toolTip(), QStringLiteral("Incluir (F4)"));
        QCOMPARE(form.sbtAjuda->toolTip(), QStringLiteral("Ajuda (F1)"));
        QCOMPARE(form.mnuListagem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QVERIFY(form.findChild<QMenu*>("mnuManutencao"));
        QCOMPARE(form.findChild<QLabel*>("lblCodTela")->text(), QStringLiteral("TST00001"));
        QCOMPARE(form.msgMensagensPadroes.Msg("canc"),
                 QStringLiteral("Confirma o cancelamento das alterações?"));
    }

    void commandsFollowTheStateOfTheMainDataSet() {
        SampleScreen form;
        //                 confirm cancel include alter delete search verify
        QCOMPARE(Enabled(form), (QList<bool>{false, false, false, false, false, false, false}));
        QCOMPARE(EntriesEnabled(form), Enabled(form));
        form.Load(2);
        QCOMPARE(Enabled(form), (QList<bool>{false, false, true, true, true, true, true}));
        QCOMPARE(EntriesEnabled(form), Enabled(form));
        form.cds.Edit();
        QCOMPARE(Enabled(form), (QList<bool>{true, true, false, false, false, false, false}));
        QCOMPARE(EntriesEnabled(form), Enabled(form));
        form.cds.Cancel();
        form.cds.SetData(Services(0));
        form.cds.Close();
        form.cds.Open();
        QCOMPARE(Enabled(form), (QList<bool>{false, false, true, false, false, false, true}));
    }

    void menuEntriesAndShortcutsDoWhatTheirButtonsDo() {
        SampleScreen form;
        form.Load(2);
        QVERIFY(testing::ShowActive(form));
        form.dbgTeste->setFocus();
        form.mnuIncluir->trigger();
        QCOMPARE(form.cds.State(), DataSetState::Insert);
        // A disabled button's entry does nothing, even when triggered from code.
        form.mnuIncluir->trigger();
        QCOMPARE(form.cds.RecordCount(), 2);
        PressOnFocus(Qt::Key_F11);  // cancel
        QCOMPARE(form.cds.State(), DataSetState::Browse);
        PressOnFocus(Qt::Key_F6);  // alter
        QCOMPARE(form.cds.State(), DataSetState::Edit);
        PressOnFocus(Qt::Key_F10);  // confirm
        QCOMPARE(form.cds.State(), DataSetState::Browse);
        QVERIFY(form.steps.contains("confirmed"));
    }

    void confirmPostsWhatIsTypedInTheGrid() {
        SampleScreen form;
        form.Load(2);
        QVERIFY(testing::ShowActive(form));
        form.dbgTeste->setFocus();
        form.dbgTeste->SetSelectedIndex(2);
        QTest::keyClicks(form.dbgTeste, "7");
        QTest::keyClicks(form.dbgTeste->InplaceEditor(), "5");
        QTest::mouseClick(form.sbtConfirmar, Qt::LeftButton);
        QCOMPARE(form.cds.State(), DataSetState::Browse);
        QCOMPARE(form.cds.FieldByName("QTCOMEFATU").AsFloat(), 75.0);
        QCOMPARE(form.steps.filter("confirmed").size(), 1);
        QCOMPARE(form.cds.ChangeCount(), 1);
    }

    void cancelDropsTheEditAndWhatIsTyped() {
        SampleScreen form;
        form.Load(2);
        QVERIFY(testing::ShowActive(form));
        form.dbgTeste->setFocus();
        form.dbgTeste->SetSelectedIndex(1);
        QTest::keyClicks(form.dbgTeste, "Novo");
        QTest::mouseClick(form.sbtCancelar, Qt::LeftButton);
        QCOMPARE(form.cds.State(), DataSetState::Browse);
        QVERIFY(!form.dbgTeste->EditorMode());
        QCOMPARE(form.cds.FieldByName("NMSERVICO").AsString(), QStringLiteral("Serviço 1"));
        QCOMPARE(form.cds.ChangeCount(), 0);
    }

    void includeAndAlterPutTheFocusInTheGrid() {
        SampleScreen form;
        form.Load(2);
        QVERIFY(testing::ShowActive(form));
        form.edtFiltro->setFocus();
        form.sbtAlterarClick();
        QCOMPARE(form.cds.State(), DataSetState::Edit);
        QVERIFY(form.dbgTeste->hasFocus());
        form.cds.Cancel();
        form.edtFiltro->setFocus();
        form.sbtIncluirClick();
        QCOMPARE(form.cds.State(), DataSetState::Insert);
        QCOMPARE(form.cds.RecNo(), 3);
        QVERIFY(form.dbgTeste->hasFocus());
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<bool>("described");
        QTest::newRow("yes") << int(mrYes) << 2 << false;
        QTest::newRow("no") << int(mrNo) << 3 << false;
        QTest::newRow("yes, the grid naming the row") << int(mrYes) << 2 << true;
    }
    void deleteAsksFirst() {
        SampleScreen form;
        form.Load(3);
        if (FAI_FETCH(bool, described))
            form.dbgTeste->OnDescribeRow = [&form] {
                return form.cds.FieldByName("NMSERVICO").AsString();
            };
        DialogScript script(FAI_FETCH(int, answer));
        QTest::mouseClick(form.sbtExcluir, Qt::LeftButton);
        QCOMPARE(form.cds.RecordCount(), FAI_FETCH(int, rowsLeft));
        QCOMPARE(script.Texts(), QStringList{FAI_FETCH(bool, described)
                                                 ? QStringLiteral("Confirma exclusão?\nServiço 1")
                                                 : QStringLiteral("Confirma exclusão?")});
        QCOMPARE(script.Shown()[0].kind, DialogKind::Confirmation);
        QCOMPARE(script.Shown()[0].buttons, int(mbYes | mbNo));
        // No abandons the screen's handler too, silently.
        if (FAI_FETCH(int, answer) == mrNo)
            QVERIFY_THROWS_EXCEPTION(EAbort, form.sbtExcluirClick());
    }

    void searchMovesToTheRowFound_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("recNo");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("by name, any case") << "Serviço"
                                           << "serviço 3" << 3 << QStringList{};
        QTest::newRow("by code") << "Código"
                                 << "00002" << 2 << QStringList{};
        QTest::newRow("by number") << "QTCOMEFATU"
                                   << "4" << 4 << QStringList{};
        QTest::newRow("not found")
            << "Serviço"
            << "nada" << 1 << QStringList{QStringLiteral("Registro não encontrado.")};
        QTest::newRow("part of a text in any column, the first choice")
            << "Todos os campos"
            << "VIÇO 3" << 3 << QStringList{};
        QTest::newRow("a code without its leading zeros, in any column")
            << "Todos os campos"
            << "4" << 4 << QStringList{};
        QTest::newRow("not a number") << "QTCOMEFATU"
                                      << "abc" << 1 << QStringList{"error"};
    }
    void searchMovesToTheRowFound() {
        SampleScreen form;
        form.Load(4);
        QVERIFY(testing::ShowActive(form));
        QFETCH(QString, column);
        QFETCH(QString, value);
        DialogScript script(mrOk, [&](QDialog& dialog) {
            auto* field = dialog.findChild<QComboBox*>("cbbCampo");
            field->setCurrentIndex(field->findText(column));
            dialog.findChild<QLineEdit*>("edtValor")->setText(value);
            return field->currentIndex() < 0 ? int(mrCancel) : int(mrOk);
        });
        QTest::mouseClick(form.sbtProcurar, Qt::LeftButton);
        QCOMPARE(form.cds.RecNo(), FAI_FETCH(int, recNo));
        QFETCH(QStringList, said);
        if (said == QStringList{"error"}) {
            QCOMPARE(script.Shown().size(), std::size_t(1));
            QCOMPARE(script.Shown()[0].kind, DialogKind::Error);
        } else {
            QCOMPARE(script.Texts(), said);
        }
    }

    void escapeOutsideTheGridCancelsTheEdit() {
        SampleScreen form;
        form.Load(2);
        QVERIFY(testing::ShowActive(form));
        form.cds.Edit();
        form.edtFiltro->setFocus();
        QTest::keyClick(form.edtFiltro, Qt::Key_Escape);
        QCOMPARE(form.cds.State(), DataSetState::Browse);
        QVERIFY(form.isVisible());
        // Nothing left to cancel: a screen not shown modally stays open all the same.
        QTest::keyClick(form.edtFiltro, Qt::Key_Escape);
        QVERIFY(form.isVisible());
        // Escape in the grid is the grid's: the first one only closes its editor.
        form.dbgTeste->setFocus();
        QTest::keyClicks(form.dbgTeste, "9");
        QTest::keyClick(form.dbgTeste->InplaceEditor(), Qt::Key_Escape);
        QCOMPARE(form.cds.State(), DataSetState::Edit);
        QVERIFY(!form.dbgTeste->EditorMode());
    }

    // Escape that nothing else takes closes a modal screen through its close step: the grid
    // closes its editor first, an edited row is cancelled first.
    void escapeClosesAModalScreenOnly() {
        SampleScreen form;
        form.Load(2);
        QStringList stillOpen;
        DialogScript script(mrOk, [&](QDialog& dialog) {
            if (!testing::ShowActive(dialog)) return int(mrNone);
            form.dbgTeste->setFocus();
            QTest::keyClicks(form.dbgTeste, "9");
            QTest::keyClick(form.dbgTeste->InplaceEditor(), Qt::Key_Escape);  // the editor
            if (dialog.isVisible()) stillOpen << "editor";
            form.edtFiltro->setFocus();
            QTest::keyClick(form.edtFiltro, Qt::Key_Escape);  // the edited row
            if (dialog.isVisible()) stillOpen << "row";
            form.dbgTeste->setFocus();
            QTest::keyClick(form.dbgTeste, Qt::Key_Escape);
            if (dialog.isVisible()) stillOpen << "browsing";
            return int(mrCancel);
        });
        form.ShowModal();
        QCOMPARE(stillOpen, QStringList({"editor", "row"}));
        QCOMPARE(form.cds.State(), DataSetState::Browse);
        QVERIFY(form.steps.contains("FormClose"));
    }

    void enterMovesToTheNextField() {
        SampleScreen form;
        form.Load(1);
        QVERIFY(testing::ShowActive(form));
        form.edtFiltro->setFocus();
        QTest::keyClick(form.edtFiltro, Qt::Key_Return);
        QVERIFY(form.edtOutro->hasFocus());
        // In the grid Enter opens the editor instead.
        form.dbgTeste->setFocus();
        QTest::keyClick(form.dbgTeste, Qt::Key_Return);
        QVERIFY(form.dbgTeste->EditorMode());
    }

    void keyPreviewSeesKeysFirstAndCanSwallowThem() {
        struct Screen : SampleScreen {
            void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override {
                TfrmPadraoSimples::FormKeyDown(key, shift);
                if (key == Qt::Key_F12 && shift == Qt::NoModifier) {
                    edtOutro->setFocus();
                    key = 0;
                }
                if (key == Qt::Key_X) key = 0;
            }
        } form;
        QVERIFY(testing::ShowActive(form));
        form.edtFiltro->setFocus();
        QTest::keyClicks(form.edtFiltro, "axb");
        QCOMPARE(form.edtFiltro->text(), QStringLiteral("ab"));
        QTest::keyClick(form.edtFiltro, Qt::Key_F12);
        QVERIFY(form.edtOutro->hasFocus());
    }

    // A key the focused control does not take travels up to the screen itself; the preview
    // must still see it once, or a command bound to it runs twice.
    void keyPreviewSeesAKeyNobodyTakesOnce() {
        struct Screen : SampleScreen {
            void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override {
                TfrmPadraoSimples::FormKeyDown(key, shift);
                if (key == Qt::Key_F12) ++seen;
            }
            int seen = 0;
        } form;
        QVERIFY(testing::ShowActive(form));
        form.edtFiltro->setFocus();
        QTest::keyClick(form.edtFiltro, Qt::Key_F12);
        QCOMPARE(form.seen, 1);
        // With no control holding the focus the screen gets the key first.
        form.setFocus();
        QTest::keyClick(&form, Qt::Key_F12);
        QCOMPARE(form.seen, 2);
    }

    void f1OpensTheScreensHelp() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("FaiHelp"));
        QFile page(dir.filePath("FaiHelp/13300400.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body>Ajuda da tela</body></html>");
        page.close();
        SetHelpDirectory(dir.path());
        SampleScreen form;
        form.SetHelpFile("FaiHelp.hlp");
        form.SetHelpContext(13300400);
        QVERIFY(testing::ShowActive(form));
        form.edtFiltro->setFocus();
        QStringList opened;
        DialogScript script(mrOk, [&opened](QDialog& dialog) {
            opened << dialog.objectName();
            return int(mrOk);
        });
        QTest::keyClick(form.edtFiltro, Qt::Key_F1);
        QCOMPARE(opened, QStringList{"frmAjuda"});
        QTest::mouseClick(form.sbtAjuda, Qt::LeftButton);
        QCOMPARE(opened.size(), 2);
        form.SetHelpContext(1);
        QTest::keyClick(form.edtFiltro, Qt::Key_F1);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(script.Shown().size(), std::size_t(1));
    }

    void printWithoutAReportSaysSo() {
        SampleScreen form;
        DialogScript script;
        QTest::mouseClick(form.sbtImprimir, Qt::LeftButton);
        QCOMPARE(script.Texts(), QStringList{QStringLiteral("Não há relatório para esta tela.")});
    }

    void creationRunsFormCreateAndAFailureLeavesNoScreen() {
        bool destroyed = false;
        SampleScreen* form = CreateForm<SampleScreen>(&destroyed);
        QCOMPARE(form->steps, QStringList{"FormCreate"});
        delete form;
        QVERIFY(destroyed);

        struct Failing : SampleScreen {
            explicit Failing(bool* destroyed) : SampleScreen(destroyed) { failCreate = true; }
        };
        destroyed = false;
        QVERIFY_THROWS_EXCEPTION(EError, CreateForm<Failing>(&destroyed));
        QVERIFY(destroyed);
    }

    void showAndActivateRunTheirSteps() {
        SampleScreen form;
        QVERIFY(testing::ShowActive(form));
        form.hide();
        form.show();
        QCOMPARE(form.steps.filter("FormShow").size(), 1);
        QVERIFY(form.steps.contains("FormActivate"));
    }

    // The screens of the host's document area share its window: coming back to one from
    // another activates it all the same.
    void aChildScreenActivatedInTheDocumentAreaRunsItsStep() {
        QMdiArea area;
        HostApplication::Instance().SetMainForm(&area, &area);
        QVERIFY(testing::ShowActive(area));
        auto* first = new SampleScreen;
        auto* second = new SampleScreen;
        first->ShowChild();
        second->ShowChild();
        const QList<QMdiSubWindow*> frames = area.subWindowList();
        area.setActiveSubWindow(frames[0]);
        first->steps.clear();
        area.setActiveSubWindow(frames[1]);
        area.setActiveSubWindow(frames[0]);
        QCOMPARE(first->steps.filter("FormActivate").size(), 1);
        HostApplication::Instance().SetMainForm(nullptr, nullptr);
    }

    void closingFreesTheScreenUnlessItsCloseStepObjects() {
        bool destroyed = false;
        QPointer<SampleScreen> form = new SampleScreen(&destroyed);
        form->show();
        DialogScript script;
        form->failClose = true;
        QVERIFY(!form->close());
        QVERIFY(form->isVisible());
        QCOMPARE(script.Texts(),
                 QStringList{"Comensais por efetivo difere de comensais por turno."});
        form->failClose = false;
        form->keepOpen = true;
        QVERIFY(!form->close());
        form->keepOpen = false;
        QTest::mouseClick(form->sbtFechar, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(destroyed);
        QVERIFY(form.isNull());
    }

    void aModalScreenIsHiddenNotFreed() {
        bool destroyed = false;
        SampleScreen form(&destroyed);
        DialogScript script(mrOk, [](QDialog& dialog) {
            dialog.show();
            dialog.close();
            return int(mrCancel);
        });
        QCOMPARE(form.ShowModal(), int(mrCancel));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!destroyed);
        QVERIFY(!form.ShownModal());
        QVERIFY(form.steps.contains("FormClose"));
    }

    void screensAddTheirOwnButtonsAndEntries() {
        SampleScreen form;
        form.AddMenuSeparator();
        QAction* entry =
            form.AddMenuEntry("mnuDuplComens", QStringLiteral("&Duplicação de Comensais"),
                              QKeySequence(Qt::CTRL | Qt::Key_D));
        TButtonFlat* button = form.AddToolButton("sbtCadastro", QStringLiteral("Duplicar"),
                                                 QStringLiteral("Duplicação de Comensais"), entry);
        QCOMPARE(form.findChild<TButtonFlat*>("sbtCadastro"), button);
        QCOMPARE(button->Hint(), QStringLiteral("Duplicação de Comensais"));
        QCOMPARE(entry->shortcut().toString(), QStringLiteral("Ctrl+D"));
        const QList<QAction*> menu = form.mnuManutencao->actions();
        QVERIFY(menu.indexOf(entry) < menu.indexOf(form.mnuFechar));
        int runs = 0;
        button->OnClick = [&runs] { ++runs; };
        button->setEnabled(false);
        form.SyncMenuEntries();
        QVERIFY(!entry->isEnabled());
        entry->trigger();
        QCOMPARE(runs, 0);
        button->setEnabled(true);
        form.SyncMenuEntries();
        entry->trigger();
        QCOMPARE(runs, 1);
    }

    void gridScreenShowsItsDataSet() {
        struct Screen : TfrmPadraoGrid {
            void dtsPadraoStateChange() override {
                TfrmPadraoGrid::dtsPadraoStateChange();
                ++stateChanges;
            }
            int stateChanges = 0;
        } form;
        ClientDataSet cds("cdsItRatEfet");
        cds.AddField({"CDITEMRATEIOEFET", FieldType::String, 5});
        cds.AddField({"NMITEMRATEIOEFET", FieldType::String, 50});
        form.dbtNome->SetDataField("NMITEMRATEIOEFET");
        form.dtsPadrao.SetDataSet(&cds);
        DataPacket packet;
        packet.fields = {{"CDITEMRATEIOEFET", FieldType::String, 5},
                         {"NMITEMRATEIOEFET", FieldType::String, 50}};
        packet.rows.push_back({RowChange::Unchanged, {Value("00001"), Value("Refeitório A")}, {}});
        packet.rows.push_back({RowChange::Unchanged, {Value("00002"), Value("Refeitório B")}, {}});
        cds.SetData(packet);
        QVERIFY(form.stateChanges > 0);
        QCOMPARE(form.findChild<TDBGrid*>("dbgPadrao"), form.dbgPadrao);
        QCOMPARE(form.dbgPadrao->model()->rowCount(), 2);
        QCOMPARE(form.findChild<TDBText*>("dbtNome")->text(), QStringLiteral("Refeitório A"));
        auto* next = form.dbnPadrao->findChild<QToolButton*>("btnProximo");
        auto* first = form.dbnPadrao->findChild<QToolButton*>("btnPrimeiro");
        QVERIFY(next->isEnabled());
        QVERIFY(!first->isEnabled());
        next->click();
        QCOMPARE(cds.RecNo(), 2);
        QCOMPARE(form.dbtNome->text(), QStringLiteral("Refeitório B"));
        QVERIFY(!next->isEnabled());
        QVERIFY(first->isEnabled());
        QCOMPARE(form.VisibleGrid(), form.dbgPadrao);
    }

    void reportScreenHasItsComponentsAndSaysWhenItsCodeHasNoDefinition() {
        QTemporaryDir folders;
        SetInstalledReportFolder(folders.path());
        SetUserReportFolder(folders.filePath("usuario"));
        TfrmDadosGerRel form;
        form.SetReportCode("Fai004");
        form.SetScreenCode("Fai00401");
        form.FormCreate();
        QCOMPARE(form.findChild<QLabel*>("lblCodRel")->text(), QStringLiteral("Fai004"));
        QCOMPARE(form.findChild<QLabel*>("lblCodTela")->text(), QStringLiteral("Fai00401"));
        QVERIFY(form.findChild<QGroupBox*>("grbDadosRel"));
        QVERIFY(form.findChild<QWidget*>("panRelat"));
        QCOMPARE(form.findChild<QComboBox*>("cbbReportNames")->count(), 0);
        QVERIFY(form.findChild<QWidget*>("panMenu"));
        DialogScript script;
        // The buttons take no focus: each has its key, which its tool tip tells.
        QVERIFY(testing::ShowActive(form));
        form.cbbReportNames->setFocus();
        const struct {
            const char* button;
            QKeySequence key;
            QString tip;
        } commands[] = {{"sbtPrint", QKeySequence(Qt::CTRL | Qt::Key_P), "Imprimir (Ctrl+P)"},
                        {"sbtPreview", QKeySequence(Qt::Key_F9), "Visualizar (F9)"},
                        {"sbtSalvarComo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                         "Salvar como (Ctrl+Shift+S)"},
                        {"sbtReportEdit", QKeySequence(Qt::CTRL | Qt::Key_E),
                         "Editar o layout do relatório (Ctrl+E)"}};
        for (const auto& command : commands) {
            auto* button = form.findChild<TButtonFlat*>(command.button);
            QVERIFY2(button, command.button);
            QCOMPARE(button->toolTip(), command.tip);
            QTest::keySequence(form.cbbReportNames, command.key);
        }
        const QString missing =
            QStringLiteral(
                "O arquivo contendo a definição do relatório de código 'Fai004' não "
                "foi encontrado no diretório '%1'.")
                .arg(folders.path());
        QCOMPARE(script.Texts(), QStringList({missing, missing, missing, missing}));
        SetInstalledReportFolder({});
        SetUserReportFolder({});
    }

    void batchScreenRunsItsOperation() {
        struct Screen : TfrmPadrImportExport {
            void sbtImportExportClick() override { ++runs; }
            int runs = 0;
        } form;
        QVERIFY(form.findChild<QGroupBox*>("grbDadosRel"));
        QVERIFY(form.findChild<QProgressBar*>("pgbProgresso"));
        QVERIFY(form.findChild<QWidget*>("panProgresso"));
        QVERIFY(form.findChild<QWidget*>("panMenu"));
        auto* run =
            form.findChild<QWidget*>("panBotoes")->findChild<TButtonFlat*>("sbtImportExport");
        QVERIFY(run);
        QVERIFY(form.findChild<QLabel*>("lblCodTela"));
        QTest::mouseClick(run, Qt::LeftButton);
        QCOMPARE(form.runs, 1);
        QCOMPARE(run->toolTip(), QStringLiteral("Executar (F10)"));
        auto* box = new QLineEdit(form.grbDadosRel);
        QVERIFY(testing::ShowActive(form));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F10);
        QCOMPARE(form.runs, 2);
    }
};

FAI_UI_TEST_MAIN(FormsTest)
#include "test_forms.moc"
