#include "NullFieldList.h"

#include "AppErrors.h"
#include "WireText.h"

#include <QStringTokenizer>

namespace fai::appserver {

NullFieldList::NullFieldList(const QString& text, const std::vector<FieldDef>& fields,
                             const QStringList& calculated) {
    if (text.isEmpty()) return;
    QSet<QString> known;
    for (const FieldDef& field : fields) known.insert(field.name.toUpper());
    for (const QString& name : calculated) known.insert(name.toUpper());
    if (!text.endsWith(u'|'))
        throw EBadRequest(
            QStringLiteral("Lista de campos nulos \"%1\" inválida: cada nome termina com \"|\".")
                .arg(Excerpt(text)));
    // Name by name: a list of millions of separators must not become millions of names.
    for (QStringView name : QStringTokenizer(QStringView(text).chopped(1), u'|')) {
        const QString upper = name.toString().toUpper();
        if (!known.contains(upper))
            throw EBadRequest(
                QStringLiteral("Lista de campos nulos \"%1\" inválida: \"%2\" não é um campo.")
                    .arg(Excerpt(text), Excerpt(name)));
        names_.insert(upper);
    }
}

bool NullFieldList::Names(const QString& field) const { return names_.contains(field.toUpper()); }

std::vector<Value> NullFieldList::Applied(const DataPacket& packet,
                                          const std::vector<Value>& values) const {
    std::vector<Value> applied = values;
    for (std::size_t i = 0; i < packet.fields.size() && i < applied.size(); ++i)
        if (Names(packet.fields[i].name)) applied[i] = Value();
    return applied;
}

}  // namespace fai::appserver
