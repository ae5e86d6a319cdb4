#include "db/ClientFilter.h"

#include "db/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace db {

namespace {

enum class CompareOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

struct Operand {
    int field = -1; // index into the row, or -1 for a constant
    QVariant constant;
    QString literal; // the constant as written
};

struct Token {
    enum Kind { End, Name, Number, Text, Op, Open, Close } kind = End;
    QString text;
    int position = 0; // 1-based column in the expression
};

bool isNumberValue(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

int compareValues(const QVariant &a, const QVariant &b)
{
    if (isNumberValue(a) && isNumberValue(b)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate)
        return a.toDate() < b.toDate() ? -1 : (a.toDate() > b.toDate() ? 1 : 0);
    if (a.typeId() == QMetaType::QTime && b.typeId() == QMetaType::QTime)
        return a.toTime() < b.toTime() ? -1 : (a.toTime() > b.toTime() ? 1 : 0);
    if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime)
        return a.toDateTime() < b.toDateTime() ? -1 : (a.toDateTime() > b.toDateTime() ? 1 : 0);
    return a.toString().compare(b.toString());
}

bool holds(CompareOp op, int order)
{
    switch (op) {
    case CompareOp::Equal: return order == 0;
    case CompareOp::NotEqual: return order != 0;
    case CompareOp::Less: return order < 0;
    case CompareOp::Greater: return order > 0;
    case CompareOp::LessEqual: return order <= 0;
    case CompareOp::GreaterEqual: return order >= 0;
    }
    return false;
}

} // namespace

struct ClientFilter::Node {
    enum Kind { Or, And, Not, Compare } kind = Compare;
    std::shared_ptr<const Node> left, right; // Not uses left only
    CompareOp op = CompareOp::Equal;
    Operand a, b;

    bool eval(const QVector<QVariant> &row) const
    {
        switch (kind) {
        case Or: return left->eval(row) || right->eval(row);
        case And: return left->eval(row) && right->eval(row);
        case Not: return !left->eval(row);
        case Compare: break;
        }
        const QVariant x = a.field >= 0 ? row.value(a.field) : a.constant;
        const QVariant y = b.field >= 0 ? row.value(b.field) : b.constant;
        if (x.isNull() || y.isNull())
            return false;
        return holds(op, compareValues(x, y));
    }
};

namespace {

using NodePtr = std::shared_ptr<const ClientFilter::Node>;

class Parser {
public:
    Parser(const QString &text, const FieldList &fields) : m_text(text), m_fields(fields) { advance(); }

    NodePtr parseAll()
    {
        NodePtr root = parseOr();
        if (m_token.kind != Token::End)
            fail(QStringLiteral("unexpected \"%1\"").arg(m_token.text));
        return root;
    }

private:
    [[noreturn]] void fail(const QString &what) const
    {
        throw DbError(QStringLiteral("Filter \"%1\": %2 at position %3").arg(m_text, what).arg(m_token.position));
    }

    bool isKeyword(const char *word) const
    {
        return m_token.kind == Token::Name && m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    void advance();
    NodePtr parseOr();
    NodePtr parseAnd();
    NodePtr parseNot();
    NodePtr parsePrimary();
    Operand parseOperand();
    void convertConstant(Operand &constant, const Operand &field) const;

    static NodePtr join(ClientFilter::Node::Kind kind, NodePtr left, NodePtr right)
    {
        auto node = std::make_shared<ClientFilter::Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    QString m_text;
    const FieldList &m_fields;
    int m_pos = 0;
    Token m_token;
};

void Parser::advance()
{
    while (m_pos < m_text.size() && m_text[m_pos].isSpace())
        ++m_pos;
    m_token = Token();
    m_token.position = m_pos + 1;
    if (m_pos >= m_text.size())
        return;
    const int start = m_pos;
    const QChar c = m_text[m_pos];
    if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
        m_token.kind = c == QLatin1Char('(') ? Token::Open : Token::Close;
        m_token.text = c;
        ++m_pos;
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        const int end = m_text.indexOf(c, m_pos + 1);
        if (end < 0)
            fail(QStringLiteral("unterminated text"));
        m_token.kind = Token::Text;
        m_token.text = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = end + 1;
    } else if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-')) {
        ++m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos].isDigit() || m_text[m_pos] == QLatin1Char('.')))
            ++m_pos;
        m_token.kind = Token::Number;
        m_token.text = m_text.mid(start, m_pos - start);
    } else if (c.isLetter() || c == QLatin1Char('_')) {
        while (m_pos < m_text.size() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')))
            ++m_pos;
        m_token.kind = Token::Name;
        m_token.text = m_text.mid(start, m_pos - start);
    } else if (QStringLiteral("=<>").contains(c)) {
        ++m_pos;
        if (m_pos < m_text.size() && c != QLatin1Char('=') &&
            (m_text[m_pos] == QLatin1Char('=') || (c == QLatin1Char('<') && m_text[m_pos] == QLatin1Char('>'))))
            ++m_pos;
        m_token.kind = Token::Op;
        m_token.text = m_text.mid(start, m_pos - start);
    } else {
        fail(QStringLiteral("unexpected character \"%1\"").arg(c));
    }
}

