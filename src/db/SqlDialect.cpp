#include "db/SqlDialect.h"

#include "db/DbError.h"

#include <QSet>

namespace db {

namespace {

struct Token {
    enum Kind { Space, Word, Number, Text, Quoted, Bracket, Punct } kind = Space;
    QString text;
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Length of the quoted run starting at pos (doubled quotes stay inside); -1 when unterminated.
int quotedLength(const QString &sql, int pos, QChar close)
{
    for (int i = pos + 1; i < sql.size(); ++i) {
        if (sql[i] != close)
            continue;
        if (close != QLatin1Char(']') && i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1 - pos;
    }
    return -1;
}

int tokenLength(const QString &sql, int pos, Token::Kind &kind)
{
    const QChar c = sql[pos];
    const QStringView rest = QStringView(sql).mid(pos);
    kind = Token::Punct;
    if (c.isSpace()) {
        kind = Token::Space;
        int i = pos;
        while (i < sql.size() && sql[i].isSpace())
            ++i;
        return i - pos;
    }
    if (rest.startsWith(QLatin1String("--"))) {
        kind = Token::Space;
        const int end = sql.indexOf(QLatin1Char('\n'), pos);
        return (end < 0 ? int(sql.size()) : end) - pos;
    }
    if (rest.startsWith(QLatin1String("/*"))) {
        kind = Token::Space;
        const int end = sql.indexOf(QLatin1String("*/"), pos + 2);
        return end < 0 ? -1 : end + 2 - pos;
    }
    if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
        kind = c == QLatin1Char('\'') ? Token::Text : (c == QLatin1Char('"') ? Token::Quoted : Token::Bracket);
        return quotedLength(sql, pos, c == QLatin1Char('[') ? QLatin1Char(']') : c);
    }
    if (c.isDigit() || (c == QLatin1Char('.') && pos + 1 < sql.size() && sql[pos + 1].isDigit())) {
        kind = Token::Number;
        int i = pos;
        while (i < sql.size() && (sql[i].isDigit() || sql[i] == QLatin1Char('.')))
            ++i;
        if (i < sql.size() && sql[i].toLower() == QLatin1Char('e')) {
            int j = i + 1;
            if (j < sql.size() && (sql[j] == QLatin1Char('+') || sql[j] == QLatin1Char('-')))
                ++j;
            if (j < sql.size() && sql[j].isDigit()) {
                i = j;
                while (i < sql.size() && sql[i].isDigit())
                    ++i;
            }
        }
        return i - pos;
    }
    if (isWordChar(c) || c == QLatin1Char(':')) {
        kind = Token::Word;
        int i = pos + 1;
        while (i < sql.size() && isWordChar(sql[i]))
            ++i;
        return i - pos;
    }
    for (const char *op : {"<>", "<=", ">=", "!=", "||", "=="})
        if (rest.startsWith(QLatin1String(op)))
            return 2;
    return 1;
}

QVector<Token> tokenize(const QString &sql)
{
    QVector<Token> tokens;
    for (int pos = 0; pos < sql.size();) {
        Token token;
        const int length = tokenLength(sql, pos, token.kind);
        if (length < 0)
            throw DbError(QStringLiteral("SQL \"%1\": unterminated %2 at position %3")
                              .arg(sql, sql[pos] == QLatin1Char('/') ? QStringLiteral("comment") : QStringLiteral("quote"))
                              .arg(pos + 1));
        token.text = sql.mid(pos, length);
        tokens.append(token);
        pos += length;
    }
    return tokens;
}

QString unquote(const Token &token)
{
    if (token.kind == Token::Word)
        return token.text;
    const QString inner = token.text.mid(1, token.text.size() - 2);
    if (token.kind == Token::Bracket)
        return inner;
    const QString quote = token.text.left(1);
    return QString(inner).replace(quote + quote, quote);
}

QString sqlQuoted(const QString &text, QChar quote)
{
    return quote + QString(text).replace(quote, QString(2, quote)) + quote;
}

bool isKeyword(const Token &token, const char *word)
{
    return token.kind == Token::Word && token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token &token, const char *text)
{
    return token.kind == Token::Punct && token.text == QLatin1String(text);
}

// Words that end a table reference: they are never taken for an alias.
bool isClauseWord(const Token &token)
{
    static const QSet<QString> words = {"WHERE", "JOIN",  "INNER", "LEFT",    "RIGHT", "OUTER", "FULL",  "CROSS",
                                        "ON",    "GROUP", "ORDER", "HAVING",  "UNION", "LIMIT", "USING", "NATURAL",
                                        "AS",    "SET",   "EXCEPT", "INTERSECT"};
    return token.kind == Token::Word && words.contains(token.text.toUpper());
}

struct TableRef {
    int first = 0, last = 0; // token range of the table name
    QString name;            // as written, file name text unquoted
    QString ownName;         // name without a ".db" extension
    QString alias;           // as written; empty when none
    ResolvedTable table;

