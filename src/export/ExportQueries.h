#pragma once

#include <QString>
#include <QStringList>

// The grouping queries of the export run and the phase filter applied to them.

enum class GroupKind { Tasks, Materials };

// The statement lines of the query for a grouping level (0 library, 1 category,
// 2 single item); empty for any other level.
QStringList groupingQuery(GroupKind kind, int level);

// The name the query component carries ("qryLabLib", ...); empty for an unknown level.
QString groupingQueryName(GroupKind kind, int level);

// The word the memo summary and the about box show for a level: "Library",
// "Category", "Activity" (tasks) or "Material" (materials), "NA" otherwise.
QString groupingWord(GroupKind kind, int level);

// "(PhaseID=12) OR (PhaseID=15)" for the ids 12 and 15; empty for no ids.
QString BuildPhaseFilter(const QStringList &phaseIds);
