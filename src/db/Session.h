#pragma once

#include <QList>
#include <QString>

#include <memory>

namespace db {

class TableCache;

// A dataset that the session closes when it is closed itself: queries and
// tables register while they are open.
class SessionMember {
public:
    virtual ~SessionMember() = default;
    virtual void close() = 0;
};

// The engine's session: the shared network control folder, the private
// folder for scratch files, the open datasets and the cache of loaded tables.
class Session {
public:
    static Session &defaultSession();

    Session();
    ~Session();

    QString netFileDir() const { return m_netFileDir; }
    void setNetFileDir(const QString &folder); // DbError when the folder does not exist
    // The private folder; the system's temporary folder until one is set.
    QString privateDir() const;
    void setPrivateDir(const QString &folder); // DbError when the folder does not exist

    // True from the first dataset opened until close().
    bool active() const { return m_active; }
    // Closes every open dataset of the session.
    void close();
    // Frees the loaded tables that queries left in memory.
    void dropConnections();

    void memberOpened(SessionMember *member);
    void memberClosed(SessionMember *member);

    TableCache &tableCache();

private:
    QString m_netFileDir;
    QString m_privateDir;
    bool m_active = false;
    QList<SessionMember *> m_open;
    std::unique_ptr<TableCache> m_cache;
};

} // namespace db
