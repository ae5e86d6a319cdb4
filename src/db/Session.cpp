#include "db/Session.h"

#include "db/DbError.h"
#include "db/TableCache.h"

#include <QDir>
#include <QFileInfo>

namespace db {

namespace {

void requireFolder(const QString &folder, const char *what)
{
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        throw DbError(QStringLiteral("%1 \"%2\" does not exist").arg(QLatin1String(what), folder));
}

} // namespace

Session &Session::defaultSession()
{
    static Session session;
    return session;
}

Session::Session() = default;
Session::~Session() = default;

void Session::setNetFileDir(const QString &folder)
{
    requireFolder(folder, "Network control folder");
    m_netFileDir = folder;
}

QString Session::privateDir() const
{
    return m_privateDir.isEmpty() ? QDir::tempPath() : m_privateDir;
}

void Session::setPrivateDir(const QString &folder)
{
    requireFolder(folder, "Private folder");
    m_privateDir = folder;
}

void Session::close()
{
    // Closing a member unregisters it, so work on a copy.
    const QList<SessionMember *> open = m_open;
    for (SessionMember *member : open)
        member->close();
    m_open.clear();
    m_active = false;
}

void Session::dropConnections()
{
    if (m_cache)
        m_cache->clear();
}

void Session::memberOpened(SessionMember *member)
{
    if (!m_open.contains(member))
        m_open.append(member);
    m_active = true;
}

void Session::memberClosed(SessionMember *member)
{
    m_open.removeOne(member);
}

TableCache &Session::tableCache()
{
    if (!m_cache)
        m_cache = std::make_unique<TableCache>();
    return *m_cache;
}

} // namespace db
