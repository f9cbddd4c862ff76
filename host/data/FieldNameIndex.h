#pragma once

#include <QAnyStringView>
#include <QString>

#include <unordered_map>

namespace fai {

// Field names looked up without regard to letter case, by hash: screens look fields up by
// name on every keystroke and in loops over rows, so a lookup neither scans nor allocates,
// whether the name comes as a literal, a QString or a view.
class FieldNameIndex {
  public:
    // False when the name is already taken (in any letter case).
    bool Add(const QString& name, int index);
    void Clear() { indexes_.clear(); }

    // The index given with the name, or -1.
    int Find(QAnyStringView name) const;

  private:
    struct CaseFoldedHash {
        using is_transparent = void;
        std::size_t operator()(QAnyStringView name) const noexcept;
    };
    struct CaseInsensitiveEqual {
        using is_transparent = void;
        bool operator()(QAnyStringView a, QAnyStringView b) const noexcept;
    };

    std::unordered_map<QString, int, CaseFoldedHash, CaseInsensitiveEqual> indexes_;
};

}  // namespace fai
