#pragma once
// The rules database of the transfer tests: tests/fixtures/transfer_rules.sql
// made into a file and opened as the program's rules database, the data
// language set to French, and a scripted user installed, for one test.
#include "support/RulesDb.h"
#include "character/Personnage.h"
#include "frame/ModGeneral.h"
#include "platform/Collation.h"
#include "platform/dao.h"
#include "support/ScriptedPorts.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

class TransferRules {
public:
    explicit TransferRules(const char *sqlFile = "transfer_rules.sql")
    {
        const QString path = m_dir.filePath(QStringLiteral("rules.dat"));
        testrules::Exec(path, testrules::FixtureSql(sqlFile), sqlFile);
        m_path = path;
        reopen();
    }
    ~TransferRules()
    {
        ModGeneral::DbMaster.Close();
        ModGeneral::DbMaster = dao::Database();
        ModGeneral::DataLanguage = 0;
    }
    TransferRules(const TransferRules &) = delete;
    TransferRules &operator=(const TransferRules &) = delete;

    void reopen()
    {
        dao::OpenOptions options;
        options.readOnly = true;
        options.cacheRows = true;
        ModGeneral::DbMaster = dao::Workspace().OpenDatabase(m_path, options);
        ModGeneral::DataLanguage = 5000;
    }
    // The rules database goes away, so that every rules query fails.
    void close()
    {
        ModGeneral::DbMaster.Close();
        ModGeneral::DbMaster = dao::Database();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
