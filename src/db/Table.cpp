#include "db/Table.h"

#include "db/DbError.h"
#include "db/TableFiles.h"

#include <QDir>
#include <QFileInfo>

namespace db {

Table::Table(Session &session) : m_session(session) {}

Table::~Table()
{
    close();
}

void Table::setDatabaseName(const QString &folder)
{
    close();
    m_folder = folder;
}

void Table::setTableName(const QString &name)
{
    close();
    m_name = name;
}

void Table::setFilter(const QString &text)
{
    m_filterText = text;
    if (isOpen())
        applyFilter();
}

void Table::setFiltered(bool on)
{
    m_filtered = on;
    if (isOpen())
        applyFilter();
}

QString Table::filePath() const
{
    return findTableFile(m_folder, m_name);
}

void Table::fail(const QString &reason) const
{
    throw DbError(QStringLiteral("Table %1: %2").arg(QDir(m_folder).filePath(m_name), reason));
}

bool Table::exists() const
{
    return !filePath().isEmpty();
}

void Table::deleteTable()
{
    close();
    deleteTableFiles(m_folder, m_name);
}

void Table::open(Access access)
{
    close();
    const QString path = filePath();
    if (path.isEmpty())
        fail(QStringLiteral("the table does not exist"));
    if (access == Access::ReadWrite && !QFileInfo(path).isWritable())
        fail(QStringLiteral("the file is read-only, it cannot be opened for update"));
    m_file = ParadoxFile::load(path);
    try {
        applyFilter();
    } catch (...) {
        m_file.reset();
        throw;
    }
    m_session.memberOpened(this);
}

void Table::close()
{
    if (!isOpen())
        return;
    m_file.reset();
    m_visible.clear();
    m_current = 0;
    cancel();
    m_session.memberClosed(this);
}

const ParadoxFile &Table::file() const
{
    if (!m_file)
        fail(QStringLiteral("the table is not open"));
    return *m_file;
}

const FieldList &Table::fields() const
{
    return file().data().fields;
}

int Table::codePage() const
{
    return file().data().codePage;
}

void Table::applyFilter()
{
    const TableData &data = file().data();
    const bool useFilter = m_filtered && !m_filterText.trimmed().isEmpty();
    const ClientFilter filter = useFilter ? ClientFilter::parse(m_filterText, data.fields) : ClientFilter();
    m_visible.clear();
    for (int row = 0; row < data.records.size(); ++row)
        if (!useFilter || filter.accepts(data.records.at(row)))
            m_visible.append(row);
    m_current = 0;
}

void Table::first()
{
    cancel();
    m_current = 0;
}

void Table::next()
{
    cancel();
    if (m_current < m_visible.size())
        ++m_current;
}

int Table::requireField(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        fail(QStringLiteral("no field %1").arg(name));
    return index;
}

QVariant Table::value(int field) const
{
    if (eof())
        return {};
    if (m_editing && m_changes.contains(field))
        return m_changes.value(field);
    return file().data().records.at(m_visible.at(m_current)).at(field);
}

QVariant Table::value(const QString &field) const
{
    return value(requireField(field));
}

bool Table::locate(const QString &field, const QVariant &value)
{
    const int index = requireField(field);
    const TableData &data = file().data();
    for (int i = 0; i < m_visible.size(); ++i) {
        if (data.records.at(m_visible.at(i)).at(index) == value) {
            cancel();
            m_current = i;
            return true;
        }
    }
    return false;
}

void Table::edit()
{
    if (eof())
        fail(QStringLiteral("there is no current record to edit"));
    m_editing = true;
    m_changes.clear();
}

void Table::setValue(const QString &field, const QVariant &value)
{
    if (!m_editing)
        fail(QStringLiteral("field %1 set outside edit mode").arg(field));
    m_changes.insert(requireField(field), value);
}

void Table::post()
{
    if (!m_editing)
        fail(QStringLiteral("post without edit"));
    m_file->updateRecord(m_visible.at(m_current), m_changes);
    cancel();
}

void Table::cancel()
{
    m_editing = false;
    m_changes.clear();
}

} // namespace db
