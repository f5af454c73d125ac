#pragma once
// A character file as another program, or a damaged disk, sees it: its bytes,
// and SQL run on it with the plain engine; and saves that must be refused.
#include "CharacterFileTestSupport.h"
#include "character/Personnage.h"
#include "platform/Strings.h"
#include "support/ScriptedPorts.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace filetest {

inline void alter(const QString &file, const char *sql)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char *err = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &err), SQLITE_OK) << sql << ": " << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}

// The first value of a query, as text; a query that gives no row fails.
inline QString storedText(const QString &file, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *st = nullptr;
    QString text;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    else
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return text;
}

inline qint64 storedNumber(const QString &file, const char *sql)
{
    return storedText(file, sql).toLongLong();
}

inline QByteArray bytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString &file, const QByteArray &data)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(data), data.size());
}

// Leaves `file` as another program leaves it when it stops in the middle of a
// change: the file already holds what `sql` made, the journal beside it what
// the file held before. A journal naming `superJournal` claims that the change
// spanned several files, which the engine then goes to look for.
inline void stopMidChange(const QString &file, const char *sql, const QByteArray &superJournal = {})
{
    const QString journal = file + QStringLiteral("-journal");
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    // Unsynced, the journal is marked hot from its first page and counts its
    // pages by its size.
    EXPECT_EQ(sqlite3_exec(db, "PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    QByteArray held = bytes(journal);
    EXPECT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    ASSERT_FALSE(held.isEmpty());
    if (!superJournal.isEmpty()) {
        // Read back from the journal's end: a page number, the name, its
        // length, the sum of its bytes and the journal's mark.
        const auto be32 = [](quint32 v) {
            const char b[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
            return QByteArray(b, 4);
        };
        quint32 sum = 0;
        for (const char c : superJournal)
            sum += quint32(c);
        held += be32(0) + superJournal + be32(quint32(superJournal.size())) + be32(sum)
                + QByteArray::fromHex("d9d505f920a163d7");
    }
    writeBytes(journal, held);
}

// Leaves `file` in write-ahead mode with the change `sql` still in its log
// beside it, as a program stopped before the log was written into the file.
inline void stopMidLog(const QString &file, const char *sql)
{
    alter(file, "PRAGMA journal_mode = WAL");
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    QList<QByteArray> held;
    for (const char *side : {"-wal", "-shm"})
        held << bytes(file + QLatin1String(side));
    sqlite3_close(db);
    for (const char *side : {"-wal", "-shm"})
        writeBytes(file + QLatin1String(side), held.takeFirst());
}

// Saves `p` to `file`, expecting one box from the save with error `number`:
// its text.
inline QString refusedSave(Personnage &p, const QString &file, qint32 number)
{
    ScriptedPortsScope ui;
    p.FileName = file;
    ui->expectError("SaveP", number);
    EXPECT_FALSE(p.SaveP());
    return ui->errors().empty() ? QString() : ui->errors().front().text;
}

// Runs `body` as an unprivileged user when the tests run as the superuser,
// whom folder rights do not bind; false when no other user can be taken.
inline bool unprivileged(const std::function<void()> &body)
{
    const uid_t was = ::geteuid();
    if (was == 0 && ::seteuid(65534) != 0)
        return false;
    body();
    if (was == 0)
        EXPECT_EQ(::seteuid(0), 0);
    return true;
}

// Saves a fresh record to `file` as an unprivileged user, whom folder rights
// bind, expecting one refused save with error `number`; then gives `folder`
// back to its owner alone. The refusal's text, or none when no other user
// can be taken.
inline std::optional<QString> refusedSaveAsOther(const QString &file, qint32 number, const QString &folder)
{
    QString text;
    const bool ran = unprivileged([&] {
        Personnage p;
        text = refusedSave(p, file, number);
    });
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    return ran ? std::optional<QString>(text) : std::nullopt;
}

// The character-file groups: the built template, English words, and a
// folder of their own for the files they save.
class FileFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        useBuiltTemplate();
        Strings::setLanguage(Strings::Language::English);
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { useBuiltTemplate(); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace filetest
