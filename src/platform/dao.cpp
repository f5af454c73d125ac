#include "platform/dao.h"

#include "platform/Collation.h"
#include "platform/SqlDialect.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QUrl>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace dao {

// ------------------------------------------------------------------ errors
namespace {

// The standard texts of these numbers live with all the others (vb::ErrorText).
[[noreturn]] void raise(int number)
{
    throw vb::Error(number);
}

constexpr int kObjectNotSet = 91;
constexpr int kInvalidArgument = 3001;
constexpr int kDuplicate = 3022;
constexpr int kDiskFull = 3026;
constexpr int kBadPath = 3044;
constexpr int kDamaged = 3049;
constexpr int kTooFewParameters = 3061;
constexpr int kBadCriteria = 3070;
constexpr int kAmbiguous = 3079;
constexpr int kDatabaseExists = 3204;
constexpr int kNullField = 3314;
constexpr int kObjectInvalid = 3420;

// The engine's number for what SQLite reported.
[[noreturn]] void raiseSqlite(sqlite3 *db, int rc)
{
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    switch (rc & 0xff) {
    case SQLITE_READONLY:
        raise(vb::ErrReadOnly);
    case SQLITE_CONSTRAINT:
        raise(rc == SQLITE_CONSTRAINT_NOTNULL ? kNullField : kDuplicate);
    case SQLITE_CORRUPT:
        raise(kDamaged);
    case SQLITE_NOTADB:
        raise(vb::ErrNotADatabase);
    case SQLITE_FULL:
        raise(kDiskFull);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        raise(vb::ErrFileInUse);
    case SQLITE_NOMEM:
        raise(vb::ErrOutOfMemory);
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_TOOBIG:
        raise(vb::ErrIo);
    default:
        break;
    }
    if (!db)
        raise(vb::ErrIo);
    if (msg.startsWith(QLatin1String("no such table")))
        raise(vb::ErrTableNotFound);
    if (msg.startsWith(QLatin1String("no such column")))
        raise(kTooFewParameters);
    if (msg.startsWith(QLatin1String("ambiguous column")))
        raise(kAmbiguous);
    raise(vb::ErrSyntax);
}

// ------------------------------------------------------------------ rows

QVariant columnValue(sqlite3_stmt *st, int c)
{
    switch (sqlite3_column_type(st, c)) {
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(st, c);
        if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
            return QVariant(int(v));
        return QVariant(v);
    }
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, c));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                          sqlite3_column_bytes(st, c)));
    case SQLITE_BLOB: {
        const void *p = sqlite3_column_blob(st, c);
        return QVariant(QByteArray(static_cast<const char *>(p), sqlite3_column_bytes(st, c)));
    }
    default:
        return QVariant();
    }
}

struct Statement {
    sqlite3_stmt *st = nullptr;
    ~Statement() { sqlite3_finalize(st); }
};

int prepare(sqlite3 *db, const QString &sql, Statement &s)
{
    const QByteArray utf8 = sql.toUtf8();
    return sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &s.st, nullptr);
}

