#pragma once
// A small rules database made from one SQL file of tests/fixtures, opened as
// the program's rules database for the length of a test.
#include "support/RulesDb.h"
#include "frame/ModGeneral.h"
#include "platform/dao.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

class RulesFixture {
public:
    explicit RulesFixture(const char *sqlFile)
    {
        const QString path = m_dir.filePath(QStringLiteral("rules.dat"));
        testrules::Exec(path, testrules::FixtureSql(sqlFile), sqlFile);
        open(path);
    }
    // The sample rules database built beside the tests.
    RulesFixture() { open(ModGeneral::AppFolder() + QStringLiteral("/master.dat")); }

    ~RulesFixture()
    {
        ModGeneral::DbMaster.Close();
        ModGeneral::DbMaster = dao::Database();
    }
    RulesFixture(const RulesFixture &) = delete;
    RulesFixture &operator=(const RulesFixture &) = delete;

private:
    void open(const QString &path)
    {
        dao::OpenOptions options;
        options.readOnly = true;
        options.cacheRows = true;
        ModGeneral::DbMaster = dao::Workspace().OpenDatabase(path, options);
        ModGeneral::DataLanguage = 5000;
    }

    QTemporaryDir m_dir;
};
