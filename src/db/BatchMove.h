#pragma once

#include <QString>

namespace db {

class Dataset;

// Moves the (filtered) rows of a dataset into a Paradox table.
// Copy creates the table, or replaces it, with the source's columns, names and
// types; Append adds the rows to an existing table column by column in order,
// converting each value to the destination field's type.
class BatchMove {
public:
    enum class Mode { Copy, Append };

    explicit BatchMove(const QString &name = QStringLiteral("BatchMove")) : m_name(name) {}

    void setSource(Dataset *source) { m_source = source; }
    void setDestination(const QString &folder, const QString &table);
    void setMode(Mode mode) { m_mode = mode; }

    // Returns the number of rows moved; throws DbError, leaving the destination as it was.
    int execute();

private:
    int copy();
    int append();

    QString m_name;
    Dataset *m_source = nullptr;
    QString m_folder;
    QString m_table;
    Mode m_mode = Mode::Append;
};

} // namespace db
