#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <string>

namespace fai {

// Texts as they arrive from the other side of the wire and as messages repeat them. Nothing a
// caller sent is trusted to be well formed, short or free of line breaks.

// The text of UTF-8 bytes; none when they are not valid UTF-8 (a replacement character would
// silently change what was sent).
std::optional<QString> DecodeUtf8(const std::string& bytes);

// Control characters (NUL, line breaks, tabs, escapes...) and the Unicode line and paragraph
// separators: nothing a clerk types into a box, and what forges lines in a log.
bool IsControlCharacter(QChar c);
bool HasControlCharacter(QStringView text);

// Control characters written out ("\n", "\u0000"), so that the text stays on one line and
// shows what it held.
QString Escaped(QStringView text);

// A text as a message quotes it: escaped, and cut to its first characters with "…" when it
// is longer, so that an answer or a log line never grows with what the caller sent.
QString Excerpt(QStringView text);

}  // namespace fai
