#pragma once

#include "db/FieldType.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

namespace db {

// A row filter applied on the client side of a dataset, as in
// "(PhaseID=12) OR (PhaseID=15)" or "Link_Phs=7": comparisons (= <> < > <= >=)
// of fields and constants (numbers, 'text', "text"), AND, OR, NOT and
// parentheses. Field names compare without case. A blank value satisfies no
// comparison. An empty text accepts every row.
class ClientFilter {
public:
    // Throws DbError naming the expression and the position or field at fault.
    static ClientFilter parse(const QString &text, const FieldList &fields);

    bool accepts(const QVector<QVariant> &row) const;
    bool isEmpty() const { return !m_root; }

    struct Node;

private:
    std::shared_ptr<const Node> m_root;
};

} // namespace db
