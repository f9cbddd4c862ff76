#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class QWidget;

// The host's utilities the screens build on: code fitting, masks, locale texts, messages.
namespace fai {

// True when the text carries no value: no letter and no digit (an empty date box shows
// only its separators).
bool EmptyString(const QString& text);

// The code fitted to its width: trimmed and left-filled with zeros, as codes are stored
// ("1" becomes "0001" for a branch). A longer code is left as typed, so that the lookup
// reports it instead of a silently different code being used.
QString Ajusta(const QString& code, int width);

// Normalises a typed registration number in place: only its letters and digits remain,
// upper case (the punctuation of CPF and CNPJ is the display's, not the data's).
void Ajusta_Inscricao(QString& text);

// The display mask of a registration number for the person type: "J" (company, CNPJ),
// "F" (person, CPF); any other type has no mask.
QString PictPess(const QString& personType);

// Formats a text stored without literals with an edit mask ("mask;save-literals;blank"),
// inserting the mask's literals among the stored characters; a short value ends where
// its characters end.
QString FormatMaskText(const QString& mask, const QString& value);

// Whether a key typed into a number edit keeps the number within the limits: at most
// integerDigits before the decimal separator and decimals after it. The key replaces the
// selection [selStart, selStart + selLength). Control keys always pass; anything that is
// not a digit, one decimal separator or a leading minus is refused.
bool MaxNumber(const QString& text, int integerDigits, int decimals, QChar key, int selStart,
               int selLength);

// The edit mask of date boxes and date fields.
QString DateMask();

// Weekday name of the date ("Domingo" ... "Sábado"); empty for no date.
QString NomeSemana(const QDate& date);

// A date as dd/MM/yyyy and a number in its shortest form with up to 15 significant
// digits, both with the Brazilian conventions whatever the machine's locale.
QString DateToStr(const QDate& date);
QString FloatToStr(double value);

// The message with each "%s" replaced by the next text, in order; "%%" writes "%". A "%s"
// without a text left stays as it is, so that a short argument list shows in the message
// instead of breaking it.
QString Format(const QString& message, const QStringList& texts);

// Shows the text as an error; with abort, then abandons the running operation silently
// (the message was already shown).
void MensErro(const QString& text, bool abort = true);

// Enables or disables every control directly inside the container.
void SetChildEnabled(QWidget* container, bool enabled);

}  // namespace fai
