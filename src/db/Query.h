#pragma once

#include "db/ClientFilter.h"
#include "db/Dataset.h"
#include "db/Session.h"

#include <QPair>
#include <QStringList>
#include <QVector>

namespace db {

// A read-only local SQL query over the Paradox tables of one folder. Opening
// it runs the statement and keeps the result rows; a client filter, when
// switched on, hides the rows it does not accept.
class Query : public Dataset, public SessionMember {
public:
    using Parameters = QVector<QPair<QString, QVariant>>; // names without the ":"

    explicit Query(Session &session = Session::defaultSession());
    ~Query() override;
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    // Changing the folder or the statement closes the query.
    void setDatabaseName(const QString &folder);
    const QString &databaseName() const { return m_folder; }
    void setSql(const QStringList &lines);
    const QStringList &sql() const { return m_sql; }
    void setParameter(const QString &name, const QVariant &value);
    void setParameters(const Parameters &parameters) { m_parameters = parameters; }
    const Parameters &parameters() const { return m_parameters; }

    // The filter takes effect at once on an open query.
    void setFilter(const QString &text);
    const QString &filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // Columns the result must have, with these types (and alpha sizes);
    // opening fails otherwise. Further columns are allowed.
    void requireFields(const FieldList &fields) { m_required = fields; }

    void open(); // throws DbError naming the statement and the reason
    void close() override;
    bool isOpen() const { return m_open; }

    const FieldList &fields() const override { return m_fields; }
    int recordCount() const override { return int(m_visible.size()); }
    void first() override { m_current = 0; }
    void next() override;
    bool eof() const override { return m_current >= m_visible.size(); }
    QVariant value(int field) const override { return valueAt(m_current, field); }
    int codePage() const override { return m_codePage; }

    QVariant value(const QString &field) const; // DbError for an unknown field
    int recNo() const { return m_current; }     // 0-based among the visible rows
    void moveTo(int row);
    QVariant valueAt(int row, int field) const;
    // Moves to the first visible row whose field equals the value; false (and no move) when none does.
    bool locate(const QString &field, const QVariant &value, Qt::CaseSensitivity cs = Qt::CaseSensitive);

private:
    QString statement() const { return m_sql.join(QLatin1Char('\n')); }
    [[noreturn]] void fail(const QString &reason) const;
    void run();
    void checkRequiredFields() const;
    void applyFilter();

    Session &m_session;
    QString m_folder;
    QStringList m_sql;
    Parameters m_parameters;
    QString m_filterText;
    bool m_filtered = false;
    FieldList m_required;

    bool m_open = false;
    FieldList m_fields;
    int m_codePage = 1252;
    QVector<QVector<QVariant>> m_rows;
    QVector<int> m_visible; // indexes into m_rows that pass the filter
    int m_current = 0;
};

} // namespace db
