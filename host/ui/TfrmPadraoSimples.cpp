#include "TfrmPadraoSimples.h"

#include "DialogService.h"
#include "Errors.h"
#include "FindDialog.h"
#include "Help.h"
#include "TButtonFlat.h"
#include "TDBGrid.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace fai {
namespace {

// The name stays the button's text and accessible name, and is its tool tip through the hint.
void ShowAsIcon(TButtonFlat* button, QStyle::StandardPixmap icon) {
    button->setIcon(button->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAccessibleName(button->text());
}

}  // namespace

TfrmPadraoSimples::TfrmPadraoSimples(QWidget* parent) : TBaseForm(parent) {
    mnuPrincipal = new QMenuBar(this);
    mnuPrincipal->setObjectName(QStringLiteral("mnuPrincipal"));
    FormLayout()->setMenuBar(mnuPrincipal);
    mnuManutencao = mnuPrincipal->addMenu(QStringLiteral("&Manutenção"));
    mnuManutencao->setObjectName(QStringLiteral("mnuManutencao"));
    mnuConfirmar =
        MakeEntry(mnuManutencao, "mnuConfirmar", QStringLiteral("Con&firmar"), Qt::Key_F10);
    mnuCancelar = MakeEntry(mnuManutencao, "mnuCancelar", QStringLiteral("&Cancelar"), Qt::Key_F11);
    mnuIncluir = MakeEntry(mnuManutencao, "mnuIncluir", QStringLiteral("&Incluir"), Qt::Key_F4);
    mnuAlterar = MakeEntry(mnuManutencao, "mnuAlterar", QStringLiteral("&Alterar"), Qt::Key_F6);
    mnuExcluir = MakeEntry(mnuManutencao, "mnuExcluir", QStringLiteral("&Excluir"), Qt::Key_F7);
    mnuProcurar = MakeEntry(mnuManutencao, "mnuProcurar", QStringLiteral("&Procurar"), Qt::Key_F3);
    mnuVerificar =
        MakeEntry(mnuManutencao, "mnuVerificar", QStringLiteral("&Verificar"), Qt::Key_F9);
    QMenu* reports = mnuPrincipal->addMenu(QStringLiteral("&Relatórios"));
    mnuListagem = MakeEntry(reports, "mnuListagem", QStringLiteral("&Listagem"),
                            QKeySequence(Qt::CTRL | Qt::Key_P));
    QMenu* help = mnuPrincipal->addMenu(QStringLiteral("Aj&uda"));
    // F1 reaches the help through the key preview, in every control of the screen.
    mnuAjuda = MakeEntry(help, "mnuAjuda", QStringLiteral("&Ajuda\tF1"), QKeySequence());
    closeSeparator_ = mnuManutencao->addSeparator();
    mnuFechar = MakeEntry(mnuManutencao, "mnuFechar", QStringLiteral("&Fechar"),
                          QKeySequence(Qt::CTRL | Qt::Key_F4));

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("panBotoes"));
    toolBar_ = new QHBoxLayout(bar);
    toolBar_->setContentsMargins(0, 0, 0, 0);
    toolBar_->setSpacing(2);
    sbtConfirmar = AddCommand("sbtConfirmar", QStringLiteral("Confirmar"), mnuConfirmar,
                              QStyle::SP_DialogApplyButton);
    sbtCancelar = AddCommand("sbtCancelar", QStringLiteral("Cancelar"), mnuCancelar,
                             QStyle::SP_DialogCancelButton);
    sbtIncluir =
        AddCommand("sbtIncluir", QStringLiteral("Incluir"), mnuIncluir, QStyle::SP_FileIcon);
    sbtAlterar = AddCommand("sbtAlterar", QStringLiteral("Alterar"), mnuAlterar,
                            QStyle::SP_DialogResetButton);
    sbtExcluir = AddCommand("sbtExcluir", QStringLiteral("Excluir"), mnuExcluir,
                            QStyle::SP_DialogDiscardButton);
    sbtProcurar = AddCommand("sbtProcurar", QStringLiteral("Procurar"), mnuProcurar,
                             QStyle::SP_FileDialogContentsView);
    sbtVerificar = AddCommand("sbtVerificar", QStringLiteral("Verificar"), mnuVerificar,
                              QStyle::SP_BrowserReload);
    sbtImprimir = AddCommand("sbtImprimir", QStringLiteral("Imprimir"), mnuListagem,
                             QStyle::SP_FileDialogDetailedView);
    sbtAjuda =
        AddCommand("sbtAjuda", QStringLiteral("Ajuda"), mnuAjuda, QStyle::SP_DialogHelpButton);
    sbtAjuda->SetKey(Qt::Key_F1);
    sbtFechar =
        AddCommand("sbtFechar", QStringLiteral("Fechar"), mnuFechar, QStyle::SP_DialogCloseButton);
    toolBar_->addStretch(1);
    toolBar_->addWidget(lblCodTela);
    FormLayout()->addWidget(bar);
    clientArea_ = new QWidget(this);
    clientArea_->setObjectName(QStringLiteral("panCliente"));
    FormLayout()->addWidget(clientArea_, 1);

