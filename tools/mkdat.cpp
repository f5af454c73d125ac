// Builds one SQLite data file from SQL text files, in the order given:
//   mkdat OUT.dat a.sql b.sql ...
// The file is written under a temporary name and renamed when complete, so an
// interrupted build never leaves a half-made data file behind.
//
//   mkdat --shape OUT.inc a.sql b.sql ...
// writes instead what those files make of a data file, as C++ initialiser
// text: its application id, its user version, and its tables with their
// columns in order. The program checks the files beside it against that.
#include "platform/Collation.h"

#include <QFile>
#include <QString>
#include <sqlite3.h>

#include <cstdio>

namespace {

bool runFiles(sqlite3 *db, int first, int argc, char **argv)
{
    for (int i = first; i < argc; ++i) {
        QFile f(QString::fromLocal8Bit(argv[i]));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "mkdat: cannot read %s\n", argv[i]);
            return false;
        }
        const QByteArray sql = f.readAll();
        char *err = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::fprintf(stderr, "mkdat: %s: %s\n", argv[i], err ? err : "error");
            sqlite3_free(err);
            return false;
        }
    }
    return true;
}

QByteArray literal(const unsigned char *text)
{
    QByteArray out = "\"";
    for (const char *p = reinterpret_cast<const char *>(text); *p; ++p) {
        if (*p == '"' || *p == '\\')
            out += '\\';
        out += *p;
    }
    return out + '"';
}

int shape(int argc, char **argv)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "mkdat: no memory\n");
        return 1;
    }
    platform::registerCollations(db);
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    if (!runFiles(db, 3, argc, argv)) {
        sqlite3_close(db);
        return 1;
    }
    QByteArray text = "// Made by mkdat from the SQL the data file is built from.\n{";
    for (const char *pragma : {"PRAGMA application_id", "PRAGMA user_version"}) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, pragma, -1, &st, nullptr);
        text += QByteArray::number(sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0) + ", ";
        sqlite3_finalize(st);
    }
    text += "{\n";
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT m.name, p.name FROM sqlite_master AS m, pragma_table_info(m.name) AS p "
                       "WHERE m.type = 'table' ORDER BY m.rowid, p.cid",
                       -1, &st, nullptr);
    QByteArray table;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const QByteArray name = literal(sqlite3_column_text(st, 0));
        if (name != table) {
            text += QByteArray(table.isEmpty() ? "" : "}},\n") + "{" + name + ", {";
            table = name;
        } else {
            text += ", ";
        }
        text += literal(sqlite3_column_text(st, 1));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    text += QByteArray(table.isEmpty() ? "" : "}},\n") + "}}\n";
    const QString out = QString::fromLocal8Bit(argv[2]);
    QFile f(out);
    // An unchanged shape keeps its date: nothing that includes it is rebuilt.
    if (f.open(QIODevice::ReadOnly) && f.readAll() == text)
        return 0;
    f.close();
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size()) {
        std::fprintf(stderr, "mkdat: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--shape")
        return shape(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: mkdat OUT.dat file.sql...\n       mkdat --shape OUT.inc file.sql...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString tmp = out + ".tmp";
    QFile::remove(tmp);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(tmp.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "mkdat: cannot create %s\n", qPrintable(tmp));
        return 1;
    }
    platform::registerCollations(db);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;", nullptr, nullptr, nullptr);
    if (!runFiles(db, 2, argc, argv)) {
        sqlite3_close(db);
        QFile::remove(tmp);
        return 1;
    }
    if (sqlite3_exec(db, "COMMIT; VACUUM;", nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "mkdat: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        QFile::remove(tmp);
        return 1;
    }
    sqlite3_close(db);
    QFile::remove(out);
    if (!QFile::rename(tmp, out)) {
        std::fprintf(stderr, "mkdat: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
