#pragma once

#include "DataSource.h"
#include "MenuMirror.h"
#include "TBaseForm.h"

#include <QStyle>

class QMenu;
class QMenuBar;
class QHBoxLayout;
class QWidget;

namespace fai {

class TButtonFlat;
class TDBGrid;

// The base maintenance screen: a tool bar of flat buttons, each paired with an entry of the
// maintenance menu and shown as an icon with its name as tool tip (so that the bar fits the
// narrowest screen), the data source dtsPadrao on the screen's main dataset, and the standard
// record steps that screens extend and call as one step of their own handlers.
//
// Menu entries (shortcuts): mnuConfirmar (F10), mnuCancelar (F11), mnuIncluir (F4),
// mnuAlterar (F6), mnuExcluir (F7), mnuProcurar (F3), mnuVerificar (F9) and, last, mnuFechar
// (Ctrl+F4) under mnuManutencao; mnuListagem (Ctrl+P) for sbtImprimir; mnuAjuda (F1, through the
// key preview). Each entry does what its button does and takes the button's enabled state whenever
// SyncMenuEntries runs.
//
// Commands follow dtsPadrao's state (dtsPadraoStateChange): with no dataset or an inactive
// one the record commands are disabled (so they are at creation); in browse, include and
// verify are enabled, and edit, delete and search when there are rows; while editing, only
// confirm and cancel. Escape outside a grid runs the cancel step while a row is edited.
class TfrmPadraoSimples : public TBaseForm {
    Q_OBJECT
  public:
    explicit TfrmPadraoSimples(QWidget* parent = nullptr);

    DataSource dtsPadrao;

    TButtonFlat* sbtConfirmar;
    TButtonFlat* sbtCancelar;
    TButtonFlat* sbtIncluir;
    TButtonFlat* sbtAlterar;
    TButtonFlat* sbtExcluir;
    TButtonFlat* sbtProcurar;
    TButtonFlat* sbtVerificar;
    TButtonFlat* sbtImprimir;
    TButtonFlat* sbtAjuda;
    TButtonFlat* sbtFechar;

    QMenuBar* mnuPrincipal;
    QMenu* mnuManutencao;
    QAction* mnuConfirmar;
    QAction* mnuCancelar;
    QAction* mnuIncluir;
    QAction* mnuAlterar;
    QAction* mnuExcluir;
    QAction* mnuProcurar;
    QAction* mnuVerificar;
    QAction* mnuListagem;
    QAction* mnuAjuda;
    QAction* mnuFechar;

    // A tool button of the screen's own, before the screen code; with `entry`, paired with
    // that menu entry; with `icon`, shown as that icon like the standard commands.
    TButtonFlat* AddToolButton(const char* name, const QString& text, const QString& hint,
                               QAction* entry = nullptr,
                               QStyle::StandardPixmap icon = QStyle::SP_CustomBase);
    // A maintenance-menu entry of the screen's own, and a separator, before mnuFechar.
    QAction* AddMenuEntry(const char* name, const QString& text, const QKeySequence& shortcut);
    void AddMenuSeparator();
    // Every menu entry takes its button's enabled state.
    void SyncMenuEntries() const { menus_.Sync(); }
    QWidget* ClientArea() const { return clientArea_; }

    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;

    // The standard steps.
    virtual void dtsPadraoStateChange();
    // Posts the pending row of dtsPadrao's dataset, after writing what is typed in a grid.
    virtual void sbtConfirmarClick();
    // Cancels the edit of dtsPadrao's dataset.
    virtual void sbtCancelarClick();
    // Appends a row to dtsPadrao's dataset and puts the focus in the grid.
    virtual void sbtIncluirClick();
    // Puts the current row of dtsPadrao's dataset into edit and the focus in the grid.
    virtual void sbtAlterarClick();
    // Asks "Excl" of msgMensagensPadroes, naming the row as its grid describes it (after the
    // standard text); Yes deletes the current row, No abandons the operation silently.
    virtual void sbtExcluirClick();
    // The search dialog over the visible grid's dataset.
    virtual void sbtProcurarClick();
    // What verifying means is the screen's; there is nothing to verify on the base screen.
    virtual void sbtVerificarClick() {}
    // The screen's report; the base screen has none and says so.
    virtual void sbtImprimirClick();
    virtual void sbtAjudaClick();
    virtual void sbtFecharClick();

    // The grid the user sees on dtsPadrao (else any visible grid), or null.
    virtual TDBGrid* VisibleGrid() const;

  protected:
    ClientDataSet* MainDataSet() const;

  private:
    TButtonFlat* AddCommand(const char* name, const QString& text, QAction* entry,
                            QStyle::StandardPixmap icon);
    QAction* MakeEntry(QMenu* menu, const char* name, const QString& text,
                       const QKeySequence& shortcut);
    void FocusGrid() const;

    QHBoxLayout* toolBar_;
    QAction* closeSeparator_;
    QWidget* clientArea_;
    MenuMirror menus_;
};

}  // namespace fai
