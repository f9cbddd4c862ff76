#include "TDBNavigator.h"

#include "EventGuard.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace fai {

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    first_ = AddButton("btnPrimeiro", QStringLiteral("|◀"), QStringLiteral("Primeiro"),
                       &ClientDataSet::First);
    prior_ = AddButton("btnAnterior", QStringLiteral("◀"), QStringLiteral("Anterior"),
                       &ClientDataSet::Prior);
    next_ = AddButton("btnProximo", QStringLiteral("▶"), QStringLiteral("Próximo"),
                      &ClientDataSet::Next);
    last_ = AddButton("btnUltimo", QStringLiteral("▶|"), QStringLiteral("Último"),
                      &ClientDataSet::Last);
    Refresh();
}

QToolButton* TDBNavigator::AddButton(const char* name, const QString& text, const QString& hint,
                                     void (ClientDataSet::*move)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    layout()->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, move] {
        GuardEvent([this, move] {
            if (ClientDataSet* dataSet = Source() ? Source()->DataSet() : nullptr)
                (dataSet->*move)();
        });
    });
    return button;
}

void TDBNavigator::SetDataSource(fai::DataSource* source) {
    SetSource(source);
    Refresh();
}

void TDBNavigator::Refresh() {
    fai::DataSource* source = Source();
    const bool active = source && source->State() != DataSetState::Inactive;
    const int position = active ? source->DataSet()->RecNo() : 0;
    const int count = active ? source->DataSet()->RecordCount() : 0;
    first_->setEnabled(position > 1);
    prior_->setEnabled(position > 1);
    next_->setEnabled(position > 0 && position < count);
    last_->setEnabled(position > 0 && position < count);
}

}  // namespace fai
