#pragma once

#include <QString>

#include <stdexcept>

namespace db {

// An engine failure. The message names the file, table, column or statement
// and the reason, ready to be shown to the user.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

} // namespace db
