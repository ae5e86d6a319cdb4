#include "env/SessionFolders.h"

#include "db/DbError.h"
#include "db/Session.h"
#include "env/DebugLog.h"
#include "env/QuarvexRec.h"
#include "platform/Folders.h"
#include "platform/Ui.h"

namespace {
void reportFailure(const QString &shown, const QString &logged, const db::DbError &error)
{
    Ui::current().error(shown + QStringLiteral("\r\n") + error.message());
    DebugLog(logged + QStringLiteral("\r\n") + error.message());
}
} // namespace

void SetNetFileDir()
{
    db::Session &session = db::Session::defaultSession();
    const QString dataPath = QuarvexRec.DataPath;
    if (session.netFileDir().toUpper() == dataPath.toUpper())
        return;
    if (!FolderExists(dataPath))
        MakeFolder(dataPath);
    try {
        if (session.active()) {
            session.close();
            session.dropConnections();
        }
        session.setNetFileDir(dataPath);
        DebugLog(QStringLiteral("SetNetFileDir - Session.NetFileDir = ") + session.netFileDir());
    } catch (const db::DbError &error) {
        reportFailure(QStringLiteral("NetFileDir - failed"), QStringLiteral("Session.NetFileDir - failed"), error);
    }
}

void SetPrivateDir(const QString &folder)
{
    db::Session &session = db::Session::defaultSession();
    if (session.privateDir().toUpper() == folder.toUpper())
        return;
    if (!folder.isEmpty())
        MakeFolder(folder);
    const int instances = CountInstances();
    if (instances != 1) {
        DebugLog(QStringLiteral("SetStartupValues - session.privatedir not set. Instances = ") +
                 QString::number(instances));
        DebugLog(QStringLiteral("Default Session.PrivateDir = ") + session.privateDir());
        return;
    }
    try {
        session.setPrivateDir(folder);
        session.close();
        DebugLog(QStringLiteral("SetPrivateDir - Session.PrivateDir = ") + session.privateDir());
    } catch (const db::DbError &error) {
        reportFailure(QStringLiteral("PrivateDir - failed"), QStringLiteral("Session.PrivateDir - failed"), error);
    }
}