    sbtConfirmar->OnClick = [this] { sbtConfirmarClick(); };
    sbtCancelar->OnClick = [this] { sbtCancelarClick(); };
    sbtIncluir->OnClick = [this] { sbtIncluirClick(); };
    sbtAlterar->OnClick = [this] { sbtAlterarClick(); };
    sbtExcluir->OnClick = [this] { sbtExcluirClick(); };
    sbtProcurar->OnClick = [this] { sbtProcurarClick(); };
    sbtVerificar->OnClick = [this] { sbtVerificarClick(); };
    sbtImprimir->OnClick = [this] { sbtImprimirClick(); };
    sbtAjuda->OnClick = [this] { sbtAjudaClick(); };
    sbtFechar->OnClick = [this] { sbtFecharClick(); };
    dtsPadrao.OnStateChange = [this](DataSource&) { dtsPadraoStateChange(); };
    TfrmPadraoSimples::dtsPadraoStateChange();
}

TButtonFlat* TfrmPadraoSimples::AddToolButton(const char* name, const QString& text,
                                              const QString& hint, QAction* entry,
                                              QStyle::StandardPixmap icon) {
    TButtonFlat* button = MakeToolButton(toolBar_->parentWidget(), name, text, hint);
    if (icon != QStyle::SP_CustomBase) ShowAsIcon(button, icon);
    // Before the stretch and the screen code, which close the bar.
    toolBar_->insertWidget(toolBar_->count() - 2, button);
    if (entry) menus_.Pair(button, entry);
    return button;
}

QAction* TfrmPadraoSimples::AddMenuEntry(const char* name, const QString& text,
                                         const QKeySequence& shortcut) {
    QAction* entry = MakeEntry(mnuManutencao, name, text, shortcut);
    mnuManutencao->insertAction(closeSeparator_, entry);
    return entry;
}

void TfrmPadraoSimples::AddMenuSeparator() { mnuManutencao->insertSeparator(closeSeparator_); }

TButtonFlat* TfrmPadraoSimples::AddCommand(const char* name, const QString& text, QAction* entry,
                                           QStyle::StandardPixmap icon) {
    TButtonFlat* button = MakeToolButton(toolBar_->parentWidget(), name, text, text);
    ShowAsIcon(button, icon);
    toolBar_->addWidget(button);
    menus_.Pair(button, entry);
    return button;
}

QAction* TfrmPadraoSimples::MakeEntry(QMenu* menu, const char* name, const QString& text,
                                      const QKeySequence& shortcut) {
    QAction* entry = menu->addAction(text);
    entry->setObjectName(QLatin1String(name));
    entry->setShortcut(shortcut);
    // Several screens open in one window: a shortcut belongs to the screen with the focus.
    entry->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(entry);
    return entry;
}

void TfrmPadraoSimples::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TBaseForm::FormKeyDown(key, shift);
    if (key != Qt::Key_Escape || shift != Qt::NoModifier) return;
    if (InsideGrid(QApplication::focusWidget())) return;
    const DataSetState state = dtsPadrao.State();
    if ((state == DataSetState::Edit || state == DataSetState::Insert) &&
        sbtCancelar->isEnabled()) {
        key = 0;
        sbtCancelar->Click();
    }
}

