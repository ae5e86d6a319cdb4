#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// Sets or clears environment variables for the lifetime of the object and
// restores their old values afterwards.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;
    ~ScopedEnv()
    {
        for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it) {
            if (it->second.isNull())
                qunsetenv(it->first.constData());
            else
                qputenv(it->first.constData(), it->second);
        }
    }

    // An empty value clears the variable.
    void set(const char *name, const QString &value)
    {
        m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }

private:
    QList<QPair<QByteArray, QByteArray>> m_saved;
};
