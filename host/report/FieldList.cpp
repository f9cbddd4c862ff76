#include "FieldList.h"

#include "Errors.h"
#include "ReportParams.h"
#include "ReportProgress.h"
#include "ReportQuery.h"

#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QVBoxLayout>

namespace fai {
namespace {

// A list whose items are dragged as fields of the query.
class FieldListWidget : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    QStringList mimeTypes() const override { return {QLatin1String(kFieldMimeType)}; }

    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
        if (items.isEmpty()) return nullptr;
        auto* data = new QMimeData;
        data->setData(QLatin1String(kFieldMimeType), items.front()->text().toUtf8());
        data->setText(items.front()->text());
        return data;
    }
};

}  // namespace

QStringList QueryFields(const ReportDefinition& definition) {
    ReportParams params(definition);
    for (int i = 0; i < params.Count(); ++i) params.Param(i).Clear();
    NoProgress progress;
    return RunReportQuery(definition, params, progress).Columns();
}

FieldList::FieldList(QWidget* parent)
    : QWidget(parent), lblCampos_(new QLabel(this)), lstCampos_(new FieldListWidget(this)) {
    lblCampos_->setObjectName(QStringLiteral("lblCampos"));
    lblCampos_->setWordWrap(true);
    lstCampos_->setObjectName(QStringLiteral("lstCampos"));
    lstCampos_->setDragEnabled(true);
    lstCampos_->setDragDropMode(QAbstractItemView::DragOnly);
    lstCampos_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblCampos_);
    layout->addWidget(lstCampos_, 1);
}

void FieldList::Load(const ReportDefinition& definition) {
    QStringList fields;
    try {
        fields = QueryFields(definition);
        lblCampos_->setText(QStringLiteral("Campos da consulta: arraste um campo até uma banda."));
    } catch (const EError& e) {
        lblCampos_->setText(
            QStringLiteral("Os campos da consulta não puderam ser lidos.\n%1").arg(e.Message()));
    }
    lstCampos_->clear();
    lstCampos_->addItems(fields);
    fields_ = fields;
    emit FieldsChanged();
}

QString FieldList::CurrentField() const {
    const QListWidgetItem* item = lstCampos_->currentItem();
    return item ? item->text() : QString();
}

}  // namespace fai