void TfrmPadraoSimples::dtsPadraoStateChange() {
    const DataSetState state = dtsPadrao.State();
    const bool browse = state == DataSetState::Browse;
    const bool editing = state == DataSetState::Edit || state == DataSetState::Insert;
    const bool rows = browse && !dtsPadrao.DataSet()->IsEmpty();
    sbtIncluir->setEnabled(browse);
    sbtVerificar->setEnabled(browse);
    sbtAlterar->setEnabled(rows);
    sbtExcluir->setEnabled(rows);
    sbtProcurar->setEnabled(rows);
    sbtConfirmar->setEnabled(editing);
    sbtCancelar->setEnabled(editing);
    SyncMenuEntries();
}

ClientDataSet* TfrmPadraoSimples::MainDataSet() const {
    return dtsPadrao.State() == DataSetState::Inactive ? nullptr : dtsPadrao.DataSet();
}

void TfrmPadraoSimples::sbtConfirmarClick() {
    ClientDataSet* dataSet = MainDataSet();
    if (!dataSet) return;
    for (TDBGrid* grid : findChildren<TDBGrid*>()) {
        if (grid->DataSource() == &dtsPadrao) grid->CommitEdit();
    }
    if (dataSet->State() == DataSetState::Edit || dataSet->State() == DataSetState::Insert)
        dataSet->Post();
}

void TfrmPadraoSimples::sbtCancelarClick() {
    ClientDataSet* dataSet = MainDataSet();
    if (!dataSet) return;
    for (TDBGrid* grid : findChildren<TDBGrid*>()) {
        if (grid->DataSource() == &dtsPadrao) grid->HideEditor();
    }
    dataSet->Cancel();
}

void TfrmPadraoSimples::sbtIncluirClick() {
    ClientDataSet* dataSet = MainDataSet();
    if (!dataSet) return;
    dataSet->Append();
    FocusGrid();
}

void TfrmPadraoSimples::sbtAlterarClick() {
    ClientDataSet* dataSet = MainDataSet();
    if (!dataSet) return;
    dataSet->Edit();
    FocusGrid();
}

void TfrmPadraoSimples::sbtExcluirClick() {
    ClientDataSet* dataSet = MainDataSet();
    if (!dataSet || dataSet->IsEmpty()) return;
    const QString question = msgMensagensPadroes.Msg(QStringLiteral("Excl"));
    const TDBGrid* grid = VisibleGrid();
    if (DialogService::Instance().Message(DialogKind::Confirmation,
                                          grid ? grid->DeleteQuestion(question) : question,
                                          mbYes | mbNo) != mrYes)
        throw EAbort();
    for (TDBGrid* grid : findChildren<TDBGrid*>()) {
        if (grid->DataSource() == &dtsPadrao) grid->HideEditor();
    }
    dataSet->Delete();
}

void TfrmPadraoSimples::sbtProcurarClick() {
    if (TDBGrid* grid = VisibleGrid()) FindInGrid(*grid);
}

void TfrmPadraoSimples::sbtImprimirClick() {
    DialogService::Instance().Message(
        DialogKind::Information, msgMensagensPadroes.Msg(QStringLiteral("SemRelatorio")), mbOk);
}

void TfrmPadraoSimples::sbtAjudaClick() { ShowHelp(HelpFile(), HelpContext()); }

void TfrmPadraoSimples::sbtFecharClick() { close(); }

TDBGrid* TfrmPadraoSimples::VisibleGrid() const {
    TDBGrid* other = nullptr;
    for (TDBGrid* grid : findChildren<TDBGrid*>()) {
        if (!grid->isVisibleTo(this)) continue;
        if (grid->DataSource() == &dtsPadrao) return grid;
        if (!other) other = grid;
    }
    return other;
}

void TfrmPadraoSimples::FocusGrid() const {
    if (TDBGrid* grid = VisibleGrid()) grid->setFocus();
}

}  // namespace fai
