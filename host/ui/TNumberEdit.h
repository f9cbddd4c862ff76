#pragma once

#include "TEdit.h"

namespace fai {

// A number box in the Brazilian way: decimal comma, optional dot between thousands. Takes
// digits, one separator (a typed dot becomes the comma) and a leading minus; anything else
// is discarded after the screen's key-press handler had its say. Leaving the box shows the
// number with its decimals.
class TNumberEdit : public TEdit {
    Q_OBJECT
  public:
    explicit TNumberEdit(QWidget* parent = nullptr);

    int Decimals() const { return decimals_; }
    void SetDecimals(int decimals);
    bool ThousandSeparator() const { return thousandSeparator_; }
    void SetThousandSeparator(bool shown);

    bool IsBlank() const { return text().trimmed().isEmpty(); }
    // 0 for a blank box. Throws EError for a text that is no number.
    double GetNumber() const;
    void SetNumber(double value);

  protected:
    QChar FilterChar(QChar key) override;

  private:
    void ShowFormatted();

    int decimals_ = 2;
    bool thousandSeparator_ = true;
};

}  // namespace fai
