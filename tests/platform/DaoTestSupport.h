#pragma once
// Builds small database files for the data-access tests.
#include "platform/Collation.h"

#include <QFile>
#include <QString>
#include <sqlite3.h>

#include <gtest/gtest.h>

namespace daotest {

// Runs the SQL text into a new file at path; FOLD is known while it runs.
inline void makeDb(const QString &path, const QByteArray &sql)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    platform::registerCollations(db);
    char *err = nullptr;
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err);
    const QString msg = err ? QString::fromUtf8(err) : QString();
    sqlite3_free(err);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << msg.toStdString();
}

inline QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(QV_FIXTURES_DIR "/") + QString::fromLatin1(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace daotest

// Expects the statement to raise vb::Error with this number.
#define EXPECT_VB_ERROR(statement, expected)                                                      \
    do {                                                                                        \
        try {                                                                                   \
            statement;                                                                          \
            ADD_FAILURE() << "no error raised, expected " << (expected);                          \
        } catch (const vb::Error &e_) {                                                         \
            EXPECT_EQ(e_.number(), (expected)) << e_.text().toStdString();                        \
        }                                                                                       \
    } while (0)
