#pragma once

#include "ReportDesign.h"
#include "ReportParams.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QToolBar;

namespace fai {

class DesignScene;
class DesignView;
class FieldList;
class PropertyPanel;

// The report designer ("frmDesenhoRelatorio"): the page with its bands to scale on the
// "Layout" tab (zoom, grid, the mouse and the keys), the query's fields to drag onto the bands,
// the properties of what is selected, and on the "Consulta" tab the query and its parameters
// as text. Its tools (component names act...): save (Ctrl+S), undo (Ctrl+Z), redo (Ctrl+Y),
// preview (F9) with the screen's parameters, insert an element of each kind, add bands and
// groups, delete what is selected (Delete on the page). Closing with changes not saved asks
// whether to save them.
class ReportDesigner : public QDialog {
    Q_OBJECT
  public:
    // Opens the definition file; EReportFileError when it cannot be used. The preview raises
    // `beforeGetQueryParams` as the screen's own runs do.
    ReportDesigner(const QString& path, QueryParamsEvent beforeGetQueryParams,
                   QWidget* parent = nullptr);
    ~ReportDesigner() override;

    ReportDesign& Design() { return *design_; }
    DesignScene& Scene() { return *scene_; }
    DesignView& View() { return *view_; }
    FieldList& Fields() { return *fields_; }
    PropertyPanel& Properties() { return *properties_; }

    // Saves the design: the user's own file in place, otherwise a copy of it in the user's
    // folder under the title asked for. False when the user does not give one.
    bool Save();
    // Runs the design as it is now, with the screen's parameters, in the preview.
    void Preview();
    // The query and parameters typed on the "Consulta" tab become the design's.
    void ApplyQuery();
    bool QueryPending() const;

  public slots:
    // Closing: a design with changes not saved asks first.
    void reject() override;

  private:
    QAction* AddTool(const char* name, const QString& text, const QString& hint,
                     const QKeySequence& keys, std::function<void()> handler);
    void BuildToolBars(QToolBar* bar, QToolBar* insert);
    QWidget* BuildQueryPage();
    void FillBandMenu(QMenu* menu);
    void InsertElement(ElementKind kind);
    void AddGroup();
    void RemoveGroup();
    void ShowQuery();
    void ShowStatus();
    void ShowTitle();
    ReportPlace TargetBand() const;

    std::unique_ptr<ReportDesign> design_;
    QueryParamsEvent beforeGetQueryParams_;
    DesignScene* scene_;
    DesignView* view_;
    FieldList* fields_;
    PropertyPanel* properties_;
    QTabWidget* pgcDesenho_;
    QPlainTextEdit* memConsulta_;
    QPlainTextEdit* memParametros_;
    QLabel* lblPosicao_;
    QAction* actExcluirGrupo_ = nullptr;
    // The query and parameters as the design had them when last shown on the "Consulta" tab,
    // and the texts the editors then held.
    QString querySql_;
    std::vector<ReportParameter> queryParameters_;
    QString shownSql_;
    QString shownParameters_;
};

}  // namespace fai
