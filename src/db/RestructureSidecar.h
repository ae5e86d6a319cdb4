#pragma once

#include "db/FieldType.h"
#include "db/RestructureDesc.h"

namespace db {

// Validity checks and referential rules of a Paradox table, which our table files do not hold. They live in
// a JSON file of ours beside the table: the table's base name with the extension ".rsx".
struct SidecarContent {
    QVector<ValCheckEntry> valChecks;
    QVector<RefIntEntry> refInts;

    bool isEmpty() const { return valChecks.isEmpty() && refInts.isEmpty(); }
};

QString restructureSidecarPath(const QString &tablePath);

// Reads the sidecar of a table with the given fields; no file gives no content. A check whose field number
// no longer names the field it was made for (the table was replaced meanwhile) is left out.
// Throws DbError naming the file when it cannot be read or is not ours.
SidecarContent readRestructureSidecar(const QString &tablePath, const FieldList &fields);

// The sidecar text for a table with the given fields.
QByteArray restructureSidecarJson(const SidecarContent &content, const FieldList &fields);

} // namespace db
