#include "ScreenControls.h"

#include "TBtnPesquisa.h"
#include "TMaskEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

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

int WidthShowing(const QLineEdit& box, const QStringList& texts) {
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, box.fontMetrics().horizontalAdvance(text));
    // As the box lays its text out: its inner margin of 2 on each side, the text and contents
    // margins, a pixel for the cursor, and the frame around all of it.
    constexpr int kInnerMargins = 2 * 2 + 1;
    const QMargins text = box.textMargins();
    const QMargins contents = box.contentsMargins();
    QStyleOptionFrame frame;
    frame.initFrom(&box);
    frame.lineWidth = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    frame.features = QStyleOptionFrame::None;
    const QSize inner(
        widest + kInnerMargins + text.left() + text.right() + contents.left() + contents.right(),
        box.fontMetrics().height());
    return box.style()->sizeFromContents(QStyle::CT_LineEdit, &frame, inner, &box).width();
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
