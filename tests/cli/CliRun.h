#pragma once

#include "fixtures/QuarvexFixture.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A data folder with the standard project, an empty program folder and a way
// to run the built tocrewmint-cli on them.
class CliFixture : public ::testing::Test {
protected:
    struct Result {
        int exitCode = -1;
        QString out;
        QString err;
    };

    void SetUp() override;

    // Runs "tocrewmint-cli --data <data> args...".
    Result cli(const QStringList &args) const;

    QString programFolder() const { return m_home.path(); }
    QString inbox() const { return m_home.path() + QStringLiteral("/inbox"); }
    QString projectPath() const { return m_fixture.projectPath(QStringLiteral("HILL")); }
    QString lineItemPath() const;
    // A value of the settings file.
    QString setting(const QString &section, const QString &key) const;

    QuarvexFixture m_fixture;
    QString m_data;

private:
    QTemporaryDir m_home;
};
