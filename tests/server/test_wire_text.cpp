#include "WireText.h"

#include <gtest/gtest.h>

namespace fai {
namespace {

TEST(WireText, AnExcerptIsOneShortLineThatShowsWhatTheTextHeld) {
    const QString pair = QStringLiteral("\U0001F600");  // one character, two UTF-16 units
    struct Case {
        const char* what;
        QString text, excerpt;
    } cases[] = {
        {"a short text", QStringLiteral("0001"), QStringLiteral("0001")},
        {"line breaks and tabs", QStringLiteral("a\nb\r\tc"), QStringLiteral("a\\nb\\r\\tc")},
        {"NUL, escape and a line separator", QStringLiteral("a") + QChar(0) + u'\x1b' + u'\u2028',
         QStringLiteral("a\\u0000\\u001B\\u2028")},
        {"forty characters", QString(40, u'x'), QString(40, u'x')},
        {"forty-one characters", QString(41, u'x'), QString(40, u'x') + u'…'},
        {"a pair of units across the cut", QString(39, u'x') + pair + u'y',
         QString(39, u'x') + u'…'},
    };
    for (const Case& c : cases) EXPECT_EQ(Excerpt(c.text), c.excerpt) << c.what;
}

}  // namespace
}  // namespace fai