void bindValue(sqlite3_stmt *st, int i, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        // Stored yes/no values are -1 / 0.
        sqlite3_bind_int64(st, i, v.toBool() ? -1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(st, i, v.toLongLong());
        return;
    case QMetaType::Float:
    case QMetaType::Double:
        sqlite3_bind_double(st, i, v.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob64(st, i, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text64(st, i, t.constData(), sqlite3_uint64(t.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

QString lowerKey(QStringView name)
{
    // "[Table].[Column]" and "Table.Column" name the same field.
    QString k;
    k.reserve(name.size());
    for (QChar c : name)
        if (c != u'[' && c != u']')
            k += c;
    return k.trimmed().toLower();
}

} // namespace

// Where each value of one column sits, for equality searches in rows that
// never change. Only whole numbers and plain ASCII texts (lower-cased) are
// keyed: for them "equal" is certain from the key alone. Fractions and texts
// with other letters are listed apart and always given the full comparison,
// since a number's text or a letter outside ASCII can equal a literal without
// sharing its spelling (the Kelvin sign folds onto "k").
struct ValueIndex {
    QHash<qint64, std::vector<int>> whole;
    QHash<QString, std::vector<int>> text;
    std::vector<int> other;
};

struct Search;

// The materialised result of one source: never changed once shared.
struct RowSet {
    QStringList names;
    QHash<QString, int> exact; // names as stored: the spelling callers nearly always use
    QHash<QString, int> index; // lower-case "column" and "table.column" -> first such column
    std::vector<QVariant> cells; // row-major
    int columns = 0;
    int rows = 0;
    // Kept by the database's cache: the rows stay as they are, so value
    // indexes built on them stay true.
    bool cached = false;
    mutable std::vector<std::shared_ptr<const ValueIndex>> valueIndexes; // by column, built on first search
    mutable QHash<QString, std::shared_ptr<const Search>> searches;     // by criteria text

    int column(const QString &name) const
    {
        if (auto e = exact.constFind(name); e != exact.cend())
            return *e;
        auto it = index.constFind(name.toLower());
        if (it != index.cend())
            return *it;
        it = index.constFind(lowerKey(name));
        return it == index.cend() ? -1 : *it;
    }
    const QVariant &cell(int r, int c) const { return cells[size_t(r) * size_t(columns) + size_t(c)]; }
};

namespace {

std::shared_ptr<RowSet> readRows(sqlite3 *db, Statement &s)
{
    auto rs = std::make_shared<RowSet>();
    sqlite3_stmt *st = s.st;
    rs->columns = sqlite3_column_count(st);
    for (int c = 0; c < rs->columns; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(st, c));
        rs->names << name;
        rs->index.insert(name.toLower(), c); // later duplicates are overwritten below
        if (const char *table = sqlite3_column_table_name(st, c))
            rs->index.insert(QString::fromUtf8(table).toLower() + u'.' + QString::fromUtf8(sqlite3_column_origin_name(st, c)).toLower(), c);
    }
    // The first of two same-named columns wins, as a plain name reads it.
    for (int c = rs->columns - 1; c >= 0; --c) {
        rs->index.insert(rs->names[c].toLower(), c);
        rs->exact.insert(rs->names[c], c);
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int c = 0; c < rs->columns; ++c)
            rs->cells.push_back(columnValue(st, c));
        ++rs->rows;
    }
    if (rc != SQLITE_DONE)
        raiseSqlite(db, sqlite3_errcode(db));
    return rs;
}

} // namespace

// ------------------------------------------------------------------ database

struct Database::Impl {
    sqlite3 *db = nullptr;
    QString path;
    bool readOnly = false;
    bool cacheRows = false;
    // The rows of a source text, and the table it names when it is a bare name.
    struct Cached {
        std::shared_ptr<const RowSet> rows;
        QString table;
    };
    QHash<QString, Cached> cache;
    // Rows added one Update at a time are gathered in one transaction that
    // Close commits: a sync per row would make a save take seconds. Whoever
    // needs the file whole writes it beside the target and renames it.
    bool pendingRows = false;

    ~Impl()
    {
        commitRows();
        close();
    }
    void beginRows()
    {
        if (!pendingRows && sqlite3_get_autocommit(db)) {
            if (const int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr); rc != SQLITE_OK)
                raiseSqlite(db, rc);
            pendingRows = true;
        }
    }
    // Returns the SQLite code of the commit.
    int commitRows()
    {
        if (!pendingRows || !db)
            return SQLITE_OK;
        pendingRows = false;
        if (sqlite3_get_autocommit(db))
            return SQLITE_OK; // an I/O error already rolled it back
        const int rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return rc;
    }
    void close()
    {
        cache.clear();
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
    }
    sqlite3 *handle() const
    {
        if (!db)
            raise(kObjectNotSet);
        return db;
    }
    // The stored name of a table, whatever the letter case the caller used.
    QString tableName(const QString &name) const
    {
        Statement s;
        if (prepare(handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE"), s) != SQLITE_OK)
            raiseSqlite(db, sqlite3_errcode(db));
        const QByteArray n = name.toUtf8();
        sqlite3_bind_text(s.st, 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(s.st);
        if (rc == SQLITE_ROW)
            return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.st, 0)));
        if (rc != SQLITE_DONE)
            raiseSqlite(db, rc);
        raise(vb::ErrTableNotFound);
    }
};

struct Recordset::Impl {
    std::shared_ptr<Database::Impl> db;
    std::shared_ptr<const RowSet> rows;
    QString table; // set when the source is a bare table: rows can be added
    int pos = 0;
    bool noMatch = false;
    bool editing = false;
    QHash<int, QVariant> buffer;

    const RowSet &set() const { return *rows; }
};

bool Database::isOpen() const { return d && d->db; }
QString Database::Name() const { return d ? d->path : QString(); }
sqlite3 *Database::handle() const { return d ? d->db : nullptr; }

void Database::Close()
{
    if (!d)
        return;
    const int rc = d->commitRows();
    d->close();
    if (rc != SQLITE_OK)
        raiseSqlite(nullptr, rc); // the rows were not written: say so
}

Recordset Database::OpenRecordset(const QString &source, int type)
{
    if (!d)
        raise(kObjectNotSet);
    sqlite3 *db = d->handle();
    if (type != dbOpenTable && type != dbOpenDynaset && type != dbOpenSnapshot && type != 8 && type != 16)
        raise(kInvalidArgument);
    Recordset r;
    r.d = std::make_shared<Recordset::Impl>();
    r.d->db = d;
    if (d->cacheRows) {
        if (auto it = d->cache.constFind(source); it != d->cache.cend()) {
            r.d->rows = it->rows;
            r.d->table = it->table;
            return r;
        }
    }
    const bool isSql = isSqlText(source);
    Statement s;
    if (isSql) {
        const QString sql = adaptSql(source);
        const QString ordered = withStoredOrder(sql);
        if (ordered == sql || prepare(db, ordered, s) != SQLITE_OK) {
            sqlite3_finalize(s.st);
            s.st = nullptr;
            if (prepare(db, sql, s) != SQLITE_OK)
                raiseSqlite(db, sqlite3_errcode(db));
        }
    } else {
        const QString name = bareTableName(source);
        if (name.isEmpty())
            raise(vb::ErrTableNotFound);
        r.d->table = d->tableName(name);
        QString quoted = r.d->table;
        quoted.replace(u'"', QStringLiteral("\"\""));
        quoted = u'"' + quoted + u'"';
        if (prepare(db, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(quoted), s) != SQLITE_OK) {
            sqlite3_finalize(s.st);
            s.st = nullptr;
            if (prepare(db, QStringLiteral("SELECT * FROM %1").arg(quoted), s) != SQLITE_OK)
                raiseSqlite(db, sqlite3_errcode(db));
        }
    }
    std::shared_ptr<RowSet> rows = readRows(db, s);
    rows->cached = d->cacheRows;
    r.d->rows = std::move(rows);
    if (d->cacheRows)
        d->cache.insert(source, {r.d->rows, isSql ? QString() : bareTableName(source)});
    return r;
}

void Database::Execute(const QString &sql)
{
    if (!d)
        raise(kObjectNotSet);
    sqlite3 *db = d->handle();
    if (const int rc = d->commitRows(); rc != SQLITE_OK)
        raiseSqlite(db, rc);
    const QByteArray utf8 = sql.toUtf8();
    const char *p = utf8.constData();
    const char *end = p + utf8.size();
    while (p < end) {
        sqlite3_stmt *st = nullptr;
        const char *tail = nullptr;
        if (int rc = sqlite3_prepare_v2(db, p, int(end - p), &st, &tail); rc != SQLITE_OK)
            raiseSqlite(db, rc);
        if (!st)
            break; // only blanks or comments left
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            raiseSqlite(db, rc);
        p = tail;
    }
    d->cache.clear();
}

// ------------------------------------------------------------------ opening

namespace {

constexpr char kHeader[] = "SQLite format 3";

// A file opened only to be read is taken as it lies: no lock, and no journal
// or write-ahead log looked for or made beside it (one left in write-ahead
// mode is read from its main file alone), so that nothing ever appears beside
// the data files.
QByteArray readOnlyUri(const QString &path)
{
    return "file://" + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/") + "?immutable=1";
}

// Opens without ever creating, and refuses what is plainly no database
// before SQLite sees it.
sqlite3 *openChecked(const QString &path, bool readOnly)
{
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists() || fi.isDir())
        raise(vb::ErrCannotOpenFile);
    if (!fi.isFile())
        raise(vb::ErrNotADatabase);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        raise(vb::ErrIo);
    const QByteArray head = f.read(100);
    f.close();
    // A database is at least one 512-byte page; an empty file is no database
    // either (opening never turns a file into one).
    if (fi.size() < 512 || head.size() < 16 || std::memcmp(head.constData(), kHeader, 16) != 0)
        raise(vb::ErrNotADatabase);
    sqlite3 *db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_EXRESCODE;
    const int rc = sqlite3_open_v2(readOnly ? readOnlyUri(path).constData() : QFile::encodeName(path).constData(), &db,
                                   flags, nullptr);
    if (rc != SQLITE_OK) {
        const int code = db ? sqlite3_extended_errcode(db) : rc;
        sqlite3_close_v2(db);
        if ((code & 0xff) == SQLITE_NOTADB)
            raise(vb::ErrNotADatabase);
        if ((code & 0xff) == SQLITE_CORRUPT)
            raise(kDamaged);
        raise(vb::ErrIo);
    }
    sqlite3_extended_result_codes(db, 1);
    platform::registerCollations(db);
    sqlite3_busy_timeout(db, 2000);
    return db;
}

// Runs a statement that returns one text value; the SQLite code otherwise.
int oneText(sqlite3 *db, const char *sql, QString *out)
{
    Statement s;
    int rc = sqlite3_prepare_v2(db, sql, -1, &s.st, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_step(s.st);
    if (rc == SQLITE_ROW) {
        if (out)
            *out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.st, 0)));
        return SQLITE_OK;
    }
    if (out)
        out->clear();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// A file from outside: nothing in it may run code or reach beyond its pages.
void harden(sqlite3 *db)
{
    int ignored = 0;
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, &ignored);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &ignored);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &ignored);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, &ignored);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, &ignored);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1000000);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 100000);
    sqlite3_limit(db, SQLITE_LIMIT_COLUMN, 200);
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 100);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 10);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 100);
    sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, 100);
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 1);
    sqlite3_exec(db, "PRAGMA trusted_schema=OFF; PRAGMA cell_size_check=ON; PRAGMA mmap_size=0; PRAGMA query_only=ON;",
                 nullptr, nullptr, nullptr);
}

} // namespace

