#pragma once
// The rules database of the transfer tests: tests/fixtures/transfer_rules.sql
// made into a file and opened as the program's rules database, the data
// language set to French, and a scripted user installed, for one test.
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
        QFile f(QStringLiteral(QV_FIXTURES_DIR "/") + QString::fromLatin1(sqlFile));
        if (!f.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read fixture " << sqlFile;
            return;
        }
        sqlite3 *db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        platform::registerCollations(db);
        char *err = nullptr;
        if (sqlite3_exec(db, f.readAll().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            ADD_FAILURE() << sqlFile << ": " << (err ? err : "error");
            sqlite3_free(err);
        }
        sqlite3_close(db);
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
