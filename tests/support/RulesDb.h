#pragma once
// Rules databases for tests: SQL text run into a file, and a file opened as
// the program's read-only rules database.
#include "frame/ModGeneral.h"
#include "platform/Collation.h"
#include "platform/dao.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace testrules {

// Runs `sql` on the database file at `path` (made when missing); a failure
// fails the test, naming `what`.
inline void Exec(const QString &path, const QByteArray &sql, const char *what = "sql")
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        ADD_FAILURE() << what << ": cannot open " << path.toStdString();
        sqlite3_close(db);
        return;
    }
    platform::registerCollations(db);
    char *err = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        ADD_FAILURE() << what << ": " << (err ? err : "error");
        sqlite3_free(err);
    }
    sqlite3_close(db);
}

// The SQL text of one file of tests/fixtures.
inline QByteArray FixtureSql(const char *sqlFile)
{
    QFile f(QStringLiteral(QV_FIXTURES_DIR "/") + QString::fromLatin1(sqlFile));
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read fixture " << sqlFile;
        return {};
    }
    return f.readAll();
}

// Opens `path` as the program's rules database, as start-up does.
inline void OpenAsRules(const QString &path)
{
    ModGeneral::DbMaster.Close();
    dao::OpenOptions options;
    options.readOnly = true;
    options.cacheRows = true;
    ModGeneral::DbMaster = dao::Workspace().OpenDatabase(path, options);
}

// A writable copy of the built rules at `path`, changed by `sql`, opened as
// the program's rules.
inline void OpenChangedMaster(const QString &path, const char *sql)
{
    QFile::remove(path);
    if (!QFile::copy(ModGeneral::AppFolder() + QStringLiteral("/master.dat"), path)) {
        ADD_FAILURE() << "cannot copy master.dat";
        return;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    Exec(path, sql);
    OpenAsRules(path);
}

} // namespace testrules
