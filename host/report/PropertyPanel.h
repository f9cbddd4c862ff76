#pragma once

#include "DesignProperties.h"
#include "ReportDesign.h"

#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <vector>

class QFormLayout;
class QLabel;

namespace fai {

// The properties of what is selected (an element, a band, or the report when nothing is),
// each in an editor named after it (spnX, cbbCampo, chkNegrito...). A value typed and left
// (Enter, Tab, another control), a box checked or a choice picked becomes one step of undo;
// a value the definition cannot take is refused with its reason and the editor shows the
// value kept. Several selected elements are only counted here.
class PropertyPanel : public QWidget {
    Q_OBJECT
  public:
    explicit PropertyPanel(ReportDesign& design, QWidget* parent = nullptr);

    // The query's fields, offered for the properties that name one.
    void SetFields(const QStringList& fields);
    // Takes the keyboard to the text of the selected element.
    void FocusText();

  private:
    struct Row {
        const DesignProperty* property;
        QWidget* editor;
        QVariant shown;  // what the editor held when last shown
    };

    void Refresh();
    void Rebuild(const std::vector<const DesignProperty*>& properties);
    QWidget* MakeEditor(const DesignProperty& property);
    void Show(Row& row);
    static QVariant ValueOf(const Row& row);
    void Commit(const QWidget* editor);

    ReportDesign& design_;
    QLabel* lblSelecao_;
    QWidget* form_ = nullptr;
    ReportPlace place_;
    std::vector<Row> rows_;
    QStringList fields_;
    QStringList groups_;  // the groups the editors offer
    bool stale_ = true;
};

}  // namespace fai
