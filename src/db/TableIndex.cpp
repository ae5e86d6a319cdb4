#include "db/TableIndex.h"

#include "db/DbError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>

namespace db {

namespace {

// The index file is JSON:
// {"indexes": [{"name": "SG_3_NC_A", "fields": "REFERENCE", "options": ["caseInsensitive"]}]}
struct OptionWord {
    IndexOption option;
    QLatin1String word;
};
const OptionWord optionWords[] = {
    {IndexOption::Unique, QLatin1String("unique")},
    {IndexOption::Descending, QLatin1String("descending")},
    {IndexOption::CaseInsensitive, QLatin1String("caseInsensitive")},
};

[[noreturn]] void failFile(const QString &path, const QString &reason)
{
    throw DbError(QStringLiteral("Index file %1: %2").arg(path, reason));
}

IndexOptions optionsFromJson(const QString &path, const QJsonArray &words)
{
    IndexOptions options;
    for (const QJsonValue &value : words) {
        const auto known = std::find_if(std::begin(optionWords), std::end(optionWords),
                                        [&](const OptionWord &o) { return o.word == value.toString(); });
        if (known == std::end(optionWords))
            failFile(path, QStringLiteral("unknown index option \"%1\"").arg(value.toString()));
        options |= known->option;
    }
    return options;
}

QJsonArray optionsToJson(IndexOptions options)
{
    QJsonArray words;
    for (const OptionWord &o : optionWords)
        if (options.testFlag(o.option))
            words.append(o.word);
    return words;
}

IndexDef indexFromJson(const QString &path, const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const IndexDef def{object.value(QLatin1String("name")).toString(),
                       object.value(QLatin1String("fields")).toString(),
                       optionsFromJson(path, object.value(QLatin1String("options")).toArray())};
    if (def.name.isEmpty() || def.fields.isEmpty())
        failFile(path, QStringLiteral("an index without name or fields"));
    return def;
}

int compareValues(const QVariant &a, const QVariant &b, Qt::CaseSensitivity cs)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    if (a.typeId() == QMetaType::QString)
        return QString::compare(a.toString(), b.toString(), cs);
    const QPartialOrdering order = QVariant::compare(a, b);
    return order == QPartialOrdering::Less ? -1 : order == QPartialOrdering::Greater ? 1 : 0;
}

} // namespace

std::optional<IndexDef> primaryIndex(const FieldList &fields, int keyFieldCount)
{
    if (keyFieldCount <= 0)
        return std::nullopt;
    QStringList names;
    for (int i = 0; i < keyFieldCount; ++i)
        names << fields.at(i).name;
    return IndexDef{QString(), names.join(QLatin1Char(';')), IndexOption::Primary | IndexOption::Unique};
}

IndexDefs readIndexFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        failFile(path, file.errorString());
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        failFile(path, error.errorString());
    const QJsonValue indexes = document.object().value(QLatin1String("indexes"));
    if (!indexes.isArray())
        failFile(path, QStringLiteral("no list of indexes"));
    IndexDefs defs;
    for (const QJsonValue &value : indexes.toArray())
        defs.append(indexFromJson(path, value));
    return defs;
}

void writeIndexFile(const QString &path, const IndexDefs &defs)
{
    if (defs.isEmpty()) {
        if (QFile::exists(path) && !QFile::remove(path))
            failFile(path, QStringLiteral("it cannot be removed"));
        return;
    }
    QJsonArray indexes;
    for (const IndexDef &def : defs)
        indexes.append(QJsonObject{{QLatin1String("name"), def.name},
                                   {QLatin1String("fields"), def.fields},
                                   {QLatin1String("options"), optionsToJson(def.options)}});
    const QByteArray bytes = QJsonDocument(QJsonObject{{QLatin1String("indexes"), indexes}}).toJson();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        failFile(path, file.errorString());
}

void sortRows(QVector<int> &rows, const QVector<QVector<QVariant>> &records, const QVector<int> &keyFields,
              IndexOptions options)
{
    const Qt::CaseSensitivity cs =
        options.testFlag(IndexOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const int direction = options.testFlag(IndexOption::Descending) ? -1 : 1;
    std::stable_sort(rows.begin(), rows.end(), [&](int left, int right) {
        for (int field : keyFields) {
            const int order = compareValues(records.at(left).at(field), records.at(right).at(field), cs);
            if (order != 0)
                return order * direction < 0;
        }
        return false;
    });
}

} // namespace db
