#include "TMessages.h"

#include "Errors.h"

namespace fai {

void TMessages::SetEntries(const QStringList& entries) {
    entries_.clear();
    index_.clear();
    for (const QString& line : entries) {
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        Entry entry{bar < 0 ? line : line.left(bar), bar < 0 ? QString() : line.mid(bar + 1)};
        const QString folded = entry.key.toLower();
        if (!index_.contains(folded)) index_.insert(folded, static_cast<int>(entries_.size()));
        entries_.push_back(std::move(entry));
    }
}

QStringList TMessages::Entries() const {
    QStringList out;
    out.reserve(Count());
    for (const Entry& e : entries_) out << e.key + QLatin1Char('|') + e.text;
    return out;
}

QString TMessages::Msg(const QString& key) const {
    const auto it = index_.constFind(key.toLower());
    return it == index_.cend() ? key : entries_[*it].text;
}

int TMessages::ShowMsg(const QString& key, DialogKind kind, int buttons, int helpContext) const {
    return DialogService::Instance().Message(kind, Msg(key), buttons, helpContext);
}

void TMessages::Fail(const QString& key) const {
    DialogService::Instance().Error(Msg(key));
    throw EAbort();
}

void TMessages::Confirm(const QString& key) const {
    if (ShowMsg(key, DialogKind::Confirmation, mbYes | mbNo, 0) == mrNo) throw EAbort();
}

}  // namespace fai
