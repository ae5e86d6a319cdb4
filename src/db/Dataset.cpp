#include "db/Dataset.h"

namespace db {

int Dataset::fieldIndex(const QString &name) const
{
    const FieldList &list = fields();
    for (int i = 0; i < list.size(); ++i)
        if (list[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace db
