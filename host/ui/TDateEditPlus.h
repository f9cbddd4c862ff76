#pragma once

#include "TMaskEdit.h"

#include <QDate>
#include <QStringList>

namespace fai {

// A date box: dd/MM/yyyy typed over a mask, also read as d/M/yy; blank is allowed unless
// switched off. A valid date is drawn in blue and its weekday name is the box's tool tip.
// There is no time of day.
class TDateEditPlus : public TMaskEdit {
    Q_OBJECT
  public:
    explicit TDateEditPlus(QWidget* parent = nullptr);

    bool AllowBlank() const { return allowBlank_; }
    void SetAllowBlank(bool allow) { allowBlank_ = allow; }
    // Seven names, Sunday first.
    const QStringList& WeekdayNames() const { return weekdayNames_; }
    void SetWeekdayNames(const QStringList& names);

    bool IsBlank() const;
    // The date typed; the zero date when blank. Throws EError when the text is no date.
    QDate GetDate() const;
    // The zero date or an invalid date blanks the box.
    void SetDate(const QDate& date);
    // Throws EError when the text is no date, or is blank where blank is not allowed.
    void CheckValidDate() const;
    // The weekday name of the date typed; empty when there is no valid date.
    QString WeekdayName() const;

    // Never narrower than a whole date, whatever the layout gives it.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  private:
    void ShowValidity();

    bool allowBlank_ = true;
    QStringList weekdayNames_;
};

}  // namespace fai
