#pragma once

#include "db/FieldType.h"

#include <QVariant>

namespace db {

// Converts a stored value to the type and size of a field it moves into when a table is restructured.
// Text is cut to the alpha length, numbers and text convert both ways, integers are rounded; a value that
// cannot become the new type (text that is no number, a number out of a short's range, ...) becomes blank.
// Values are those of a Dataset: null for blank, QString, int, double, bool, QDate, QTime, QDateTime.
QVariant convertFieldValue(const QVariant &value, const FieldDef &target);

} // namespace db
