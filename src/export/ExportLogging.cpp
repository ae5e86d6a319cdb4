#include "export/ExportLogging.h"

#include "db/DbError.h"
#include "db/Table.h"
#include "env/DebugLog.h"
#include "env/QuarvexRec.h"
#include "platform/LocaleFormat.h"
#include "platform/Ui.h"
#include "settings/Settings.h"

namespace {

class LoggingRun {
public:
    LoggingRun(unsigned phaseId, const LoggingView &view) : m_phaseId(phaseId), m_view(view) {}

    bool run();

private:
    void status(const QString &text) const;
    void progress(int position, int maximum) const;
    void stampRows(db::Table &table);
    void stamp(db::Table &table, const QString &field, const QVariant &value);

    unsigned m_phaseId;
    const LoggingView &m_view;
    QString m_column = milestoneColumnName(AppRec.MILEINDEX);
    int m_count = 0;
};

void LoggingRun::status(const QString &text) const
{
    if (m_view.showStatus)
        m_view.showStatus(text); // logs it as every status does
    else
        DebugLog(text);
}

void LoggingRun::progress(int position, int maximum) const
{
    if (m_view.showProgress)
        m_view.showProgress(position, maximum);
}

void LoggingRun::stamp(db::Table &table, const QString &field, const QVariant &value)
{
    try {
        table.edit();
        table.setValue(field, value);
        table.post();
    } catch (const db::DbError &) {
        table.cancel();
        table.close();
        throw;
    }
}

void LoggingRun::stampRows(db::Table &table)
{
    table.open();
    table.first();
    m_count = table.recordCount();
    progress(0, m_count);
    for (int i = 1; i <= m_count; ++i) {
        progress(i, m_count);
        if (m_view.showStatus) // without a window, the per-item count is not worth a log entry each
            m_view.showStatus(QStringLiteral("Logging item %1\\%2").arg(i).arg(m_count));
        if (AppRec.INCMILELOG)
            stamp(table, m_column, 1);
        if (AppRec.INCREFLOG)
            stamp(table, QStringLiteral("REFERENCE"), referenceStamp(QDateTime::currentDateTime()));
        table.next();
    }
}

bool LoggingRun::run()
{
    if (!AppRec.INCMILELOG && !AppRec.INCREFLOG)
        return true;
    if (AppRec.INCMILELOG && (AppRec.MILEINDEX < 0 || AppRec.MILEINDEX > 7)) {
        status(QStringLiteral("Invalid Milestone ") + m_column);
        return false;
    }
    db::Table table;
    table.setDatabaseName(QuarvexRec.ProjectPath);
    table.setTableName(QStringLiteral("QVEX_PRD.db"));
    table.setFiltered(true);
    table.setFilter(QStringLiteral("Link_Phs=") + QString::number(m_phaseId));
    bool stamped = true;
    try {
        stampRows(table);
    } catch (const db::DbError &e) {
        Ui::current().inform(QStringLiteral("DoLogging - Error opening table \r\n") + e.message());
        stamped = false;
    }
    progress(0, m_count);
    if (AppRec.INCMILELOG)
        status(QStringLiteral("QX logging to ") + m_column);
    if (AppRec.INCREFLOG)
        status(QStringLiteral("QX logging to Reference"));
    return stamped;
}

} // namespace

QString milestoneColumnName(int mileIndex)
{
    return (QStringLiteral("M") + QString::number(mileIndex + 1)).left(2);
}

QString referenceStamp(const QDateTime &when)
{
    return QStringLiteral("Crewmint: ") + stampText(when);
}

bool DoLogging(unsigned phaseId, const LoggingView &view)
{
    return LoggingRun(phaseId, view).run();
}