Database Workspace::OpenDatabase(const QString &path, const OpenOptions &options)
{
    const bool readOnly = options.readOnly || options.untrusted;
    sqlite3 *db = openChecked(path, readOnly);
    auto impl = std::make_shared<Database::Impl>();
    impl->db = db; // closed by impl on every path from here
    impl->path = path;
    impl->readOnly = readOnly;
    impl->cacheRows = options.cacheRows && readOnly;
    if (options.untrusted)
        harden(db);
    // Reading the schema is the first touch of the pages: a file that passed
    // the header check can still be damaged or no database at all.
    QString found;
    int rc = oneText(db, "SELECT type FROM sqlite_master WHERE type IN ('trigger','view') LIMIT 1", &found);
    if (rc != SQLITE_OK) {
        if ((rc & 0xff) == SQLITE_NOTADB)
            raise(vb::ErrNotADatabase);
        if ((rc & 0xff) == SQLITE_CORRUPT)
            raise(kDamaged);
        raiseSqlite(db, rc);
    }
    if (options.untrusted) {
        // Our files hold tables only; code in a file from outside is refused.
        if (!found.isEmpty())
            raise(vb::ErrNotADatabase);
        QString verdict;
        rc = oneText(db, "PRAGMA quick_check(1)", &verdict);
        if (rc != SQLITE_OK || verdict != QLatin1String("ok"))
            raise((rc & 0xff) == SQLITE_NOTADB ? vb::ErrNotADatabase : kDamaged);
    }
    Database out;
    out.d = std::move(impl);
    return out;
}

