#pragma once

#include "db/FieldType.h"

#include <QVariant>

namespace db {

// A forward-readable set of typed rows: what the export writers and the
// command line read from a table or a query result.
// Values: null QVariant for blank; QString, int, double, bool, QDate, QTime, QDateTime.
class Dataset {
public:
    virtual ~Dataset() = default;
    virtual const FieldList &fields() const = 0;
    virtual int recordCount() const = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    virtual QVariant value(int field) const = 0;
    // Windows code page of the text the set came from (1252 unless the source says otherwise).
    virtual int codePage() const = 0;

    int fieldIndex(const QString &name) const; // case-insensitive; -1 when absent
};

} // namespace db
