#include "cli/SqlCommand.h"

#include "db/DbError.h"
#include "db/Query.h"
#include "platform/FloatFormat.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTime>

namespace {

QString csvField(const QString &text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    for (const QChar c : text)
        if (special.contains(c))
            return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return text;
}

QString valueText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return generalFloatText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return value.toTime().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODate);
    default:
        return value.toString();
    }
}

void writeLine(QTextStream &out, const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields)
        quoted << csvField(field);
    out << quoted.join(QLatin1Char(',')) << '\n';
}

} // namespace

int runSqlCommand(const QString &folder, const QString &statement, const QString &filter, QTextStream &out,
                  QTextStream &err)
{
    try {
        db::Query query;
        query.setDatabaseName(folder);
        query.setSql(statement.split(QLatin1Char('\n')));
        query.setFiltered(!filter.isEmpty());
        query.setFilter(filter);
        query.open();
        QStringList titles;
        for (const db::FieldDef &field : query.fields())
            titles << field.name;
        writeLine(out, titles);
        for (query.first(); !query.eof(); query.next()) {
            QStringList row;
            for (int f = 0; f < query.fields().size(); ++f)
                row << valueText(query.value(f));
            writeLine(out, row);
        }
        out.flush();
        return 0;
    } catch (const db::DbError &e) {
        out.flush();
        err << QString(e.message()).replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '))
            << '\n';
        err.flush();
        return 3;
    }
}
