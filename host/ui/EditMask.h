#pragma once

#include <QList>
#include <QString>

namespace fai {

// A classic edit mask, "pattern;save-literals;blank": `>aaaa;0; ` (four letters or digits,
// upper case), `99999;0; ` (five digits), `99.999.999/9999-99;0;_`. The pattern's characters:
//   L letter, A letter or digit, C any character, 0 digit (each required);
//   l, a, c, 9 the same, optional; # digit or sign, optional;
//   > upper case from here, < lower case, <> no case change, \ the next character as a
//   literal, ! kept for compatibility (no effect); anything else is a literal.
// Translated to the toolkit's input mask so that the line edit enforces it while typing.
class EditMask {
  public:
    EditMask() = default;
    explicit EditMask(const QString& mask);

    bool IsEmpty() const { return slots_.isEmpty(); }
    const QString& Source() const { return source_; }
    // The toolkit's input mask ("" for no mask).
    const QString& InputMask() const { return inputMask_; }
    bool SaveLiterals() const { return saveLiterals_; }
    QChar Blank() const { return blank_; }

    // The value kept from the shown text: literals dropped when they are not saved; blanks
    // become spaces when literals are saved (so positions keep their meaning) and are dropped
    // otherwise. Trailing spaces are trimmed.
    QString ValueOf(const QString& shown) const;
    // The text to show for a value, literals inserted when they are not saved.
    QString ShownFor(const QString& value) const;

  private:
    QString source_;
    QString inputMask_;
    bool saveLiterals_ = true;
    QChar blank_ = QLatin1Char(' ');
    struct Slot {
        bool literal;
        QChar character;  // the literal; unused for a typed position
    };
    QList<Slot> slots_;
};

}  // namespace fai
