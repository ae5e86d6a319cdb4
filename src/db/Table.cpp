#include "db/Table.h"

#include "db/DbError.h"
#include "db/ParadoxValue.h"
#include "db/TableCache.h"
#include "db/TableFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace db {

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

Table::Table(Session &session) : m_session(session) {}

Table::~Table()
{
    close();
}

void Table::setDatabaseName(const QString &folder)
{
    close();
    m_folder = folder;
    m_indexDefs.clear();
}

void Table::setTableName(const QString &name)
{
    close();
    m_name = name;
    m_indexDefs.clear();
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

void Table::setIndexName(const QString &name)
{
    setOrder(name, QString());
}

void Table::setIndexFieldNames(const QString &fields)
{
    setOrder(QString(), fields);
}

void Table::setOrder(const QString &indexName, const QString &fieldNames)
{
    const QString oldName = std::exchange(m_indexName, indexName);
    const QString oldFields = std::exchange(m_indexFieldNames, fieldNames);
    if (!isOpen())
        return;
    try {
        applyFilter();
    } catch (...) {
        m_indexName = oldName;
        m_indexFieldNames = oldFields;
        throw;
    }
}

QString Table::filePath() const
{
    return findTableFile(m_folder, m_name);
}

QString Table::existingFilePath() const
{
    const QString path = filePath();
    if (path.isEmpty())
        fail(QStringLiteral("the table does not exist"));
    return path;
}

ParadoxFile Table::currentFile() const
{
    return isOpen() ? *m_file : ParadoxFile::load(existingFilePath());
}

QString Table::shownName() const
{
    return QDir(m_folder).filePath(m_name);
}

void Table::fail(const QString &reason) const
{
    throw DbError(QStringLiteral("Table %1: %2").arg(shownName(), reason));
}

bool Table::exists() const
{
    return !filePath().isEmpty();
}

void Table::create(const FieldList &fields, int keyFieldCount, bool replaceExisting)
{
    close();
    if (exists() && !replaceExisting)
        fail(QStringLiteral("the table already exists"));
    // The new file replaces the old one whole, or not at all; then the old one's
    // indexes and other companions go.
    writeParadoxTable(tableFilePath(m_folder, m_name), TableData{fields, keyFieldCount, 1252, {}});
    deleteCompanionFiles(m_folder, m_name);
    m_indexDefs.clear();
}

void Table::deleteTable()
{
    close();
    deleteTableFiles(m_folder, m_name);
}

void Table::open(Access access)
{
    close();
    const QString path = existingFilePath();
    if (access == Access::ReadWrite && !QFileInfo(path).isWritable())
        fail(QStringLiteral("the file is read-only, it cannot be opened for update"));
    m_file = ParadoxFile::load(path);
    try {
        refreshIndexDefs();
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

Table::Order Table::order() const
{
    if (!m_indexFieldNames.isEmpty())
        return {requireFields(fields(), m_indexFieldNames, QStringLiteral("index fields ") + m_indexFieldNames), {}};
    if (m_indexName.isEmpty())
        return {};
    const IndexDef *index = findIndex(m_indexName);
    if (!index)
        fail(QStringLiteral("no index %1").arg(m_indexName));
    return {requireFields(fields(), index->fields, QStringLiteral("index ") + index->name), index->options};
}

void Table::applyFilter()
{
    const TableData &data = file().data();
    const bool useFilter = m_filtered && !m_filterText.trimmed().isEmpty();
    const ClientFilter filter = useFilter ? ClientFilter::parse(m_filterText, data.fields) : ClientFilter();
    const Order recordOrder = order();
    QVector<int> rows;
    for (int row = 0; row < data.records.size(); ++row)
        if (!useFilter || filter.accepts(data.records.at(row)))
            rows.append(row);
    sortRows(rows, data.records, recordOrder.fields, recordOrder.options);
    m_visible = rows;
    m_current = 0;
}

void Table::refreshIndexDefs()
{
    loadIndexDefs(currentFile());
}

void Table::loadIndexDefs(const ParadoxFile &table)
{
    IndexDefs defs;
    if (const auto primary = primaryIndex(table.data().fields, table.data().keyFieldCount))
        defs.append(*primary);
    m_indexDefs = defs + readIndexFile(indexFilePath(table.path()));
}

const IndexDef *Table::findIndex(const QString &name) const
{
    for (const IndexDef &index : m_indexDefs)
        if (!index.options.testFlag(IndexOption::Primary) && sameName(index.name, name))
            return &index;
    return nullptr;
}

IndexDefs Table::secondaryIndexes() const
{
    IndexDefs secondary;
    std::copy_if(m_indexDefs.cbegin(), m_indexDefs.cend(), std::back_inserter(secondary),
                 [](const IndexDef &index) { return !index.options.testFlag(IndexOption::Primary); });
    return secondary;
}

void Table::writeIndexes(const ParadoxFile &table, const IndexDefs &secondary)
{
    writeIndexFile(indexFilePath(table.path()), secondary);
    m_indexDefs.removeIf([](const IndexDef &index) { return !index.options.testFlag(IndexOption::Primary); });
    m_indexDefs += secondary;
}

void Table::addIndex(const QString &name, const QString &fields, IndexOptions options)
{
    const ParadoxFile table = currentFile();
    loadIndexDefs(table);
    const QString what = QStringLiteral("index ") + name;
    if (name.trimmed().isEmpty())
        fail(QStringLiteral("an index needs a name"));
    if (findIndex(name))
        fail(what + QStringLiteral(" already exists"));
    if (options.testFlag(IndexOption::Primary))
        fail(what + QStringLiteral(": the primary index is made of the key fields"));
    const FieldList &tableFields = table.data().fields;
    QStringList names;
    for (int field : requireFields(tableFields, fields, what))
        names << tableFields.at(field).name;
    IndexDefs secondary = secondaryIndexes();
    secondary.append({name, names.join(QLatin1Char(';')), options});
    writeIndexes(table, secondary);
}

void Table::deleteIndex(const QString &name)
{
    const ParadoxFile table = currentFile();
    loadIndexDefs(table);
    if (!findIndex(name))
        fail(QStringLiteral("no index %1").arg(name));
    if (sameName(m_indexName, name))
        setIndexName(QString());
    IndexDefs secondary = secondaryIndexes();
    secondary.removeIf([&](const IndexDef &index) { return sameName(index.name, name); });
    writeIndexes(table, secondary);
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

QVector<int> Table::requireFields(const FieldList &fields, const QString &names, const QString &what) const
{
    QVector<int> numbers;
    for (const QString &part : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        const auto field = std::find_if(fields.cbegin(), fields.cend(),
                                        [&](const FieldDef &f) { return sameName(f.name, name); });
        if (field == fields.cend())
            fail(QStringLiteral("%1: no field %2").arg(what, name));
        numbers.append(int(field - fields.cbegin()));
    }
    if (numbers.isEmpty())
        fail(what + QStringLiteral(": no fields"));
    return numbers;
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

bool Table::moveToFirst(const std::function<bool(const QVector<QVariant> &)> &matches)
{
    const TableData &data = file().data();
    for (int i = 0; i < m_visible.size(); ++i) {
        if (matches(data.records.at(m_visible.at(i)))) {
            cancel();
            m_current = i;
            return true;
        }
    }
    return false;
}

bool Table::locate(const QString &field, const QVariant &value)
{
    const int index = requireField(field);
    return moveToFirst([&](const QVector<QVariant> &record) { return record.at(index) == value; });
}

bool Table::findKey(const QVariantList &values)
{
    const TableData &data = file().data();
    if (data.keyFieldCount == 0)
        fail(QStringLiteral("the table has no primary key"));
    if (values.isEmpty() || values.size() > data.keyFieldCount)
        fail(QStringLiteral("a key search takes 1 to %1 values, not %2").arg(data.keyFieldCount).arg(values.size()));
    QVector<QVariant> key;
    for (int i = 0; i < values.size(); ++i)
        key.append(convertValue(data.fields.at(i), values.at(i), shownName()));
    return moveToFirst(
        [&](const QVector<QVariant> &record) { return std::equal(key.cbegin(), key.cend(), record.cbegin()); });
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
    // A rewrite within the file system's clock tick may leave the file's times as they were.
    m_session.tableCache().forget(m_file->path());
    cancel();
}

void Table::cancel()
{
    m_editing = false;
    m_changes.clear();
}

} // namespace db
