#include "frame/DataFiles.h"

#include "platform/Strings.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

namespace datafiles {

namespace {

struct Statement {
    sqlite3_stmt *st = nullptr;
    ~Statement() { sqlite3_finalize(st); }
};

QString columnText(sqlite3_stmt *st, int c)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
}

// A name in brackets: one that the file lacks is then an error, where in
// double quotes the engine would take it for a text and read on. The names
// are those of our own SQL, none of which holds a bracket.
QString quoted(const QString &name)
{
    return u'[' + name + u']';
}

// The engine could not read the file where it should have: it is damaged.
[[noreturn]] void damaged(const QString &what)
{
    throw vb::Refusal(vb::ErrDamaged, Strings::Load(9350).arg(what));
}

[[noreturn]] void failed(sqlite3 *db, int rc)
{
    if ((rc & 0xff) == SQLITE_NOTADB)
        vb::Raise(vb::ErrNotADatabase);
    if ((rc & 0xff) == SQLITE_NOMEM)
        vb::Raise(vb::ErrOutOfMemory);
    damaged(QString::fromUtf8(sqlite3_errmsg(db)));
}

void prepare(sqlite3 *db, const QString &sql, Statement &s)
{
    const QByteArray utf8 = sql.toUtf8();
    if (const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &s.st, nullptr); rc != SQLITE_OK)
        failed(db, rc);
}

// Steps once: true on a row, false at the end.
bool step(sqlite3 *db, Statement &s)
{
    const int rc = sqlite3_step(s.st);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        failed(db, rc);
    return false;
}

qint64 pragmaNumber(sqlite3 *db, const char *pragma)
{
    Statement s;
    prepare(db, QString::fromLatin1(pragma), s);
    return step(db, s) ? sqlite3_column_int64(s.st, 0) : 0;
}

// What the SQL a data file is built from makes of it (written by mkdat at
// build time): its marks, and its tables with their columns in order.
struct TableText {
    const char *name;
    std::initializer_list<const char *> columns;
};
struct ShapeText {
    qint64 applicationId;
    qint64 userVersion;
    std::initializer_list<TableText> tables;
};
const ShapeText kRulesText =
#include "RulesShape.inc"
    ;

// An identifier's name ends in "_ID", possibly with a number after it
// ("Stat_ID1"); the spell lists' classification is spelt "Classification_ ID".
bool isIdentifier(QStringView column)
{
    qsizetype end = column.size();
    while (end > 0 && column[end - 1].isDigit())
        --end;
    const QStringView head = column.left(end);
    return head.endsWith(u"_ID") || head.endsWith(u"_ ID");
}

struct Shape {
    std::vector<Table> tables;
    qint64 applicationId = 0;
    qint64 userVersion = 0;
};

Shape shapeOf(const ShapeText &text, const QStringList &leftOut = {})
{
    Shape shape{{}, text.applicationId, text.userVersion};
    for (const TableText &t : text.tables) {
        Table table{QString::fromUtf8(t.name), {}, {}};
        for (const char *c : t.columns) {
            const QString column = QString::fromUtf8(c);
            if (leftOut.contains(table.name + u'.' + column))
                continue;
            table.columns << column;
            if (isIdentifier(column))
                table.ids << column;
        }
        shape.tables.push_back(std::move(table));
    }
    return shape;
}

const Shape &rulesShape()
{
    static const Shape shape = shapeOf(kRulesText, RulesNotRead());
    return shape;
}

// The checks read the file in one read transaction: the engine then takes its
// lock and looks at the file's header once, not once per statement.
class ReadTransaction {
public:
    explicit ReadTransaction(sqlite3 *db) : m_db(db)
    {
        if (const int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr); rc != SQLITE_OK)
            failed(db, rc);
    }
    ~ReadTransaction() { sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr); }
    ReadTransaction(const ReadTransaction &) = delete;
    ReadTransaction &operator=(const ReadTransaction &) = delete;

private:
    sqlite3 *m_db;
};