Database Workspace::OpenDatabaseImage(const QByteArray &image, const QString &name, const OpenOptions &options)
{
    if (image.size() < 512 || std::memcmp(image.constData(), kHeader, 16) != 0)
        raise(vb::ErrNotADatabase);
    const bool readOnly = options.readOnly || options.untrusted;
    auto impl = std::make_shared<Database::Impl>();
    // A connection is only ever used by one thread at a time: the engine's
    // own lock on every call would be pure cost, most of it on a file read
    // value by value.
    if (sqlite3_open_v2(":memory:", &impl->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE,
                        nullptr) != SQLITE_OK)
        raise(vb::ErrOutOfMemory); // impl closes what was opened
    sqlite3 *db = impl->db;
    impl->path = name;
    impl->readOnly = readOnly;
    impl->cacheRows = options.cacheRows && readOnly;
    const auto size = sqlite3_int64(image.size());
    auto *copy = static_cast<unsigned char *>(sqlite3_malloc64(sqlite3_uint64(size)));
    if (!copy)
        raise(vb::ErrOutOfMemory);
    std::memcpy(copy, image.constData(), size_t(size));
    // A file left in write-ahead mode is read from its main file alone: in
    // memory there is no side file to look for.
    for (int at : {18, 19})
        if (copy[at] == 2)
            copy[at] = 1;
    const unsigned flags = SQLITE_DESERIALIZE_FREEONCLOSE
                           | (readOnly ? SQLITE_DESERIALIZE_READONLY : SQLITE_DESERIALIZE_RESIZEABLE);
    if (sqlite3_deserialize(db, "main", copy, size, size, flags) != SQLITE_OK)
        raise(vb::ErrOutOfMemory); // the copy is freed by SQLite on failure
    sqlite3_extended_result_codes(db, 1);
    platform::registerCollations(db);
    if (options.untrusted)
        harden(db);
    // The header said database: whatever the engine cannot read past it is damage.
    QString found;
    int rc = oneText(db, "SELECT type FROM sqlite_master WHERE type IN ('trigger','view') LIMIT 1", &found);
    if (rc == SQLITE_NOMEM)
        raise(vb::ErrOutOfMemory);
    if (rc != SQLITE_OK)
        raise(kDamaged);
    if (options.untrusted) {
        if (!found.isEmpty())
            raise(vb::ErrNotADatabase);
        QString verdict;
        rc = oneText(db, "PRAGMA quick_check(1)", &verdict);
        if (rc == SQLITE_NOMEM)
            raise(vb::ErrOutOfMemory);
        if (rc != SQLITE_OK || verdict != QLatin1String("ok"))
            raise(kDamaged);
    }
    Database out;
    out.d = std::move(impl);
    return out;
}

Database Workspace::CreateDatabase(const QString &path)
{
    const QFileInfo fi(path);
    if (path.isEmpty())
        raise(kBadPath);
    if (fi.exists())
        raise(kDatabaseExists);
    if (!fi.absoluteDir().exists())
        raise(kBadPath);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        QFile::remove(path);
        raise(vb::ErrIo);
    }
    // SQLite leaves a new file empty until the first write; write the header
    // now so the file opens as a database from the start.
    if (sqlite3_exec(db, "PRAGMA user_version=0; CREATE TABLE qv_new(x); DROP TABLE qv_new;", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const int rc = sqlite3_extended_errcode(db);
        sqlite3_close_v2(db);
        QFile::remove(path);
        raiseSqlite(nullptr, rc);
    }
    platform::registerCollations(db);
    sqlite3_busy_timeout(db, 2000);
    auto impl = std::make_shared<Database::Impl>();
    impl->db = db;
    impl->path = path;
    Database out;
    out.d = std::move(impl);
    return out;
}

// ------------------------------------------------------------------ engine

DBEngine &DBEngine::instance()
{
    static DBEngine engine;
    return engine;
}

namespace {

// A users file that is there but cannot serve is damaged, and is said so
// as the other data files are: not "missing", which it is not.
[[noreturn]] void damagedWorkgroup(const QString &why)
{
    throw vb::Refusal(vb::ErrWorkgroup, Strings::Load(9454).arg(why));
}

// What the users file lacks of the accounts table, as the other data files say it.
[[noreturn]] void workgroupWithoutAccounts(sqlite3 *db)
{
    QStringList present;
    Statement s;
    if (prepare(db, QStringLiteral("SELECT name FROM pragma_table_info('Users')"), s) == SQLITE_OK)
        while (sqlite3_step(s.st) == SQLITE_ROW)
            present << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.st, 0))).toLower();
    if (present.isEmpty())
        damagedWorkgroup(Strings::Load(9210).arg(QStringLiteral("Users")));
    for (const char *column : {"Name", "Salt", "Hash"})
        if (!present.contains(QString::fromLatin1(column).toLower()))
            damagedWorkgroup(Strings::Load(9211).arg(QString::fromLatin1(column), QStringLiteral("Users")));
    damagedWorkgroup(Strings::Load(9218));
}

bool sameDigest(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

Workspace DBEngine::CreateWorkspace(const QString &name, const QString &user, const QString &password)
{
    const QString path = SystemDB.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/mind.dat") : SystemDB;
    Database sys;
    OpenOptions options;
    options.untrusted = true;
    try {
        sys = Workspace().OpenDatabase(path, options);
    } catch (const vb::Error &e) {
        if (e.number() == vb::ErrOutOfMemory)
            throw;
        if (e.number() == vb::ErrNotADatabase)
            damagedWorkgroup(Strings::Load(9219));
        if (e.number() == kDamaged)
            damagedWorkgroup(Strings::Load(9218));
        raise(vb::ErrWorkgroup);
    }
    sqlite3 *db = sys.handle();
    QString appId;
    if (oneText(db, "PRAGMA application_id", &appId) != SQLITE_OK)
        damagedWorkgroup(Strings::Load(9218));
    if (appId.toLongLong() != kWorkgroupApplicationId)
        damagedWorkgroup(Strings::Load(9220));
    Statement s;
    if (prepare(db, QStringLiteral("SELECT Name, Salt, Hash FROM Users WHERE Name=?1 COLLATE NOCASE"), s) != SQLITE_OK)
        workgroupWithoutAccounts(db);
    const QByteArray u = user.toUtf8();
    sqlite3_bind_text(s.st, 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(s.st);
    if (rc == SQLITE_DONE || user.isEmpty())
        raise(vb::ErrAccount);
    if (rc != SQLITE_ROW)
        damagedWorkgroup(Strings::Load(9218));
    const QString storedName = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.st, 0)));
    const QByteArray salt(reinterpret_cast<const char *>(sqlite3_column_text(s.st, 1)), sqlite3_column_bytes(s.st, 1));
    const QByteArray stored = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(s.st, 2)), sqlite3_column_bytes(s.st, 2)).toLower();
    const QByteArray digest = QCryptographicHash::hash(salt + password.toUtf8(), QCryptographicHash::Sha256).toHex();
    if (!sameDigest(digest, stored))
        raise(vb::ErrAccount);
    Workspace ws;
    ws.m_name = name;
    ws.m_user = storedName;
    return ws;
}

