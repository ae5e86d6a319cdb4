#include "db/RestructureSidecar.h"

#include "db/DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace db {

namespace {

QJsonArray intArray(const QVector<int> &values) {
    QJsonArray array;
    for (int value : values)
        array.append(value);
    return array;
}

QVector<int> intVector(const QJsonValue &value) {
    QVector<int> result;
    for (const QJsonValue &item : value.toArray())
        result.append(item.toInt());
    return result;
}

QJsonObject valueObject(const CheckValue &value) {
    return {{"presence", int(value.presence)}, {"value", QString::fromLatin1(value.value.toBase64())}};
}

CheckValue checkValue(const QJsonObject &object) {
    CheckValue value;
    const int presence = object.value("presence").toInt();
    if (presence >= int(ValuePresence::None) && presence <= int(ValuePresence::Now))
        value.presence = ValuePresence(presence);
    const QByteArray bytes = QByteArray::fromBase64(object.value("value").toString().toLatin1());
    value.value.replace(0, qMin(bytes.size(), qsizetype(CheckValueSize)), bytes.left(CheckValueSize));
    return value;
}

QJsonObject valCheckObject(const ValCheckEntry &check, const FieldList &fields) {
    return {{"field", check.fieldNumber},
            {"fieldName", fields.value(check.fieldNumber - 1).name},
            {"required", check.required},
            {"minimum", valueObject(check.minimum)},
            {"maximum", valueObject(check.maximum)},
            {"default", valueObject(check.defaultValue)},
            {"picture", check.picture},
            {"lookupType", check.lookupType},
            {"lookupPath", check.lookupPath}};
}

ValCheckEntry valCheck(const QJsonObject &object) {
    ValCheckEntry check;
    check.fieldNumber = object.value("field").toInt();
    check.required = object.value("required").toBool();
    check.minimum = checkValue(object.value("minimum").toObject());
    check.maximum = checkValue(object.value("maximum").toObject());
    check.defaultValue = checkValue(object.value("default").toObject());
    check.picture = object.value("picture").toString();
    check.lookupType = object.value("lookupType").toInt();
    check.lookupPath = object.value("lookupPath").toString();
    return check;
}

QJsonObject refIntObject(const RefIntEntry &rule) {
    return {{"name", rule.name},
            {"kind", rule.kind},
            {"masterTable", rule.masterTableName},
            {"modifyRule", rule.modifyRule},
            {"deleteRule", rule.deleteRule},
            {"linkedFields", rule.linkedFieldCount},
            {"fields", intArray(rule.fields)},
            {"masterFields", intArray(rule.masterFields)}};
}

RefIntEntry refInt(const QJsonObject &object) {
    RefIntEntry rule;
    rule.name = object.value("name").toString();
    rule.kind = object.value("kind").toInt();
    rule.masterTableName = object.value("masterTable").toString();
    rule.modifyRule = object.value("modifyRule").toInt();
    rule.deleteRule = object.value("deleteRule").toInt();
    rule.linkedFieldCount = object.value("linkedFields").toInt();
    rule.fields = intVector(object.value("fields"));
    rule.masterFields = intVector(object.value("masterFields"));
    return rule;
}

bool checkStillFits(const QJsonObject &object, const FieldList &fields) {
    const int number = object.value("field").toInt();
    return number >= 1 && number <= fields.size() &&
           fields.at(number - 1).name.compare(object.value("fieldName").toString(), Qt::CaseInsensitive) == 0;
}

} // namespace

QString restructureSidecarPath(const QString &tablePath) {
    const QFileInfo info(tablePath);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".rsx");
}

SidecarContent readRestructureSidecar(const QString &tablePath, const FieldList &fields) {
    const QString path = restructureSidecarPath(tablePath);
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject())
        throw DbError(QStringLiteral("%1 is not a table check file: %2").arg(path, error.errorString()));
    SidecarContent content;
    for (const QJsonValue &item : document.object().value("valChecks").toArray()) {
        if (checkStillFits(item.toObject(), fields))
            content.valChecks.append(valCheck(item.toObject()));
    }
    for (const QJsonValue &item : document.object().value("refInts").toArray())
        content.refInts.append(refInt(item.toObject()));
    return content;
}

QByteArray restructureSidecarJson(const SidecarContent &content, const FieldList &fields) {
    QJsonArray checks;
    for (const ValCheckEntry &check : content.valChecks)
        checks.append(valCheckObject(check, fields));
    QJsonArray rules;
    for (const RefIntEntry &rule : content.refInts)
        rules.append(refIntObject(rule));
    return QJsonDocument(QJsonObject{{"valChecks", checks}, {"refInts", rules}}).toJson();
}

} // namespace db