// One table of the file, every column the program reads of it named in one
// statement: preparing it proves them all there, and one scan finds the first
// row that meets `condition`. The identifiers come first in the row.
class TableScan {
public:
    TableScan(sqlite3 *db, const QSet<QString> &tables, const Table &t, const QString &condition) : m_db(db)
    {
        // A view of the same name would be read as well, but is no table of ours.
        if (!tables.contains(t.name.toLower()))
            throw vb::Refusal(vb::ErrTableNotFound, Strings::Load(9351).arg(t.name));
        QStringList columns;
        for (const QString &c : t.ids)
            columns << quoted(c);
        for (const QString &c : t.columns)
            if (!t.ids.contains(c))
                columns << quoted(c);
        const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 LIMIT 1")
                                   .arg(columns.join(QStringLiteral(", ")), quoted(t.name), condition)
                                   .toUtf8();
        if (const int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_s.st, nullptr); rc != SQLITE_OK)
            missingColumn(t, rc);
    }
    bool found() { return step(m_db, m_s); }
    sqlite3_stmt *row() const { return m_s.st; }

private:
    [[noreturn]] void missingColumn(const Table &t, int rc)
    {
        QSet<QString> present;
        Statement s;
        prepare(m_db, QStringLiteral("SELECT name FROM pragma_table_info(?1)"), s);
        const QByteArray name = t.name.toUtf8();
        sqlite3_bind_text(s.st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        while (step(m_db, s))
            present.insert(columnText(s.st, 0).toLower());
        for (const QString &c : t.columns)
            if (!present.contains(c.toLower()))
                throw vb::Refusal(vb::ErrNotInCollection, Strings::Load(9352).arg(c, t.name));
        failed(m_db, rc);
    }

    sqlite3 *m_db;
    Statement m_s;
};

QSet<QString> tableNames(sqlite3 *db)
{
    QSet<QString> names;
    Statement s;
    prepare(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), s);
    while (step(db, s))
        names.insert(columnText(s.st, 0).toLower());
    return names;
}

// Every column of the table is there, and every identifier a whole number.
void checkRulesTable(sqlite3 *db, const QSet<QString> &tables, const Table &t)
{
    QStringList tests;
    for (const QString &c : t.ids)
        tests << QStringLiteral("typeof(%1) <> 'integer'").arg(quoted(c));
    TableScan scan(db, tables, t, tests.isEmpty() ? QStringLiteral("0") : tests.join(QStringLiteral(" OR ")));
    if (!scan.found())
        return;
    sqlite3_stmt *st = scan.row();
    for (int c = 0; c < t.ids.size(); ++c) {
        switch (sqlite3_column_type(st, c)) {
        case SQLITE_INTEGER:
            continue;
        case SQLITE_NULL:
            throw vb::Refusal(vb::ErrInvalidUseOfNull, Strings::Load(9358).arg(t.ids[c], t.name));
        case SQLITE_BLOB: {
            const QByteArray bytes(static_cast<const char *>(sqlite3_column_blob(st, c)),
                                   std::min(sqlite3_column_bytes(st, c), 8));
            throw vb::Refusal(vb::ErrTypeMismatch,
                              Strings::Load(9353).arg(t.ids[c], t.name,
                                                      QStringLiteral("x'%1'").arg(QString::fromLatin1(bytes.toHex()))));
        }
        default: {
            QString value = columnText(st, c);
            if (value.size() > 40)
                value = value.left(40) + QStringLiteral("…");
            throw vb::Refusal(vb::ErrTypeMismatch, Strings::Load(9353).arg(t.ids[c], t.name, value));
        }
        }
    }
}

} // namespace

const QStringList &RulesNotRead()
{
    static const QStringList columns{QStringLiteral("Talents Cost.Degree_ID"), QStringLiteral("Special Items.Item_ID")};
    return columns;
}

const std::vector<Table> &RulesRead()
{
    return rulesShape().tables;
}

void CheckRules(const dao::Database &rules)
{
    sqlite3 *db = rules.handle();
    if (!db)
        vb::Raise(vb::ErrObjectNotSet);
    ReadTransaction reading(db);
    {
        Statement s;
        prepare(db, QStringLiteral("PRAGMA quick_check(1)"), s);
        const QString verdict = step(db, s) ? columnText(s.st, 0) : QString();
        if (verdict != QLatin1String("ok"))
            damaged(verdict);
    }
    const QSet<QString> tables = tableNames(db);
    for (const Table &t : RulesRead())
        checkRulesTable(db, tables, t);
}

void CheckTemplate(const QString &path)
{
    try {
        TemplateImage(path);
    } catch (const vb::Refusal &r) {
        throw vb::Refusal(r.number(), Strings::Load(9371).arg(r.text()));
    }
}

} // namespace datafiles

