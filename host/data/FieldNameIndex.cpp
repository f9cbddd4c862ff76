#include "FieldNameIndex.h"

namespace fai {
namespace {

constexpr std::size_t kFnvOffset = 14695981039346656037ull;
constexpr std::size_t kFnvPrime = 1099511628211ull;

std::size_t Mix(std::size_t hash, char16_t unit) { return (hash ^ unit) * kFnvPrime; }

char16_t FoldAscii(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

// UTF-8 and Latin-1 views iterate bytes, UTF-16 views QChars.
char16_t Unit(char c) { return static_cast<unsigned char>(c); }
char16_t Unit(QChar c) { return c.unicode(); }

}  // namespace

// Hashes the case-folded UTF-16 units of a name. Names of plain ASCII, which all field names
// are in practice, are folded in place without building a string.
std::size_t FieldNameIndex::CaseFoldedHash::operator()(QAnyStringView name) const noexcept {
    bool ascii = true;
    const std::size_t hash = name.visit([&](auto view) {
        std::size_t h = kFnvOffset;
        for (auto c : view) {
            const char16_t unit = Unit(c);
            if (unit >= 0x80) {
                ascii = false;
                break;
            }
            h = Mix(h, FoldAscii(unit));
        }
        return h;
    });
    if (ascii) return hash;
    std::size_t folded = kFnvOffset;
    for (QChar c : name.toString().toCaseFolded()) folded = Mix(folded, c.unicode());
    return folded;
}

// Plain ASCII names of one length compare unit by unit; anything else goes to Qt's full
// case-insensitive comparison, which folds every character through the Unicode tables.
bool FieldNameIndex::CaseInsensitiveEqual::operator()(QAnyStringView a,
                                                      QAnyStringView b) const noexcept {
    if (a.size() == b.size()) {
        const int verdict = a.visit([&b](auto left) {
            return b.visit([&left](auto right) {
                auto r = right.begin();
                for (auto l = left.begin(); l != left.end(); ++l, ++r) {
                    const char16_t x = Unit(*l), y = Unit(*r);
                    if (x >= 0x80 || y >= 0x80) return -1;
                    if (FoldAscii(x) != FoldAscii(y)) return 0;
                }
                return 1;
            });
        });
        if (verdict >= 0) return verdict == 1;
    }
    return QAnyStringView::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool FieldNameIndex::Add(const QString& name, int index) {
    return indexes_.emplace(name, index).second;
}

int FieldNameIndex::Find(QAnyStringView name) const {
    const auto found = indexes_.find(name);
    return found == indexes_.end() ? -1 : found->second;
}

}  // namespace fai
