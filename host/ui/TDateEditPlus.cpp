#include "TDateEditPlus.h"

#include "BrazilianText.h"
#include "Consiste.h"
#include "DateText.h"
#include "Errors.h"
#include "Value.h"

#include <QPalette>

#include <algorithm>

namespace fai {

TDateEditPlus::TDateEditPlus(QWidget* parent) : TMaskEdit(parent) {
    weekdayNames_ = fai::WeekdayNames();
    SetEditMask(DateMask());
    connect(this, &QLineEdit::textChanged, this, &TDateEditPlus::ShowValidity);
    ShowValidity();
}

void TDateEditPlus::SetWeekdayNames(const QStringList& names) {
    if (names.size() == 7) weekdayNames_ = names;
    ShowValidity();
}

bool TDateEditPlus::IsBlank() const { return EmptyString(Text()); }

QDate TDateEditPlus::GetDate() const {
    const std::optional<QDate> date = ParseDateText(Text());
    if (!date) throw EError(InvalidDateMessage(Text()));
    return date->isValid() ? *date : ZeroDate();
}

void TDateEditPlus::SetDate(const QDate& date) {
    SetText(date.isValid() && date != ZeroDate() ? DateToStr(date) : QString());
}

void TDateEditPlus::CheckValidDate() const {
    if (IsBlank() && !allowBlank_) throw EError(QStringLiteral("A data deve ser informada."));
    GetDate();
}

QString TDateEditPlus::WeekdayName() const {
    const std::optional<QDate> date = ParseDateText(Text());
    if (!date || !date->isValid()) return {};
    return weekdayNames_.value(date->dayOfWeek() % 7);
}

void TDateEditPlus::ShowValidity() {
    const QString weekday = WeekdayName();
    // A disabled box keeps the disabled colour, so that it does not look editable.
    QPalette colours = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(
            group, QPalette::Text,
            weekday.isEmpty() ? QPalette().color(group, QPalette::Text) : QColor(Qt::blue));
    }
    setPalette(colours);
    setToolTip(weekday);
}

namespace {

// A whole date with room for the frame and the cursor.
int DateWidth(const QWidget& box) {
    return box.fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16;
}

}  // namespace

QSize TDateEditPlus::minimumSizeHint() const {
    QSize size = TMaskEdit::minimumSizeHint();
    size.setWidth(std::max(size.width(), DateWidth(*this)));
    return size;
}

QSize TDateEditPlus::sizeHint() const {
    QSize size = TMaskEdit::sizeHint();
    size.setWidth(std::max(size.width(), DateWidth(*this)));
    return size;
}

}  // namespace fai