// ---------------------------------------------------------------- the empty character file
//
// Every save starts from a copy of it, so start-up and every save check it
// the same way, against what its own SQL (built into the program) makes.

namespace datafiles {

namespace {

[[noreturn]] void templateFault(int number, int what, const QString &path, const QString &reason = QString())
{
    const QString shown = QDir::toNativeSeparators(path);
    throw vb::Refusal(number, reason.isNull() ? Strings::Load(what).arg(shown) : Strings::Load(what).arg(shown, reason));
}

// The file's bytes, read once. Opened without waiting, so that a pipe or a
// device standing at the path is refused at once instead of holding the
// program up for good.
QByteArray readTemplate(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = path.isEmpty() ? -1 : ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int why = path.isEmpty() ? ENOENT : errno;
        if (why == ENOENT || why == ENOTDIR)
            templateFault(vb::ErrFileNotFound, 9313, path);
        if (why == EACCES) {
            // A folder on the way that may not be searched hides the file.
            struct stat st {};
            const bool folder = ::stat(name.constData(), &st) != 0 && errno == EACCES;
            templateFault(vb::ErrPermission, 9315, path, Strings::Load(folder ? 9311 : 9233));
        }
        templateFault(vb::ErrIo, 9315, path, Strings::Load(9234).arg(qt_error_string(why)));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        templateFault(vb::ErrIo, 9315, path, Strings::Load(9234).arg(qt_error_string(errno)));
    if (S_ISDIR(st.st_mode))
        templateFault(vb::ErrCannotOpenFile, 9315, path, Strings::Load(9231));
    if (!S_ISREG(st.st_mode))
        templateFault(vb::ErrNotADatabase, 9361, path, Strings::Load(9232));
    const auto tooLarge = [&path](qint64 size) {
        templateFault(vb::ErrNotADatabase, 9361, path, Strings::Load(9225).arg(size).arg(TemplateMaxBytes));
    };
    if (st.st_size > TemplateMaxBytes)
        tooLarge(st.st_size);
    // One byte past the cap tells a file that grew since it was measured.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype held = 0;
    for (;;) {
        if (held == bytes.size())
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, TemplateMaxBytes + 1));
        const ssize_t n = ::read(fd, bytes.data() + held, size_t(bytes.size() - held));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            templateFault(vb::ErrIo, 9315, path, Strings::Load(9234).arg(qt_error_string(errno)));
        held += n;
        if (n == 0 || held > TemplateMaxBytes)
            break;
    }
    if (held > TemplateMaxBytes)
        tooLarge(held);
    bytes.truncate(held);
    return bytes;
}

// What a database declares: its marks, every entry of its schema, and of
// each table its columns and what else binds its rows.
struct Column {
    QString name;
    QString type;
    qint64 notNull = 0;
    QString defaultValue;
    qint64 key = 0;
    qint64 hidden = 0;
};
struct Declared {
    QString type;   // of the schema entry: table, index, trigger, view
    QString name;
    QString table;
    std::vector<Column> columns;
    // Anything beyond the columns' own declarations that binds a row.
    qint64 withoutRowid = 0, strict = 0, foreignKeys = 0, checks = 0;
};
struct Schema {
    qint64 applicationId = 0;
    qint64 userVersion = 0;
    std::vector<Declared> entries;

    const Declared *find(const QString &type, const QString &name) const
    {
        for (const Declared &e : entries)
            if (e.type == type && e.name.compare(name, Qt::CaseInsensitive) == 0)
                return &e;
        return nullptr;
    }
};

// The CHECK constraints of a CREATE TABLE text: the keyword outside quotes,
// brackets and comments. It is reserved, so no bare name is spelt so.
qint64 checksIn(const QString &sql)
{
    qint64 found = 0;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        const auto skipTo = [&sql, &i](QStringView end, qsizetype from) {
            const qsizetype at = sql.indexOf(end, from);
            i = at < 0 ? sql.size() : at + end.size();
        };
        if (c == u'\'' || c == u'"' || c == u'`')
            skipTo(QStringView(&c, 1), i + 1);   // a doubled quote reads as two quoted runs
        else if (c == u'[')
            skipTo(u"]", i + 1);
        else if (QStringView(sql).mid(i, 2) == u"--")
            skipTo(u"\n", i + 2);
        else if (QStringView(sql).mid(i, 2) == u"/*")
            skipTo(u"*/", i + 2);
        else if (c.isLetter() || c == u'_') {
            qsizetype end = i;
            while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == u'_' || sql[end] == u'$'))
                ++end;
            if (QStringView(sql).mid(i, end - i).compare(u"check", Qt::CaseInsensitive) == 0)
                ++found;
            i = end;
        } else
            ++i;
    }
    return found;
}

