#include "frame/DataFiles.h"

#include "platform/Strings.h"
#include "platform/vb.h"

#include <QSet>
#include <sqlite3.h>

#include <initializer_list>

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
const ShapeText kTemplateText =
#include "TemplateShape.inc"
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

const Shape &templateShape()
{
    static const Shape shape = shapeOf(kTemplateText);
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
    dao::OpenOptions options;
    options.untrusted = true; // read only, nothing in it runs, its pages checked
    const dao::Database file = dao::Workspace().OpenDatabase(path, options);
    sqlite3 *db = file.handle();
    ReadTransaction reading(db);
    const Shape &expected = templateShape();
    if (pragmaNumber(db, "PRAGMA application_id") != expected.applicationId)
        throw vb::Refusal(vb::ErrNotADatabase, Strings::Load(9354));
    if (const qint64 version = pragmaNumber(db, "PRAGMA user_version"); version != expected.userVersion)
        throw vb::Refusal(vb::ErrNotADatabase,
                          Strings::Load(9355).arg(QString::number(version), QString::number(expected.userVersion)));
    // Every character file starts as a copy of the template: a row in it
    // would turn up in every character saved.
    const QSet<QString> tables = tableNames(db);
    for (const Table &t : expected.tables)
        if (TableScan(db, tables, t, QStringLiteral("1")).found())
            throw vb::Refusal(vb::ErrNotADatabase, Strings::Load(9356).arg(t.name));
}

} // namespace datafiles