void DBEngine::AppendWorkspace(const Workspace &ws)
{
    m_workspaces.push_back(ws);
}

// ------------------------------------------------------------------ criteria
namespace {

// One FindFirst criterion compiled against a row set's columns.
struct Criteria {
    enum Op { Like, Eq, Ne, Lt, Le, Gt, Ge, IsNull, NotNull, And, Or, Not };
    struct Node {
        Op op = Eq;
        int col = -1;
        int left = -1, right = -1; // children of And / Or / Not
        QVariant value;            // literal: QString, qint64 or double
        QString text;              // literal as text, case-folded
        bool wild = false;         // LIKE pattern with wildcards
        bool isInt = false;        // literal is a whole number written canonically
        qint64 intValue = 0;
        bool isNum = false;
        double numValue = 0;
    };
    std::vector<Node> nodes;
    int root = -1;
};

class CriteriaParser {
public:
    CriteriaParser(const QString &text, const RowSet &rs) : s(text), rows(rs) {}

    Criteria parse()
    {
        Criteria c;
        out = &c;
        c.root = parseOr();
        skipBlanks();
        if (i != s.size())
            raise(vb::ErrSyntax);
        return c;
    }

private:
    const QString &s;
    const RowSet &rows;
    qsizetype i = 0;
    Criteria *out = nullptr;