class Reading {
public:
    Reading(sqlite3 *db, const QString &path) : m_db(db), m_path(path) {}

    Schema schema()
    {
        Schema s;
        s.applicationId = pragmaNumber(m_db, "PRAGMA application_id");
        s.userVersion = pragmaNumber(m_db, "PRAGMA user_version");
        Statement list;
        prepare("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid", list);
        while (step(list)) {
            Declared d{columnText(list.st, 0), columnText(list.st, 1), columnText(list.st, 2), {}};
            if (d.type == QLatin1String("table"))
                describe(d, columnText(list.st, 3));
            s.entries.push_back(std::move(d));
        }
        return s;
    }

    qint64 rows(const QString &table)
    {
        Statement s;
        prepare(QStringLiteral("SELECT count(*) FROM %1").arg(quoted(table)), s);
        return step(s) ? sqlite3_column_int64(s.st, 0) : 0;
    }

private:
    void describe(Declared &d, const QString &sql)
    {
        Statement columns;
        prepare("SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM pragma_table_xinfo(?1)", columns, d.name);
        while (step(columns))
            d.columns.push_back({columnText(columns.st, 0), columnText(columns.st, 1),
                                 sqlite3_column_int64(columns.st, 2), columnText(columns.st, 3),
                                 sqlite3_column_int64(columns.st, 4), sqlite3_column_int64(columns.st, 5)});
        Statement kind;
        prepare("SELECT wr, strict FROM pragma_table_list(?1)", kind, d.name);
        if (step(kind)) {
            d.withoutRowid = sqlite3_column_int64(kind.st, 0);
            d.strict = sqlite3_column_int64(kind.st, 1);
        }
        Statement keys;
        prepare("SELECT count(*) FROM pragma_foreign_key_list(?1)", keys, d.name);
        d.foreignKeys = step(keys) ? sqlite3_column_int64(keys.st, 0) : 0;
        d.checks = checksIn(sql);
    }

    void prepare(const QString &sql, Statement &s, const QString &bound = QString())
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &s.st, nullptr) != SQLITE_OK)
            unreadable();
        if (!bound.isNull()) {
            const QByteArray text = bound.toUtf8();
            sqlite3_bind_text(s.st, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }
    void prepare(const char *sql, Statement &s, const QString &bound = QString())
    {
        prepare(QString::fromLatin1(sql), s, bound);
    }
    bool step(Statement &s)
    {
        const int rc = sqlite3_step(s.st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            unreadable();
        return rc == SQLITE_ROW;
    }
    [[noreturn]] void unreadable()
    {
        if ((sqlite3_errcode(m_db) & 0xff) == SQLITE_NOMEM)
            vb::Raise(vb::ErrOutOfMemory);
        templateFault(vb::ErrDamaged, 9314, m_path, Strings::Load(9218));
    }

    sqlite3 *m_db;
    const QString &m_path;
};

// What the template's own SQL makes, built once in memory from the SQL built
// into the program.
const Schema &madeByItsSql()
{
    static const Schema schema = [] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
        const QDir folder(QStringLiteral(":/template"));
        for (const QString &name : folder.entryList({QStringLiteral("player*.sql")}, QDir::Files, QDir::Name)) {
            QFile f(folder.filePath(name));
            const QByteArray sql = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        }
        const QString self = QStringLiteral("player.sql");
        Schema made = Reading(db, self).schema();
        sqlite3_close(db);
        return made;
    }();
    return schema;
}

QString held(qint64 rows)
{
    return Strings::Load(rows == 1 ? 9301 : 9302).arg(rows);
}

