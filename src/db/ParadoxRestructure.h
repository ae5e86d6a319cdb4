#pragma once

#include "db/RestructureDesc.h"

namespace db {

// Our tables report themselves as Paradox tables of level 7: every Paradox field type suits them.
extern const QString ParadoxTableType;
constexpr int ParadoxTableLevel = 7;

// The structure of the table file at path: facts, fields (load position = position), the primary index
// (from the key field count), and the validity checks and referential rules of its sidecar.
// Throws DbError naming the file.
TableStructure readTableStructure(const QString &path);

// Rewrites the table file at path to the description. The new field list is the description's entries in
// order (an entry marked drop is left out): an entry with a load position takes that old field's values,
// converted to its type; an added entry starts blank; an old field no entry loads is dropped. The primary
// key is the description's primary index unless that is marked drop; records are ordered by it and two
// records with one key are an error. Checks and rules not marked drop are kept in the sidecar. Our table
// files never hold deleted records, so every rewrite is packed whatever the pack flag says.
// Nothing changes when it fails (DbError naming the table and the reason).
void restructureTable(const QString &path, const TableDescription &description);

} // namespace db