NodePtr Parser::parseOr()
{
    NodePtr node = parseAnd();
    while (isKeyword("OR")) {
        advance();
        node = join(ClientFilter::Node::Or, node, parseAnd());
    }
    return node;
}

NodePtr Parser::parseAnd()
{
    NodePtr node = parseNot();
    while (isKeyword("AND")) {
        advance();
        node = join(ClientFilter::Node::And, node, parseNot());
    }
    return node;
}

NodePtr Parser::parseNot()
{
    if (!isKeyword("NOT"))
        return parsePrimary();
    advance();
    return join(ClientFilter::Node::Not, parseNot(), nullptr);
}

NodePtr Parser::parsePrimary()
{
    if (m_token.kind == Token::Open) {
        advance();
        NodePtr inner = parseOr();
        if (m_token.kind != Token::Close)
            fail(QStringLiteral("\")\" expected"));
        advance();
        return inner;
    }
    auto node = std::make_shared<ClientFilter::Node>();
    node->a = parseOperand();
    static const QStringList ops = {"=", "<>", "<", ">", "<=", ">="};
    const int op = m_token.kind == Token::Op ? int(ops.indexOf(m_token.text)) : -1;
    if (op < 0)
        fail(QStringLiteral("comparison operator expected"));
    node->op = CompareOp(op);
    advance();
    node->b = parseOperand();
    if (node->a.field >= 0 && node->b.field < 0)
        convertConstant(node->b, node->a);
    else if (node->b.field >= 0 && node->a.field < 0)
        convertConstant(node->a, node->b);
    return node;
}

Operand Parser::parseOperand()
{
    Operand operand;
    operand.literal = m_token.text;
    switch (m_token.kind) {
    case Token::Name:
        for (int i = 0; i < m_fields.size() && operand.field < 0; ++i)
            if (m_fields[i].name.compare(m_token.text, Qt::CaseInsensitive) == 0)
                operand.field = i;
        if (operand.field < 0)
            fail(QStringLiteral("unknown field \"%1\"").arg(m_token.text));
        break;
    case Token::Number: {
        bool ok = false;
        const double value = m_token.text.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("bad number \"%1\"").arg(m_token.text));
        operand.constant = value;
        break;
    }
    case Token::Text:
        operand.constant = m_token.text;
        break;
    default:
        fail(QStringLiteral("field name or value expected"));
    }
    advance();
    return operand;
}

// Gives a constant the type of the field it is compared with, so that
// "Modified > '2024-05-01'" compares dates and "Name = 12" compares text.
void Parser::convertConstant(Operand &constant, const Operand &field) const
{
    const FieldDef &def = m_fields[field.field];
    const QString &text = constant.literal;
    bool ok = true;
    QVariant value = text;
    if (def.type == FieldType::Logical && (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                                           text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)) {
        value = text.size() == 4;
    } else if (isNumeric(def.type) || def.type == FieldType::Logical) {
        value = text.toDouble(&ok);
    } else if (def.type == FieldType::Date) {
        value = QDate::fromString(text, Qt::ISODate);
        ok = value.toDate().isValid();
    } else if (def.type == FieldType::Time) {
        value = QTime::fromString(text, Qt::ISODateWithMs);
        ok = value.toTime().isValid();
    } else if (def.type == FieldType::Timestamp) {
        value = QDateTime::fromString(text, Qt::ISODateWithMs);
        ok = value.toDateTime().isValid();
    }
    if (!ok)
        throw DbError(QStringLiteral("Filter \"%1\": value \"%2\" does not fit field \"%3\" of type %4")
                          .arg(m_text, text, def.name, fieldTypeName(def.type)));
    constant.constant = value;
}

} // namespace

ClientFilter ClientFilter::parse(const QString &text, const FieldList &fields)
{
    ClientFilter filter;
    if (!text.trimmed().isEmpty())
        filter.m_root = Parser(text, fields).parseAll();
    return filter;
}

bool ClientFilter::accepts(const QVector<QVariant> &row) const
{
    return !m_root || m_root->eval(row);
}

} // namespace db