// The file's table against the one its SQL makes.
void compareTable(const Declared &made, const Declared &found, const QString &path)
{
    const auto foreign = [&path](const QString &reason) { templateFault(vb::ErrNotADatabase, 9361, path, reason); };
    const auto columnIn = [](const Declared &d, const QString &name) -> const Column * {
        for (const Column &c : d.columns)
            if (c.name.compare(name, Qt::CaseInsensitive) == 0)
                return &c;
        return nullptr;
    };
    for (const Column &c : made.columns)
        if (!columnIn(found, c.name))
            templateFault(vb::ErrNotInCollection, 9314, path, Strings::Load(9211).arg(c.name, made.name));
    for (const Column &c : found.columns) {
        const Column *m = columnIn(made, c.name);
        if (!m)
            foreign(Strings::Load(9365).arg(c.name, made.name));
        if (m->type.compare(c.type, Qt::CaseInsensitive) != 0)
            foreign(Strings::Load(9366).arg(c.name, made.name, c.type, m->type));
        if (m->notNull != c.notNull || m->defaultValue != c.defaultValue || m->key != c.key || m->hidden != c.hidden)
            foreign(Strings::Load(9367).arg(made.name));
    }
    if (made.withoutRowid != found.withoutRowid || made.strict != found.strict
        || made.foreignKeys != found.foreignKeys || made.checks != found.checks)
        foreign(Strings::Load(9367).arg(made.name));
}

void checkTemplateImage(const QByteArray &image, const QString &path)
{
    if (image.size() < 16 || std::memcmp(image.constData(), "SQLite format 3", 16) != 0)
        templateFault(vb::ErrNotADatabase, 9314, path, Strings::Load(9219));
    dao::Database file;
    try {
        dao::OpenOptions options;
        options.readOnly = true;
        file = dao::Workspace().OpenDatabaseImage(image, path, options);
    } catch (const vb::Error &e) {
        if (e.number() == vb::ErrOutOfMemory)
            throw;
        templateFault(e.number(), 9314, path, Strings::Load(e.number() == vb::ErrNotADatabase ? 9219 : 9218));
    }
    sqlite3 *db = file.handle();
    {
        Statement s;
        const bool sound = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &s.st, nullptr) == SQLITE_OK
                           && sqlite3_step(s.st) == SQLITE_ROW && columnText(s.st, 0) == QLatin1String("ok");
        if (!sound)
            templateFault(vb::ErrDamaged, 9314, path, Strings::Load(9218));
    }
    Reading reading(db, path);
    const Schema found = reading.schema();
    const Schema &made = madeByItsSql();
    const auto foreign = [&path](const QString &reason) { templateFault(vb::ErrNotADatabase, 9361, path, reason); };
    if (found.applicationId != made.applicationId)
        foreign(Strings::Load(9220));
    if (found.userVersion != made.userVersion)
        foreign(Strings::Load(9362).arg(found.userVersion).arg(made.userVersion));
    for (const Declared &m : made.entries) {
        const Declared *f = found.find(m.type, m.name);
        if (!f)
            templateFault(vb::ErrTableNotFound, 9314, path, Strings::Load(9210).arg(m.name));
        compareTable(m, *f, path);
    }
    for (const Declared &f : found.entries) {
        if (made.find(f.type, f.name))
            continue;
        if (f.type == QLatin1String("table"))
            foreign(Strings::Load(9364).arg(f.name));
        if (f.type == QLatin1String("trigger"))
            foreign(Strings::Load(9368).arg(f.name));
        if (f.type == QLatin1String("view"))
            foreign(Strings::Load(9370).arg(f.name));
        // An index the engine made for a UNIQUE or PRIMARY KEY is a constraint of its table.
        if (f.name.startsWith(QLatin1String("sqlite_autoindex_"), Qt::CaseInsensitive))
            foreign(Strings::Load(9367).arg(f.table));
        foreign(Strings::Load(9369).arg(f.name));
    }
    // Every character file starts as a copy of it: a row in it would turn up
    // in every character saved.
    for (const Declared &m : made.entries)
        if (const qint64 rows = reading.rows(m.name); rows > 0)
            foreign(Strings::Load(9363).arg(m.name, held(rows)));
}

} // namespace

QByteArray TemplateImage(const QString &path)
{
    const QByteArray image = readTemplate(path);
    // The same bytes were found sound before: every save reads the file, but
    // looks into it only when it has changed.
    static QByteArray sound;
    if (image != sound) {
        checkTemplateImage(image, path);
        sound = image;
    }
    return image;
}

} // namespace datafiles
