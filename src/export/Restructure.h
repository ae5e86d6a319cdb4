#pragma once

#include "db/RestructureDesc.h"

#include <QString>
#include <QVector>

#include <functional>

// Field types a field descriptor can ask for, Paradox (px) and dBASE (db).
enum TdBasePxFieldType {
    pxUnknown,
    pxAlpha,
    pxNumber,
    pxMoney,
    pxShort,
    pxLongInteger,
    pxBCD,
    pxDate,
    pxTime,
    pxTimestamp,
    pxMemo,
    pxFormattedMemo,
    pxGraphic,
    pxOLE,
    pxLogical,
    pxAutoincrement,
    pxBinary,
    pxBytes,
    dbCharacter,
    dbFloat,
    dbNumber,
    dbDate,
    dbMemo,
    dbLogical,
    dbOLE,
    dbBinary,
    dbLong,
    dbDateTime,
    dbDouble,
    dbAutoincrement,
    dbBytes,
    dbLock,
};

// The engine's field type code of a descriptor type (0 for pxUnknown), and back (pxUnknown for none).
int fieldTypeCode(TdBasePxFieldType type);
TdBasePxFieldType fieldTypeOfCode(int code);

enum TLookupType { ltCurrentField, ltAllCorresponding };
enum TLookupAccess { laFillNoHelp, laHelpAndFill };
enum TUpdateRule { urCascade, urRestrict };

struct TFieldDesc {
    QString Name;
    TdBasePxFieldType FieldType = pxUnknown;
    quint16 Length = 0;
    quint16 Precision = 0;
};

// A validity check as the user would type it.
struct TValCheckDesc {
    bool Required = false;
    QString MinimumValue;
    QString MaximumValue;
    QString DefaultValue;
    QString Picture;
    QString LookupDatabaseName;
    QString LookupTableName;
    TLookupType LookupType = ltCurrentField;
    TLookupAccess LookupAccess = laHelpAndFill;
};

class TRestructure;

// A referential rule to add. Its master database follows the owning component's DatabaseName.
class TRefIntDesc {
public:
    const QString &MasterDatabaseName() const { return m_masterDatabaseName; }

    QString MasterTableName;
    TUpdateRule ModifyOperation = urCascade;
    TUpdateRule DeleteOperation = urRestrict;

private:
    friend class TRestructure;
    QString m_masterDatabaseName;
};

using TFieldInappropriateEvent = std::function<void(TRestructure *Sender, const TFieldDesc &AField)>;

// Changes the structure of an existing table in place, keeping its data. Setting TableName reads the
// table's structure into an editable copy; the operations edit the copy and mark what they touch;
// DoRestructure hands the whole new description to the engine in one call and reads the structure again.
// Errors are db::DbError.
class TRestructure {
public:
    TRestructure() = default;
    virtual ~TRestructure() = default;
    TRestructure(const TRestructure &) = delete;
    TRestructure &operator=(const TRestructure &) = delete;

    TFieldDesc &Field() { return m_field; }
    void setField(const TFieldDesc &field) { m_field = field; }
    TValCheckDesc &ValCheck() { return m_valCheck; }
    void setValCheck(const TValCheckDesc &valCheck) { m_valCheck = valCheck; }
    const QString &DatabaseName() const { return m_databaseName; }
    void setDatabaseName(const QString &name);
    const QString &TableName() const { return m_tableName; }
    void setTableName(const QString &name);
    bool PackTable() const { return m_packTable; }
    void setPackTable(bool pack) { m_packTable = pack; }
    TRefIntDesc &RefInt() { return m_refInt; }
    void setRefInt(const TRefIntDesc &refInt);
    quint16 PrimaryIndexFieldCount() const { return m_primaryIndexFieldCount; }
    void setPrimaryIndexFieldCount(quint16 count) { m_primaryIndexFieldCount = count; }
    const TFieldInappropriateEvent &OnFieldInappropriate() const { return m_onFieldInappropriate; }
    void setOnFieldInappropriate(TFieldInappropriateEvent handler) { m_onFieldInappropriate = std::move(handler); }

    virtual void EncodeFieldType(db::FieldEntry &entry, TdBasePxFieldType type) const;
    virtual bool FieldAppropriate() const;
    virtual int FieldIndex(const QString &fieldName) const;
    virtual void AddField(bool withValCheck);
    virtual void InsertField(int pos, bool withValCheck);
    virtual void MoveField(int oldPos, int newPos);
    virtual void DeleteField(int pos);
    virtual void ModifyField(int pos, bool withValCheck);
    virtual void AddValCheck(const QString &fieldName);
    virtual void ModifyValCheck(const QString &fieldName);
    virtual void DeleteValCheck(const QString &fieldName);
    virtual void AddRefInt(const QString &ruleName, const QString &indexName);
    virtual void DeleteRefInt(const QString &ruleName);

    void DoRestructure();
    void LoadStructure();
    // Fills value (CheckValueSize bytes) with text in the stored form of the type; returns the presence code.
    int EncodeValue(const QString &text, TdBasePxFieldType type, int decimals, QByteArray &value) const;
    bool ValCheckAppropriate(const QString &fieldName) const;

    // The editable copy.
    bool isLoaded() const { return m_loaded; }
    bool hasPrimaryIndex() const { return m_hasPrimaryIndex; }
    const QString &tableTypeName() const { return m_structure.typeName; }
    int tableLevel() const { return m_structure.level; }
    const db::TableDescription &description() const { return m_description; }

private:
    QString tablePath() const;
    bool fieldOperationAllowed();
    db::FieldEntry entryFromField() const;
    const db::FieldEntry *entryNamedExactly(const QString &fieldName) const;
    int valCheckIndex(int fieldNumber) const;
    void renumberValChecks(const std::function<int(int)> &newNumber);
    db::ValCheckEntry buildValCheck(const QString &fieldName) const;
    QString lookupPath() const;
    void applyPrimaryIndexFieldCount();
    bool markEmptyValChecksDropped();

    TFieldDesc m_field;
    TValCheckDesc m_valCheck;
    QString m_databaseName;
    QString m_tableName;
    bool m_packTable = true;
    TRefIntDesc m_refInt;
    quint16 m_primaryIndexFieldCount = 0;
    TFieldInappropriateEvent m_onFieldInappropriate;

    bool m_loaded = false;
    bool m_hasPrimaryIndex = false;
    db::TableStructure m_structure; // facts of the loaded table
    db::TableDescription m_description;
};