    QString effectiveAlias() const { return alias.isEmpty() ? ownName : alias; }
};

class Translator {
public:
    Translator(const QString &statement, const TableResolver &resolve)
        : m_sql(statement), m_tokens(tokenize(statement)), m_resolve(resolve)
    {
    }

    TranslatedSql run();

private:
    [[noreturn]] void fail(const QString &reason) const
    {
        throw DbError(QStringLiteral("SQL \"%1\": %2").arg(m_sql, reason));
    }
    int nextSolid(int i) const
    {
        while (i < m_tokens.size() && m_tokens[i].kind == Token::Space)
            ++i;
        return i;
    }
    int prevSolid(int i) const
    {
        while (i >= 0 && m_tokens[i].kind == Token::Space)
            --i;
        return i;
    }
    const Token &at(int i) const
    {
        static const Token none;
        return i >= 0 && i < m_tokens.size() ? m_tokens[i] : none;
    }

    void findTables();
    int readTableRef(int i);
    void matchParentheses();
    QString output() const;
    QString outputToken(int i) const;
    const TableRef *tableByQualifier(const QString &qualifier) const;
    QVector<InferredColumn> inferColumns() const;
    QVector<InferredColumn> inferItem(int first, int last) const;
    bool fieldAt(int first, int last, FieldDef &def) const;

