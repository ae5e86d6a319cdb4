#include "cli/CliRun.h"

#include "platform/IniFile.h"

#include <QProcess>

void CliFixture::SetUp()
{
    m_fixture.standardProject();
    m_data = m_fixture.write();
}

CliFixture::Result CliFixture::cli(const QStringList &args) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TOCREWMINT_HOME"), m_home.path());
    env.insert(QStringLiteral("HOME"), m_home.path()); // no registry file of the user's
    env.remove(QStringLiteral("WINEPREFIX"));
    env.remove(QStringLiteral("QUARVEX_REGISTRY"));
    env.insert(QStringLiteral("Temp"), m_home.path() + QStringLiteral("/tmp"));
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("TOCREWMINT_BUILD_DIR") + QStringLiteral("/src/cli/tocrewmint-cli"),
                  QStringList{QStringLiteral("--data"), m_data} + args);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QString CliFixture::lineItemPath() const
{
    return projectPath() + QLatin1Char('/') + QuarvexFixture::lineItemFile;
}

QString CliFixture::setting(const QString &section, const QString &key) const
{
    return IniFile(m_home.path() + QStringLiteral("/ToCrewmint.INI")).readString(section, key, QStringLiteral("<none>"));
}
