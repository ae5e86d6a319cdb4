#include "db/FieldType.h"

namespace db {

bool isIntegerType(FieldType type)
{
    return type == FieldType::Short || type == FieldType::Long || type == FieldType::AutoInc;
}

bool isNumeric(FieldType type)
{
    return isIntegerType(type) || type == FieldType::Number || type == FieldType::Money || type == FieldType::BCD;
}

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Alpha: return QStringLiteral("alpha");
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::Short: return QStringLiteral("short");
    case FieldType::Long: return QStringLiteral("long");
    case FieldType::Money: return QStringLiteral("money");
    case FieldType::Number: return QStringLiteral("number");
    case FieldType::Logical: return QStringLiteral("logical");
    case FieldType::Memo: return QStringLiteral("memo");
    case FieldType::Blob: return QStringLiteral("blob");
    case FieldType::FmtMemo: return QStringLiteral("formatted memo");
    case FieldType::Ole: return QStringLiteral("OLE");
    case FieldType::Graphic: return QStringLiteral("graphic");
    case FieldType::Time: return QStringLiteral("time");
    case FieldType::Timestamp: return QStringLiteral("timestamp");
    case FieldType::AutoInc: return QStringLiteral("autoincrement");
    case FieldType::BCD: return QStringLiteral("BCD");
    case FieldType::Bytes: return QStringLiteral("bytes");
    }
    return QStringLiteral("unknown");
}

} // namespace db
