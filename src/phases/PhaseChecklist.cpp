#include "phases/PhaseChecklist.h"

#include "db/Query.h"

PhaseState nextPhaseState(PhaseState state)
{
    switch (state) {
    case PhaseState::White: return PhaseState::Grey;
    case PhaseState::Grey: return PhaseState::Ticked;
    case PhaseState::Ticked: break;
    }
    return PhaseState::White;
}

QStringList checklistSql()
{
    return {QStringLiteral("SELECT PH.Name, PH.Desct, PH.Link_Phs, SUM(T.Qty) As ItemCount, COUNT(T.Qty) As LineCount"),
            QStringLiteral("FROM \"phase.db\" AS PH JOIN \"Qvex_prd.db\" AS T ON (PH.Link_Phs=T.Link_Phs)"),
            QStringLiteral("GROUP BY PH.Name, PH.Desct, PH.Link_Phs"), QStringLiteral("ORDER BY PH.Name")};
}

void FillPhaseEntries(const QString &projectPath, const QString &idField, QVector<PhaseEntry> &entries)
{
    db::Query query;
    query.setDatabaseName(projectPath);
    query.setSql(checklistSql());
    query.open();
    const int nameField = query.fieldIndex(QStringLiteral("Name"));
    const int descField = query.fieldIndex(QStringLiteral("Desct"));
    const int countField = query.fieldIndex(QStringLiteral("LineCount"));
    const int id = query.fieldIndex(idField);
    for (query.first(); !query.eof(); query.next()) {
        PhaseEntry entry;
        entry.name = query.value(nameField).toString();
        entry.text = entry.name;
        if (descField >= 0) {
            entry.description = query.value(descField).toString();
            entry.text += QStringLiteral(" - ") + entry.description;
        }
        entry.lineCount = query.value(countField).toInt();
        entry.text += QStringLiteral(" (") + QString::number(entry.lineCount) + QStringLiteral(") lines");
        entry.id = query.value(id).toInt();
        entries.append(entry);
    }
    query.close();
}

void MarkDonePhases(QVector<PhaseEntry> &entries, const QStringList &mruPhase)
{
    for (PhaseEntry &entry : entries)
        if (mruPhase.contains(QString::number(entry.id)))
            entry.state = PhaseState::Grey;
}

QStringList RebuildExportList(const QVector<PhaseEntry> &entries)
{
    QStringList ids;
    for (const PhaseEntry &entry : entries)
        if (entry.state == PhaseState::Ticked)
            ids << QString::number(entry.id);
    return ids;
}

QStringList MarkExportedPhases(QVector<PhaseEntry> &entries)
{
    QStringList done;
    for (PhaseEntry &entry : entries) {
        if (entry.state == PhaseState::White)
            continue;
        done << QString::number(entry.id);
        entry.state = PhaseState::Grey;
    }
    return done;
}
