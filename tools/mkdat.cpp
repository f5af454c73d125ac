// Builds one SQLite data file from SQL text files, in the order given:
//   mkdat OUT.dat a.sql b.sql ...
// The file is written under a temporary name and renamed when complete, so an
// interrupted build never leaves a half-made data file behind.
#include "platform/Collation.h"

#include <QFile>
#include <QString>
#include <sqlite3.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: mkdat OUT.dat file.sql...\n");
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
    for (int i = 2; i < argc; ++i) {
        QFile f(QString::fromLocal8Bit(argv[i]));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "mkdat: cannot read %s\n", argv[i]);
            sqlite3_close(db);
            QFile::remove(tmp);
            return 1;
        }
        const QByteArray sql = f.readAll();
        char *err = nullptr;
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::fprintf(stderr, "mkdat: %s: %s\n", argv[i], err ? err : "error");
            sqlite3_free(err);
            sqlite3_close(db);
            QFile::remove(tmp);
            return 1;
        }
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
