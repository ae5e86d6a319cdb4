#pragma once

#include "db/ClientFilter.h"
#include "db/Dataset.h"
#include "db/ParadoxFile.h"
#include "db/Session.h"

#include <QHash>
#include <optional>

namespace db {

// One Paradox table of a folder, record by record: read, filter, locate, and
// edit one record at a time. A post rewrites that record alone in the file.
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

    bool exists() const;
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

    // Edit mode for the current record; setValue keeps the change until post.
    void edit();
    void setValue(const QString &field, const QVariant &value);
    void post(); // throws DbError; the record and the file stay as they were on failure
    void cancel();
    bool editing() const { return m_editing; }

private:
    QString filePath() const;
    [[noreturn]] void fail(const QString &reason) const;
    const ParadoxFile &file() const;
    int requireField(const QString &name) const;
    void applyFilter();

    Session &m_session;
    QString m_folder;
    QString m_name;
    QString m_filterText;
    bool m_filtered = false;
    std::optional<ParadoxFile> m_file;
    QVector<int> m_visible; // record numbers that pass the filter
    int m_current = 0;
    bool m_editing = false;
    QHash<int, QVariant> m_changes;
};

} // namespace db