    void skipBlanks()
    {
        while (i < s.size() && s[i].isSpace())
            ++i;
    }
    bool keyword(const char *w)
    {
        skipBlanks();
        const qsizetype n = qsizetype(std::strlen(w));
        if (QStringView(s).mid(i, n).compare(QLatin1String(w), Qt::CaseInsensitive) != 0)
            return false;
        if (i + n < s.size() && (s[i + n].isLetterOrNumber() || s[i + n] == u'_'))
            return false;
        i += n;
        return true;
    }
    bool punct(QChar c)
    {
        skipBlanks();
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    static Criteria::Node node(Criteria::Op op, int col, int left = -1, int right = -1)
    {
        Criteria::Node n;
        n.op = op;
        n.col = col;
        n.left = left;
        n.right = right;
        return n;
    }
    int add(Criteria::Node n)
    {
        out->nodes.push_back(std::move(n));
        return int(out->nodes.size()) - 1;
    }
    int parseOr()
    {
        int left = parseAnd();
        while (keyword("OR"))
            left = add(node(Criteria::Or, -1, left, parseAnd()));
        return left;
    }
    int parseAnd()
    {
        int left = parseUnary();
        while (keyword("AND"))
            left = add(node(Criteria::And, -1, left, parseUnary()));
        return left;
    }
    int parseUnary()
    {
        if (keyword("NOT"))
            return add(node(Criteria::Not, -1, parseUnary()));
        skipBlanks();
        const qsizetype save = i;
        if (punct(u'(')) {
            // A parenthesised criterion, unless it is a bare value (a syntax error anyway).
            const int inner = parseOr();
            if (!punct(u')'))
                raise(vb::ErrSyntax);
            return inner;
        }
        i = save;
        return parseComparison();
    }
    QString namePart()
    {
        skipBlanks();
        if (i < s.size() && s[i] == u'[') {
            const qsizetype close = s.indexOf(u']', i);
            if (close < 0)
                raise(vb::ErrSyntax);
            QString n = s.mid(i + 1, close - i - 1);
            i = close + 1;
            return n;
        }
        const qsizetype start = i;
        while (i < s.size() && (s[i].isLetterOrNumber() || s[i] == u'_'))
            ++i;
        if (i == start)
            raise(vb::ErrSyntax);
        return s.mid(start, i - start);
    }
    int parseComparison()
    {
        QString name = namePart();
        if (i < s.size() && s[i] == u'.') {
            ++i;
            name += u'.' + namePart();
        }
        const int col = rows.column(name);
        if (col < 0)
            raise(kBadCriteria);
        Criteria::Node n = node(Criteria::Eq, col);
        if (keyword("LIKE")) {
            n.op = Criteria::Like;
        } else if (keyword("IS")) {
            n.op = keyword("NOT") ? Criteria::NotNull : Criteria::IsNull;
            if (!keyword("NULL"))
                raise(vb::ErrSyntax);
            return add(std::move(n));
        } else {
            skipBlanks();
            const QStringView rest = QStringView(s).mid(i);
            static const std::pair<const char *, Criteria::Op> ops[] = {
                {"<>", Criteria::Ne}, {"<=", Criteria::Le}, {">=", Criteria::Ge},
                {"=", Criteria::Eq},  {"<", Criteria::Lt},  {">", Criteria::Gt}};
            bool found = false;
            for (const auto &[t, op] : ops) {
                if (rest.startsWith(QLatin1String(t))) {
                    n.op = op;
                    i += qsizetype(std::strlen(t));
                    found = true;
                    break;
                }
            }
            if (!found)
                raise(vb::ErrSyntax);
        }
        parseValue(n);
        return add(std::move(n));
    }
    void parseValue(Criteria::Node &n)
    {
        skipBlanks();
        if (punct(u'(')) {
            parseValue(n);
            if (!punct(u')'))
                raise(vb::ErrSyntax);
            return;
        }
        if (i >= s.size())
            raise(vb::ErrSyntax);
        const QChar q = s[i];
        if (q == u'\'' || q == u'"') {
            QString v;
            ++i;
            for (;;) {
                if (i >= s.size())
                    raise(vb::ErrSyntax);
                if (s[i] == q) {
                    if (i + 1 < s.size() && s[i + 1] == q) {
                        v += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                v += s[i++];
            }
            setLiteral(n, v);
            return;
        }
        if (keyword("True")) {
            setLiteral(n, QStringLiteral("-1"));
            return;
        }
        if (keyword("False")) {
            setLiteral(n, QStringLiteral("0"));
            return;
        }
        const qsizetype start = i;
        if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
            ++i;
        while (i < s.size() && (s[i].isDigit() || s[i] == u'.' || s[i] == u'e' || s[i] == u'E'
                                || ((s[i] == u'-' || s[i] == u'+') && (s[i - 1] == u'e' || s[i - 1] == u'E'))))
            ++i;
        const QString num = s.mid(start, i - start);
        bool ok = false;
        num.toDouble(&ok);
        if (!ok)
            raise(kBadCriteria); // an unquoted word names no field we can compare with
        setLiteral(n, num);
    }
    static void setLiteral(Criteria::Node &n, const QString &v)
    {
        n.wild = n.op == Criteria::Like
                 && (v.contains(u'*') || v.contains(u'?') || v.contains(u'#') || v.contains(u'['));
        // Only a pattern reads the folded text and only a comparison the
        // number: each is worked out for the node that reads it.
        if (n.wild)
            n.text = v.toCaseFolded();
        bool ok = false;
        const qint64 iv = v.trimmed().toLongLong(&ok);
        n.isInt = ok && QString::number(iv) == v;
        n.intValue = iv;
        if (n.op != Criteria::Like) {
            const double dv = v.trimmed().toDouble(&ok);
            n.isNum = ok;
            n.numValue = dv;
        }
        n.value = v;
    }
};

// The old engine's LIKE: * any run, ? one character, # one digit, [abc] [!a-z]
// a character class; both sides already case-folded.
bool likeMatch(QStringView text, QStringView pat)
{
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        bool step = false;
        if (p < pat.size()) {
            const QChar pc = pat[p];
            if (pc == u'*') {
                starP = p++;
                starT = t;
                continue;
            }
            if (pc == u'?') {
                step = true;
                ++p;
            } else if (pc == u'#') {
                step = text[t].isDigit();
                if (step)
                    ++p;
            } else if (pc == u'[') {
                const qsizetype close = pat.indexOf(u']', p + 1);
                if (close > p + 1) {
                    qsizetype k = p + 1;
                    const bool negate = pat[k] == u'!';
                    if (negate)
                        ++k;
                    bool in = false;
                    for (; k < close; ++k) {
                        if (k + 2 < close && pat[k + 1] == u'-') {
                            in = in || (text[t] >= pat[k] && text[t] <= pat[k + 2]);
                            k += 2;
                        } else {
                            in = in || text[t] == pat[k];
                        }
                    }
                    step = in != negate;
                    if (step)
                        p = close + 1;
                } else {
                    step = text[t] == pc;
                    if (step)
                        ++p;
                }
            } else {
                step = text[t] == pc;
                if (step)
                    ++p;
            }
        }
        if (step) {
            ++t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == u'*')
        ++p;
    return p == pat.size();
}

template <typename T>
int threeWay(T a, T b) { return a < b ? -1 : (a > b ? 1 : 0); }

bool holds(Criteria::Op op, int cmp)
{
    switch (op) {
    case Criteria::Eq: return cmp == 0;
    case Criteria::Ne: return cmp != 0;
    case Criteria::Lt: return cmp < 0;
    case Criteria::Le: return cmp <= 0;
    case Criteria::Gt: return cmp > 0;
    case Criteria::Ge: return cmp >= 0;
    default: return false;
    }
}

bool matches(const Criteria &c, int node, const RowSet &rs, int row)
{
    const Criteria::Node &n = c.nodes[size_t(node)];
    switch (n.op) {
    case Criteria::And: return matches(c, n.left, rs, row) && matches(c, n.right, rs, row);
    case Criteria::Or: return matches(c, n.left, rs, row) || matches(c, n.right, rs, row);
    case Criteria::Not: return !matches(c, n.left, rs, row);
    default: break;
    }
    const QVariant &v = rs.cell(row, n.col);
    const bool null = !v.isValid(); // cells hold NULL as an invalid value only
    if (n.op == Criteria::IsNull)
        return null;
    if (n.op == Criteria::NotNull)
        return !null;
    if (null)
        return false;
    const int type = v.typeId();
    const bool isInt = type == QMetaType::Int || type == QMetaType::LongLong;
    if (n.op == Criteria::Like) {
        // Numbers match through their decimal text: LIKE('32') finds 32 only.
        if (type == QMetaType::Int && !n.wild)
            return n.isInt && qint64(*static_cast<const int *>(v.constData())) == n.intValue;
        if (isInt && !n.wild)
            return n.isInt && v.toLongLong() == n.intValue;
        QString text;
        if (isInt)
            text = QString::number(v.toLongLong());
        else if (type == QMetaType::Double)
            text = vb::NumText(v.toDouble()); // the text the old engine compared
        else if (type == QMetaType::QString)
            text = v.toString();
        else
            return false;
        if (!n.wild)
            return text.compare(n.value.toString(), Qt::CaseInsensitive) == 0;
        return likeMatch(text.toCaseFolded(), n.text);
    }
    if (isInt && n.isInt)
        return holds(n.op, threeWay(v.toLongLong(), n.intValue));
    if (isInt || type == QMetaType::Double) {
        if (!n.isNum)
            return false;
        return holds(n.op, threeWay(v.toDouble(), n.numValue));
    }
    if (type == QMetaType::QString) {
        // Text compares without regard to case, as the old engine's did.
        return holds(n.op, v.toString().compare(n.value.toString(), Qt::CaseInsensitive));
    }
    return false;
}

// The text lower-cased when it is plain ASCII; false otherwise.
bool asciiKey(const QString &s, QString *key)
{
    key->resize(s.size());
    QChar *out = key->data();
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        if (u >= 0x80)
            return false;
        out[i] = QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
    }
    return true;
}

// Built on the first search of a column; the program has one thread.
const std::shared_ptr<const ValueIndex> &valueIndex(const RowSet &rs, int col)
{
    if (rs.valueIndexes.empty())
        rs.valueIndexes.resize(size_t(rs.columns));
    std::shared_ptr<const ValueIndex> &slot = rs.valueIndexes[size_t(col)];
    if (slot)
        return slot;
    auto ix = std::make_shared<ValueIndex>();
    QString key;
    for (int r = 0; r < rs.rows; ++r) {
        const QVariant &v = rs.cell(r, col);
        switch (v.typeId()) {
        case QMetaType::UnknownType: // NULL
        case QMetaType::QByteArray:
            break; // equal to no literal
        case QMetaType::Int:
        case QMetaType::LongLong:
            ix->whole[v.toLongLong()].push_back(r);
            break;
        case QMetaType::QString:
            if (asciiKey(v.toString(), &key))
                ix->text[key].push_back(r);
            else
                ix->other.push_back(r);
            break;
        default:
            ix->other.push_back(r);
        }
    }
    slot = std::move(ix);
    return slot;
}

// The rows one comparison can match, a superset in stored order split over up
// to three lists of one column's index.
struct Candidates {
    std::shared_ptr<const ValueIndex> index; // keeps the lists alive
    std::array<const std::vector<int> *, 3> lists{};
    size_t size() const
    {
        size_t n = 0;
        for (const auto *l : lists)
            n += l ? l->size() : 0;
        return n;
    }
};

// False when the comparison is not one the index answers exactly: the rows
// are scanned then.
bool candidates(const RowSet &rs, const Criteria::Node &n, Candidates *out)
{
    if (n.op != Criteria::Eq && (n.op != Criteria::Like || n.wild))
        return false;
    // "= 5.0" or "= ' 5'" equals whole numbers by value: only the scan compares that way.
    if (n.op == Criteria::Eq && n.isNum && !n.isInt)
        return false;
    QString key;
    if (!asciiKey(n.value.toString(), &key))
        return false;
    *out = Candidates();
    out->index = valueIndex(rs, n.col);
    const ValueIndex &ix = *out->index;
    if (n.isInt)
        if (auto it = ix.whole.constFind(n.intValue); it != ix.whole.cend())
            out->lists[0] = &*it;
    if (auto it = ix.text.constFind(key); it != ix.text.cend())
        out->lists[1] = &*it;
    out->lists[2] = &ix.other;
    return true;
}

} // namespace

// A criteria text made ready for one row set: compiled, and on cached rows
// narrowed by an equality among its AND-ed comparisons when there is one.
// Every row tried still gets the whole criteria, so the answer is the scan's.
struct Search {
    Criteria criteria;
    bool indexed = false;
    Candidates rows;
};

namespace {

std::shared_ptr<const Search> search(const RowSet &rs, const QString &text)
{
    if (rs.cached)
        if (auto it = rs.searches.constFind(text); it != rs.searches.cend())
            return *it;
    auto s = std::make_shared<Search>();
    s->criteria = CriteriaParser(text, rs).parse();
    const Criteria &c = s->criteria;
    if (rs.cached) {
        std::vector<int> pending{c.root};
        while (!pending.empty()) {
            const Criteria::Node &n = c.nodes[size_t(pending.back())];
            pending.pop_back();
            if (n.op == Criteria::And) {
                pending.push_back(n.left);
                pending.push_back(n.right);
                continue;
            }
            Candidates k;
            if (candidates(rs, n, &k) && (!s->indexed || k.size() < s->rows.size())) {
                s->rows = std::move(k);
                s->indexed = true;
            }
        }
        // The readers send one text per identifier they look up; the bound
        // only keeps a caller that never repeats itself from growing this.
        if (rs.searches.size() >= 4096)
            rs.searches.clear();
        rs.searches.insert(text, s);
    }
    return s;
}

// The first row from `from` on that the criteria match, or -1.
int firstMatch(const Search &s, const RowSet &rs, int from)
{
    from = std::max(from, 0);
    const Criteria &c = s.criteria;
    if (!s.indexed) {
        for (int r = from; r < rs.rows; ++r)
            if (matches(c, c.root, rs, r))
                return r;
        return -1;
    }
    // The lists hold distinct rows (a cell has one type): merge them in order.
    std::array<std::vector<int>::const_iterator, 3> at, end;
    for (size_t k = 0; k < 3; ++k) {
        static const std::vector<int> none;
        const std::vector<int> &l = s.rows.lists[k] ? *s.rows.lists[k] : none;
        at[k] = std::lower_bound(l.cbegin(), l.cend(), from);
        end[k] = l.cend();
    }
    for (;;) {
        size_t next = 3;
        for (size_t k = 0; k < 3; ++k)
            if (at[k] != end[k] && (next == 3 || *at[k] < *at[next]))
                next = k;
        if (next == 3)
            return -1;
        const int r = *at[next]++;
        if (matches(c, c.root, rs, r))
            return r;
    }
}

} // namespace

// ------------------------------------------------------------------ recordset

namespace {
const Recordset::Impl &live(const std::shared_ptr<Recordset::Impl> &d)
{
    if (!d || !d->rows)
        raise(kObjectInvalid);
    return *d;
}
} // namespace

bool Recordset::isOpen() const { return d && d->rows; }

bool Recordset::Eof() const
{
    const Impl &r = live(d);
    return r.pos >= r.set().rows;
}

bool Recordset::BOF() const
{
    const Impl &r = live(d);
    return r.set().rows == 0 || r.pos < 0;
}

void Recordset::MoveFirst()
{
    live(d);
    if (d->set().rows == 0)
        raise(vb::ErrNoCurrentRecord);
    d->pos = 0;
}

void Recordset::MoveLast()
{
    live(d);
    if (d->set().rows == 0)
        raise(vb::ErrNoCurrentRecord);
    d->pos = d->set().rows - 1;
}

void Recordset::MoveNext()
{
    live(d);
    if (d->pos >= d->set().rows)
        raise(vb::ErrNoCurrentRecord);
    ++d->pos;
}

void Recordset::MovePrevious()
{
    live(d);
    if (d->pos < 0 || d->set().rows == 0)
        raise(vb::ErrNoCurrentRecord);
    --d->pos;
}

void Recordset::FindFirst(const QString &criteria)
{
    live(d);
    const RowSet &rs = d->set();
    const int r = firstMatch(*search(rs, criteria), rs, 0);
    if (r >= 0)
        d->pos = r;
    d->noMatch = r < 0;
}

void Recordset::FindNext(const QString &criteria)
{
    live(d);
    const RowSet &rs = d->set();
    const int r = firstMatch(*search(rs, criteria), rs, d->pos + 1);
    if (r >= 0)
        d->pos = r;
    d->noMatch = r < 0;
}

bool Recordset::NoMatch() const { return live(d).noMatch; }
int Recordset::RecordCount() const { return live(d).set().rows; }

int Recordset::AbsolutePosition() const
{
    const Impl &r = live(d);
    return r.pos >= 0 && r.pos < r.set().rows ? r.pos : -1;
}

double Recordset::PercentPosition() const
{
    const Impl &r = live(d);
    const int n = r.set().rows;
    if (n == 0 || r.pos < 0)
        return 0.0;
    if (r.pos >= n)
        return 100.0;
    return 100.0 * double(r.pos + 1) / double(n);
}

Field Recordset::Fields(const QString &name) const
{
    const Impl &r = live(d);
    const RowSet &rs = r.set();
    const int c = rs.column(name);
    if (c < 0)
        raise(vb::ErrNotInCollection);
    if (r.editing)
        return Field(rs.names[c], r.buffer.value(c));
    if (r.pos < 0 || r.pos >= rs.rows)
        raise(vb::ErrNoCurrentRecord);
    return Field(rs.names[c], rs.cell(r.pos, c));
}

int Recordset::FieldCount() const { return live(d).set().columns; }

QString Recordset::FieldName(int i) const
{
    const RowSet &rs = live(d).set();
    if (i < 0 || i >= rs.columns)
        raise(vb::ErrNotInCollection);
    return rs.names[i];
}

bool Recordset::HasField(const QString &name) const { return live(d).set().column(name) >= 0; }

void Recordset::AddNew()
{
    live(d);
    if (d->table.isEmpty() || !d->db || d->db->readOnly)
        raise(vb::ErrReadOnly);
    d->editing = true;
    d->buffer.clear();
}

void Recordset::SetField(const QString &name, const QVariant &value)
{
    live(d);
    const int c = d->set().column(name);
    if (c < 0)
        raise(vb::ErrNotInCollection);
    if (!d->editing)
        raise(vb::ErrUpdateWithoutAddNew);
    d->buffer.insert(c, value);
}

void Recordset::CancelUpdate()
{
    live(d);
    d->editing = false;
    d->buffer.clear();
}

void Recordset::Update()
{
    live(d);
    if (!d->editing)
        raise(vb::ErrUpdateWithoutAddNew);
    if (!d->db || !d->db->db)
        raise(kObjectInvalid);
    sqlite3 *db = d->db->db;
    d->db->beginRows();
    const RowSet &rs = d->set();
    auto quote = [](QString n) { return u'"' + n.replace(u'"', QStringLiteral("\"\"")) + u'"'; };
    QList<int> cols = d->buffer.keys();
    std::sort(cols.begin(), cols.end());
    QString sql = QStringLiteral("INSERT INTO ") + quote(d->table);
    if (cols.isEmpty()) {
        sql += QStringLiteral(" DEFAULT VALUES");
    } else {
        QStringList names, marks;
        for (int c : cols) {
            names << quote(rs.names[c]);
            marks << QStringLiteral("?");
        }
        sql += u'(' + names.join(u',') + QStringLiteral(") VALUES(") + marks.join(u',') + u')';
    }
    {
        Statement s;
        if (prepare(db, sql, s) != SQLITE_OK)
            raiseSqlite(db, sqlite3_extended_errcode(db));
        for (int k = 0; k < cols.size(); ++k)
            bindValue(s.st, k + 1, d->buffer.value(cols[k]));
        if (const int rc = sqlite3_step(s.st); rc != SQLITE_DONE)
            raiseSqlite(db, sqlite3_extended_errcode(db));
    }
    // The row as stored (defaults and column types applied) joins the set.
    Statement back;
    if (prepare(db, QStringLiteral("SELECT * FROM %1 WHERE rowid=?1").arg(quote(d->table)), back) != SQLITE_OK)
        raiseSqlite(db, sqlite3_extended_errcode(db));
    sqlite3_bind_int64(back.st, 1, sqlite3_last_insert_rowid(db));
    // Copy only when another recordset shares these rows.
    std::shared_ptr<RowSet> grown = d->rows.use_count() == 1 ? std::const_pointer_cast<RowSet>(d->rows)
                                                               : std::make_shared<RowSet>(rs);
    grown->valueIndexes.clear(); // they describe the rows before this one
    grown->searches.clear();
    const int before = rs.rows;
    if (sqlite3_step(back.st) == SQLITE_ROW && sqlite3_column_count(back.st) == rs.columns) {
        for (int c = 0; c < rs.columns; ++c)
            grown->cells.push_back(columnValue(back.st, c));
        ++grown->rows;
    }
    // A recordset at its end stays at its end; otherwise the current row is kept.
    const bool atEnd = d->pos >= before;
    d->rows = std::move(grown);
    if (atEnd)
        d->pos = d->rows->rows;
    d->editing = false;
    d->buffer.clear();
}

void Recordset::Close()
{
    if (d) {
        d->rows.reset();
        d->db.reset();
        d->editing = false;
    }
}

} // namespace dao
