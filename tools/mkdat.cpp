// Builds one SQLite data file from SQL text files, in the order given:
//   mkdat OUT.dat a.sql b.sql ...
// The file is written under a temporary name and renamed when complete, so an
// interrupted build never leaves a half-made data file behind.
//
//   mkdat --shape OUT.inc a.sql b.sql ...
// writes instead what those files make of a data file, as C++ initialiser
// text: its application id, its user version, and its tables with their
// columns in order. The program checks the files beside it against that.
//
//   mkdat --content OUT.inc a.sql b.sql ...
// writes, likewise, what those files declare of a data file's content: for
// each table the rows they fill it with, its columns' declared types, which
// may not be empty and which make its key, and the column sets that are
// declared unique (with the condition of a partial index).
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

// The SQL files run into a database in memory; null when one fails.
sqlite3 *readSql(int first, int argc, char **argv)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "mkdat: no memory\n");
        sqlite3_close(db);
        return nullptr;
    }
    platform::registerCollations(db);
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    if (!runFiles(db, first, argc, argv)) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

// An unchanged text keeps its file's date: nothing that includes it is rebuilt.
int writeIfChanged(const char *path, const QByteArray &text)
{
    const QString out = QString::fromLocal8Bit(path);
    QFile f(out);
    if (f.open(QIODevice::ReadOnly) && f.readAll() == text)
        return 0;
    f.close();
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size()) {
        std::fprintf(stderr, "mkdat: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}

int shape(int argc, char **argv)
{
    sqlite3 *db = readSql(3, argc, argv);
    if (!db)
        return 1;
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
    return writeIfChanged(argv[2], text);
}

// SQLite's own reading of a declared type: 'i' whole numbers, 't' text, 'r'
// numbers, 0 anything.
char declaredKind(QByteArray type)
{
    type = type.toUpper();
    if (type.contains("INT"))
        return 'i';
    if (type.contains("CHAR") || type.contains("CLOB") || type.contains("TEXT"))
        return 't';
    if (type.isEmpty() || type.contains("BLOB"))
        return 0;
    return 'r';
}

QByteArray kindLiteral(char kind)
{
    return kind ? "'" + QByteArray(1, kind) + "'" : QByteArray("0");
}

// Runs `sql` with its one text bound and calls `row` on each row.
template <typename Row>
void eachRow(sqlite3 *db, const char *sql, const QByteArray &bound, Row &&row)
{
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (sqlite3_bind_parameter_count(st) > 0)
        sqlite3_bind_text(st, 1, bound.constData(), int(bound.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(st) == SQLITE_ROW)
        row(st);
    sqlite3_finalize(st);
}

QByteArray columnBytes(sqlite3_stmt *st, int c)
{
    return QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
}

// One table's content as its SQL declares it.
QByteArray tableContent(sqlite3 *db, const QByteArray &table)
{
    qint64 rows = 0;
    const QByteArray quoted = "\"" + QByteArray(table).replace('"', "\"\"") + '"';
    eachRow(db, QByteArray("SELECT count(*) FROM " + quoted).constData(), {},
            [&rows](sqlite3_stmt *st) { rows = sqlite3_column_int64(st, 0); });
    QByteArrayList columns;
    QByteArrayList keys;
    char keyKind = 0;
    eachRow(db, "SELECT name, type, \"notnull\", pk FROM pragma_table_info(?1) ORDER BY cid", table,
            [&](sqlite3_stmt *st) {
                const char kind = declaredKind(columnBytes(st, 1));
                const bool key = sqlite3_column_int(st, 3) > 0;
                if (key) {
                    keys << literal(sqlite3_column_text(st, 0));
                    keyKind = kind;
                }
                columns << "{" + literal(sqlite3_column_text(st, 0)) + ", " + kindLiteral(kind) + ", "
                               + (sqlite3_column_int(st, 2) ? "true" : "false") + ", " + (key ? "true" : "false")
                               + "}";
            });
    QByteArrayList unique;
    // A lone whole-number key is the row's own number: unique, with no index.
    if (keys.size() == 1 && keyKind == 'i')
        unique << "{\"\", {" + keys.first() + "}}";
    eachRow(db,
            "SELECT l.name, coalesce(m.sql, '') FROM pragma_index_list(?1) AS l "
            "LEFT JOIN sqlite_master AS m ON m.type = 'index' AND m.name = l.name WHERE l.\"unique\" ORDER BY l.seq DESC",
            table, [&](sqlite3_stmt *st) {
                const QByteArray index = columnBytes(st, 0);
                const QByteArray sql = columnBytes(st, 1).simplified();
                const qsizetype where = sql.toUpper().lastIndexOf(" WHERE ");
                const QByteArray condition = where < 0 ? QByteArray() : sql.mid(where + 7);
                QByteArrayList names;
                eachRow(db, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno", index,
                        [&names](sqlite3_stmt *c) { names << literal(sqlite3_column_text(c, 0)); });
                unique << "{" + literal(reinterpret_cast<const unsigned char *>(condition.constData())) + ", {"
                              + names.join(", ") + "}}";
            });
    return "{" + literal(reinterpret_cast<const unsigned char *>(table.constData())) + ", "
           + QByteArray::number(rows) + ",\n {" + columns.join(", ") + "},\n {" + unique.join(", ") + "}}";
}

int content(int argc, char **argv)
{
    sqlite3 *db = readSql(3, argc, argv);
    if (!db)
        return 1;
    QByteArrayList tables;
    eachRow(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid", {},
            [&](sqlite3_stmt *st) { tables << tableContent(db, columnBytes(st, 0)); });
    sqlite3_close(db);
    return writeIfChanged(argv[2], "// Made by mkdat from the SQL the data file is built from.\n{{\n"
                                       + tables.join(",\n") + "\n}}\n");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--shape")
        return shape(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--content")
        return content(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: mkdat OUT.dat file.sql...\n       mkdat --shape OUT.inc file.sql...\n"
                             "       mkdat --content OUT.inc file.sql...\n");
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
