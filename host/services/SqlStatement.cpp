#include "SqlStatement.h"

namespace fai {
namespace {

bool StartsName(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool InName(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }
bool IsQuote(QChar c) { return c == QLatin1Char('\'') || c == QLatin1Char('"'); }

}  // namespace

SqlStatement SqlStatement::Parse(const QString& sql) {
    SqlStatement statement;
    statement.text_ = sql;
    QString piece;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            piece += c;
            continue;
        }
        if (IsQuote(c)) quote = c;
        const bool parameter = c == QLatin1Char(':') && i + 1 < sql.size() &&
                               StartsName(sql[i + 1]) && (i == 0 || sql[i - 1] != QLatin1Char(':'));
        if (!parameter) {
            piece += c;
            continue;
        }
        qsizetype end = i + 1;
        while (end < sql.size() && InName(sql[end])) ++end;
        const QString name = sql.mid(i + 1, end - i - 1);
        int index = statement.IndexOf(name);
        if (index < 0) {
            index = int(statement.names_.size());
            statement.names_ << name;
        }
        statement.places_.push_back(index);
        statement.pieces_ << piece;
        piece.clear();
        i = end - 1;
    }
    statement.pieces_ << piece;
    return statement;
}

int SqlStatement::IndexOf(const QString& name) const {
    for (qsizetype i = 0; i < names_.size(); ++i) {
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0) return int(i);
    }
    return -1;
}

QString SqlStatement::Bound() const {
    return Bound(std::vector<int>(std::size_t(names_.size()), 1));
}

QString SqlStatement::Bound(const std::vector<int>& placeholders) const {
    QString bound = pieces_.front();
    for (std::size_t place = 0; place < places_.size(); ++place) {
        const int marks = placeholders.at(std::size_t(places_[place]));
        for (int mark = 0; mark < marks; ++mark)
            bound += mark == 0 ? QStringLiteral("?") : QStringLiteral(", ?");
        bound += pieces_[qsizetype(place) + 1];
    }
    return bound;
}

bool SqlStatement::IsSingleSelect() const {
    const QString text = text_.trimmed();
    const auto startsWithWord = [&text](QLatin1String word) {
        return text.startsWith(word, Qt::CaseInsensitive) &&
               (text.size() == word.size() || !InName(text[word.size()]));
    };
    if (!startsWithWord(QLatin1String("SELECT")) && !startsWithWord(QLatin1String("WITH")))
        return false;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (IsQuote(c)) {
            quote = c;
        } else if (c == QLatin1Char(';') && !text.mid(i + 1).trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

}  // namespace fai
