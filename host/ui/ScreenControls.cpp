#include "ScreenControls.h"

#include "TBtnPesquisa.h"
#include "TMaskEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace fai {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    return Named(new QLabel(text, parent), name);
}

QLineEdit* MakeNameBox(QWidget* parent, const char* name) {
    auto* box = Named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

TMaskEdit* MakeCodeBox(QWidget* parent, const char* name, const QString& mask, int maxLength,
                       int characters) {
    auto* box = Named(new TMaskEdit(parent), name);
    box->SetEditMask(mask);
    box->SetMaxLength(maxLength);
    // Room for the widest code and the frame, in the box's own font.
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('W'))) +
                       16);
    return box;
}

TBtnPesquisa* MakeLookup(QWidget* parent, const char* name, QLineEdit* box, const QString& title,
                         DataSource* source, const QString& emptyError) {
    auto* button = Named(new TBtnPesquisa(parent), name);
    button->SetAssociate(box);
    button->SetTitle(title);
    button->SetDataSource(source);
    button->SetEmptyError(emptyError);
    button->setToolTip(QStringLiteral("Pesquisar %1 (F2)").arg(title.toLower()));
    return button;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretchLast) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (QWidget* widget : widgets) row->addWidget(widget);
    if (!stretchLast) row->addStretch(1);
    return row;
}

}  // namespace fai
