#pragma once

#include "db/ClientFilter.h"
#include "db/Dataset.h"
#include "db/ParadoxFile.h"
#include "db/Session.h"
#include "db/TableIndex.h"

#include <QHash>

#include <functional>
#include <optional>

namespace db {

// One Paradox table of a folder, record by record: read, filter, order by an index,
// locate, and edit one record at a time. A post rewrites that record alone in the file.
class Table : public Dataset, public SessionMember {
public:
    explicit Table(Session &session = Session::defaultSession());
    ~Table() override;
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    // Changing the folder or the name closes the table.
    void setDatabaseName(const QString &folder);
    const QString &databaseName() const { return m_folder; }
    void setTableName(const QString &name);
    const QString &tableName() const { return m_name; }

    // The filter takes effect at the next open, and at once on an open table.
    void setFilter(const QString &text);
    void setFiltered(bool on);

    // The order of the records: an index by name, or field names separated by ";" in
    // ascending order; setting one clears the other, and with neither the records come in
    // file order. It takes effect at once on an open table, else at the next open; an
    // unknown index or field is a DbError naming it, and an open table keeps its order.
    // Index names compare without case; the primary index's order is had by its fields.
    void setIndexName(const QString &name);
    const QString &indexName() const { return m_indexName; }
    void setIndexFieldNames(const QString &fields);
    const QString &indexFieldNames() const { return m_indexFieldNames; }

    // The primary index first, named "" with the options Primary and Unique, then the
    // secondary indexes of our index file. Read at open and on refresh, open or not.
    const IndexDefs &indexDefs() const { return m_indexDefs; }
    void refreshIndexDefs(); // throws DbError
    // Secondary indexes, stored in our index file. Throw DbError naming the table and index.
    void addIndex(const QString &name, const QString &fields, IndexOptions options);
    void deleteIndex(const QString &name);

    // The engine driver's type name.
    QString driverName() const { return QStringLiteral("PARADOX"); }

    bool exists() const;
    // Makes a new empty table; an existing one is replaced, with its companion files, only
    // when asked. Closes the table first. Throws DbError.
    void create(const FieldList &fields, int keyFieldCount, bool replaceExisting = false);
    // Removes the table with its companion files; closes it first. Throws DbError.
    void deleteTable();

    enum class Access { ReadOnly, ReadWrite };
    // Throws DbError naming the table: missing, damaged, or not writable when asked for ReadWrite.
    void open(Access access = Access::ReadWrite);
    void close() override;
    bool isOpen() const { return m_file.has_value(); }

    const FieldList &fields() const override;
    int recordCount() const override { return int(m_visible.size()); }
    void first() override;
    void next() override;
    bool eof() const override { return m_current >= m_visible.size(); }
    QVariant value(int field) const override;
    int codePage() const override;
    QVariant value(const QString &field) const; // DbError for an unknown field

    // Moves to the first visible record whose field equals the value; false (and no move) when none does.
    bool locate(const QString &field, const QVariant &value);
    // The same on the primary key: the values are those of its leading fields. Throws DbError
    // when the table has no key, gets more values than key fields, or a value does not fit.
    bool findKey(const QVariantList &values);

    // Edit mode for the current record; setValue keeps the change until post.
    void edit();
    void setValue(const QString &field, const QVariant &value);
    void post(); // throws DbError; the record and the file stay as they were on failure
    void cancel();
    bool editing() const { return m_editing; }

private:
    QString filePath() const;
    QString shownName() const; // the table as errors name it
    [[noreturn]] void fail(const QString &reason) const;
    const ParadoxFile &file() const;
    QString existingFilePath() const; // DbError when the table does not exist
    ParadoxFile currentFile() const;  // the open file, else the file read for the moment
    int requireField(const QString &name) const;
    // Field numbers of ";"-separated names; a DbError names what and the unknown field.
    QVector<int> requireFields(const FieldList &fields, const QString &names, const QString &what) const;

    struct Order {
        QVector<int> fields;
        IndexOptions options;
    };
    Order order() const;
    void applyFilter(); // filter and order; the rows stay as they were when it throws
    void setOrder(const QString &indexName, const QString &fieldNames);

    const IndexDef *findIndex(const QString &name) const; // a secondary index by name, or null
    void loadIndexDefs(const ParadoxFile &table);
    IndexDefs secondaryIndexes() const;
    void writeIndexes(const ParadoxFile &table, const IndexDefs &secondary);

    bool moveToFirst(const std::function<bool(const QVector<QVariant> &)> &matches);

    Session &m_session;
    QString m_folder;
    QString m_name;
    QString m_filterText;
    bool m_filtered = false;
    QString m_indexName;
    QString m_indexFieldNames;
    IndexDefs m_indexDefs;
    std::optional<ParadoxFile> m_file;
    QVector<int> m_visible; // record numbers that pass the filter, in the chosen order
    int m_current = 0;
    bool m_editing = false;
    QHash<int, QVariant> m_changes;
};

} // namespace db
