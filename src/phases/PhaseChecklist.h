#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The phases of the open project as the check list shows them, and the rules
// that move them between white (not selected), ticked (to export) and grey (done).

enum class PhaseState { White, Grey, Ticked };

struct PhaseEntry {
    QString text; // name + " - " + description + " (" + line count + ") lines"
    int id = 0;   // Link_Phs
    PhaseState state = PhaseState::White;
    QString name;
    QString description;
    int lineCount = 0;
};

// The state a click on the box gives: white -> grey -> ticked -> white.
PhaseState nextPhaseState(PhaseState state);

// qryChecklist: one row per phase that has line items, by phase name.
QStringList checklistSql();

// Appends one entry per row of qryChecklist in projectPath, in query order,
// with the id taken from idField. Throws db::DbError; entries appended before
// the failure stay.
void FillPhaseEntries(const QString &projectPath, const QString &idField, QVector<PhaseEntry> &entries);

// Greys every entry whose id (as decimal text) is in mruPhase.
void MarkDonePhases(QVector<PhaseEntry> &entries, const QStringList &mruPhase);

// The ids of the ticked entries, in list order.
QStringList RebuildExportList(const QVector<PhaseEntry> &entries);

// The ids of all ticked and grey entries, in list order (the new done list);
// ticked entries turn grey.
QStringList MarkExportedPhases(QVector<PhaseEntry> &entries);