    QString m_sql;
    QVector<Token> m_tokens;
    const TableResolver &m_resolve;
    QVector<TableRef> m_tables;
    QVector<int> m_match;         // index of the matching parenthesis, -1 elsewhere
    QSet<int> m_blankFalseOpens;  // "(" of a NOT ( ... ) whose blank result counts as false
};

TranslatedSql Translator::run()
{
    const int first = nextSolid(0);
    if (!isKeyword(at(first), "SELECT"))
        fail(QStringLiteral("only SELECT statements can be run"));
    matchParentheses();
    findTables();
    if (m_tables.isEmpty())
        fail(QStringLiteral("no table named"));
    for (TableRef &ref : m_tables)
        ref.table = m_resolve(ref.name);
    return {output(), inferColumns()};
}

void Translator::matchParentheses()
{
    m_match.fill(-1, m_tokens.size());
    QVector<int> open;
    for (int i = 0; i < m_tokens.size(); ++i) {
        if (isPunct(m_tokens[i], "(")) {
            open.append(i);
        } else if (isPunct(m_tokens[i], ")")) {
            if (open.isEmpty())
                fail(QStringLiteral("unbalanced \")\""));
            m_match[i] = open.last();
            m_match[open.takeLast()] = i;
        }
    }
    if (!open.isEmpty())
        fail(QStringLiteral("unbalanced \"(\""));
    for (int i = 0; i < m_tokens.size(); ++i)
        if (isKeyword(m_tokens[i], "NOT") && isPunct(at(nextSolid(i + 1)), "("))
            m_blankFalseOpens.insert(nextSolid(i + 1));
}

void Translator::findTables()
{
    QVector<bool> inFrom{false};
    bool expectTable = false;
    for (int i = 0; i < m_tokens.size(); ++i) {
        const Token &token = m_tokens[i];
        if (token.kind == Token::Space)
            continue;
        if (expectTable && (token.kind == Token::Quoted || token.kind == Token::Bracket ||
                            (token.kind == Token::Word && !isClauseWord(token) && !isKeyword(token, "SELECT")))) {
            expectTable = false;
            i = readTableRef(i);
            continue;
        }
        expectTable = false;
        if (isPunct(token, "(")) {
            inFrom.append(false);
        } else if (isPunct(token, ")")) {
            inFrom.removeLast();
        } else if (isKeyword(token, "FROM")) {
            inFrom.last() = true;
            expectTable = true;
        } else if (isKeyword(token, "JOIN")) {
            expectTable = true;
        } else if (isPunct(token, ",")) {
            expectTable = inFrom.last();
        } else if (isClauseWord(token)) {
            static const QSet<QString> ends = {"WHERE", "GROUP", "ORDER",  "HAVING",
                                               "UNION", "LIMIT", "EXCEPT", "INTERSECT"};
            if (ends.contains(token.text.toUpper()))
                inFrom.last() = false;
        }
    }
}

// Reads a table name (quoted, or a word with an optional ".db"-like suffix)
// and its alias; returns the index of the last token read.
int Translator::readTableRef(int i)
{
    TableRef ref;
    ref.first = i;
    ref.last = i;
    ref.name = unquote(m_tokens[i]);
    if (m_tokens[i].kind == Token::Word && isPunct(at(i + 1), ".") && at(i + 2).kind == Token::Word) {
        ref.last = i + 2;
        ref.name += QLatin1Char('.') + m_tokens[i + 2].text;
    }
    ref.ownName = ref.name;
    const int dot = ref.name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && ref.name.mid(dot).compare(QLatin1String(".db"), Qt::CaseInsensitive) == 0)
        ref.ownName = ref.name.left(dot);
    int last = ref.last;
    int next = nextSolid(last + 1);
    if (isKeyword(at(next), "AS")) {
        last = next;
        next = nextSolid(next + 1);
        if ((at(next).kind != Token::Word || isClauseWord(at(next))) && at(next).kind != Token::Quoted &&
            at(next).kind != Token::Bracket)
            fail(QStringLiteral("alias expected after AS for table \"%1\"").arg(ref.name));
    }
    if ((at(next).kind == Token::Word && !isClauseWord(at(next))) || at(next).kind == Token::Bracket ||
        (at(next).kind == Token::Quoted && isKeyword(at(last), "AS"))) {
        ref.alias = unquote(at(next));
        last = next;
    }
    m_tables.append(ref);
    return last;
}

const TableRef *Translator::tableByQualifier(const QString &qualifier) const
{
    for (const TableRef &ref : m_tables)
        if (ref.effectiveAlias().compare(qualifier, Qt::CaseInsensitive) == 0)
            return &ref;
    for (const TableRef &ref : m_tables)
        if (ref.ownName.compare(qualifier, Qt::CaseInsensitive) == 0 ||
            ref.name.compare(qualifier, Qt::CaseInsensitive) == 0)
            return &ref;
    return nullptr;
}

QString Translator::output() const
{
    QString out;
    int next = 0;
    for (const TableRef &ref : m_tables) {
        for (; next < ref.first; ++next)
            out += outputToken(next);
        out += sqlQuoted(ref.table.sqlName, QLatin1Char('"'));
        if (ref.alias.isEmpty())
            out += QStringLiteral(" AS ") + sqlQuoted(ref.ownName, QLatin1Char('"'));
        next = ref.last + 1;
    }
    for (; next < m_tokens.size(); ++next)
        out += outputToken(next);
    return out;
}

QString Translator::outputToken(int i) const
{
    const Token &token = m_tokens[i];
    const bool qualifier = isPunct(at(i + 1), ".") && !isPunct(at(i - 1), ".");
    if (qualifier && (token.kind == Token::Word || token.kind == Token::Quoted || token.kind == Token::Bracket)) {
        const TableRef *ref = tableByQualifier(unquote(token));
        if (ref && token.kind == Token::Word && ref->effectiveAlias().compare(token.text, Qt::CaseInsensitive) == 0)
            return token.text;
        if (ref)
            return sqlQuoted(ref->effectiveAlias(), QLatin1Char('"'));
    }
    if (token.kind == Token::Quoted)
        return sqlQuoted(unquote(token), QLatin1Char('\''));
    if (m_blankFalseOpens.contains(i))
        return QStringLiteral(" IFNULL((");
    if (isPunct(token, ")") && m_blankFalseOpens.contains(m_match[i]))
        return QStringLiteral("), 0)");
    return token.text;
}

QVector<InferredColumn> Translator::inferColumns() const
{
    int i = nextSolid(nextSolid(0) + 1);
    if (isKeyword(at(i), "DISTINCT") || isKeyword(at(i), "ALL"))
        i = nextSolid(i + 1);
    QVector<InferredColumn> columns;
    int itemStart = i;
    for (; i < m_tokens.size(); ++i) {
        if (isPunct(m_tokens[i], "(")) {
            i = m_match[i];
        } else if (isPunct(m_tokens[i], ",") || isKeyword(m_tokens[i], "FROM")) {
            columns += inferItem(itemStart, prevSolid(i - 1));
            itemStart = nextSolid(i + 1);
            if (isKeyword(m_tokens[i], "FROM"))
                break;
        }
    }
    return columns;
}

// A column reference from first to last ("Name", "PH.Name"): its field.
bool Translator::fieldAt(int first, int last, FieldDef &def) const
{
    const bool single = first == last && at(first).kind == Token::Word;
    const bool qualified = last == first + 2 && isPunct(at(first + 1), ".") && at(last).kind == Token::Word;
    if (!single && !qualified)
        return false;
    const QString name = at(last).text;
    for (const TableRef &ref : m_tables) {
        if (qualified && &ref != tableByQualifier(unquote(at(first))))
            continue;
        for (const FieldDef &field : ref.table.fields)
            if (field.name.compare(name, Qt::CaseInsensitive) == 0) {
                def = field;
                return true;
            }
    }
    return false;
}

QVector<InferredColumn> Translator::inferItem(int first, int last) const
{
    if (isPunct(at(last), "*")) {
        QVector<InferredColumn> all;
        const TableRef *only = last > first ? tableByQualifier(unquote(at(first))) : nullptr;
        for (const TableRef &ref : m_tables)
            if (!only || only == &ref)
                for (const FieldDef &field : ref.table.fields)
                    all.append({true, field});
        return all;
    }
    // Drop the alias: "expr AS name" or "expr name".
    const int beforeLast = prevSolid(last - 1);
    if (beforeLast >= first && isKeyword(at(beforeLast), "AS"))
        last = prevSolid(beforeLast - 1);
    else if (beforeLast >= first && at(last).kind == Token::Word &&
             (at(beforeLast).kind != Token::Punct || isPunct(at(beforeLast), ")")))
        last = beforeLast;
    InferredColumn column;
    const Token &head = at(first);
    if (first == last && (head.kind == Token::Quoted || head.kind == Token::Text)) {
        column = {true, {QString(), FieldType::Alpha, qMax(1, int(unquote(head).size()))}};
    } else if (first == last && head.kind == Token::Number) {
        const bool integer = !head.text.contains(QLatin1Char('.')) && !head.text.contains(QLatin1Char('e'), Qt::CaseInsensitive);
        column = {true, integer ? FieldDef{QString(), FieldType::Long, 4} : FieldDef{QString(), FieldType::Number, 8}};
    } else if (fieldAt(first, last, column.def)) {
        column.known = true;
    } else if (head.kind == Token::Word && isPunct(at(nextSolid(first + 1)), "(") &&
               m_match[nextSolid(first + 1)] == last) {
        const QString function = head.text.toUpper();
        int argFirst = nextSolid(nextSolid(first + 1) + 1);
        if (isKeyword(at(argFirst), "DISTINCT"))
            argFirst = nextSolid(argFirst + 1);
        FieldDef arg;
        const bool argIsField = fieldAt(argFirst, prevSolid(last - 1), arg);
        if (function == "COUNT") {
            column = {true, {QString(), FieldType::Long, 4}};
        } else if (function == "AVG") {
            column = {true, {QString(), FieldType::Number, 8}};
        } else if ((function == "MIN" || function == "MAX") && argIsField) {
            column = {true, arg};
        } else if (function == "SUM" && argIsField) {
            if (isIntegerType(arg.type))
                arg = {QString(), FieldType::Long, 4};
            else if (arg.type != FieldType::Money)
                arg = {QString(), FieldType::Number, 8};
            column = {true, arg};
        }
    }
    return {column};
}

} // namespace

TranslatedSql translateSql(const QString &statement, const TableResolver &resolve)
{
    return Translator(statement, resolve).run();
}

} // namespace db
