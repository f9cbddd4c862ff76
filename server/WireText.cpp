#include "WireText.h"

#include <QStringDecoder>

namespace fai {
namespace {

constexpr qsizetype kExcerptLength = 40;

}  // namespace

std::optional<QString> DecodeUtf8(const std::string& bytes) {
    // A leading byte order mark stays what it was sent as: nothing is dropped unseen.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

bool IsControlCharacter(QChar c) {
    switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return false;
    }
}

bool HasControlCharacter(QStringView text) {
    for (QChar c : text)
        if (IsControlCharacter(c)) return true;
    return false;
}

QString Escaped(QStringView text) {
    if (!HasControlCharacter(text)) return text.toString();
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        if (!IsControlCharacter(c))
            out += c;
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else
            out += QStringLiteral("\\u") +
                   QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0');
    }
    return out;
}

QString Excerpt(QStringView text) {
    if (text.size() <= kExcerptLength) return Escaped(text);
    qsizetype length = kExcerptLength;
    // Never half of a character that takes two UTF-16 units.
    if (text[length - 1].isHighSurrogate()) --length;
    return Escaped(text.left(length)) + QStringLiteral("…");
}

}  // namespace fai
