#pragma once

#include "db/FieldType.h"

#include <QString>
#include <QVector>

#include <functional>

namespace db {

// A table named by a statement, as the engine has loaded it.
struct ResolvedTable {
    QString sqlName; // the table's name in the SQL database
    FieldList fields;
};

// Finds a table by the name the statement gives it ("Projname", "phase.db");
// throws DbError when there is none.
using TableResolver = std::function<ResolvedTable(const QString &name)>;

// A result column whose type follows from the statement itself.
struct InferredColumn {
    bool known = false;
    FieldDef def;
};

struct TranslatedSql {
    QString text;                   // the statement for SQLite
    QVector<InferredColumn> columns; // one per result column, "*" expanded
};

// Translates a local SQL SELECT into SQLite's dialect:
// - a table name or "double-quoted file name" in a FROM or JOIN position is
//   replaced by the loaded table, keeping the alias or taking the name as one;
// - "double-quoted" text anywhere else is a string literal;
// - a table's own name may qualify its columns even where it has an alias;
// - NOT (x) holds where x is blank, as a blank value satisfies no comparison
//   (so "not(ReservedLibrary = 1)" keeps rows whose value is blank).
// Result column types are inferred where the select list says them: a field
// keeps its type and size, SUM and MIN/MAX keep the field's type (SUM of
// integers is long), COUNT is long, AVG is number, a text constant is alpha.
TranslatedSql translateSql(const QString &statement, const TableResolver &resolve);

} // namespace db
