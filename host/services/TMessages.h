#pragma once

#include "DialogService.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace fai {

// A screen's keyed message table. Each entry is a key and a text separated by "|"; keys
// are matched regardless of letter case, and the first entry of a key wins.
class TMessages {
  public:
    TMessages() = default;
    explicit TMessages(const QStringList& entries) { SetEntries(entries); }

    void SetEntries(const QStringList& entries);
    QStringList Entries() const;
    int Count() const { return static_cast<int>(entries_.size()); }
    bool Contains(const QString& key) const { return index_.contains(key.toLower()); }

    // The text of the key. An unknown key answers the key itself, so that a missing
    // entry still shows something a developer can trace instead of an empty box.
    QString Msg(const QString& key) const;

    // Shows the text of the key modally and returns the button pressed (mrYes, mrNo...).
    int ShowMsg(const QString& key, DialogKind kind, int buttons, int helpContext) const;

    // Shows the text of the key as an error and abandons the running operation.
    [[noreturn]] void Fail(const QString& key) const;
    // Asks the key's Yes/No question; No abandons the running operation silently.
    void Confirm(const QString& key) const;

  private:
    struct Entry {
        QString key;
        QString text;
    };
    std::vector<Entry> entries_;
    QHash<QString, int> index_;
};

}  // namespace fai
