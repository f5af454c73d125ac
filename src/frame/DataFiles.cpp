#include "frame/DataFiles.h"

#include "platform/Strings.h"
#include "platform/vb.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
// The player is told so in the program's words, with the pages the engine
// names, if any; the engine's own report follows for whoever mends the file.
[[noreturn]] void damaged(const QStringList &reports)
{
    static const QRegularExpression page(QStringLiteral("\\bpage (\\d+)"), QRegularExpression::CaseInsensitiveOption);
    QStringList pages;
    for (const QString &report : reports)
        for (auto it = page.globalMatch(report); it.hasNext();)
            if (const QString n = it.next().captured(1); !pages.contains(n))
                pages << n;
    const QString words = pages.isEmpty() ? Strings::Load(9402)
                                          : Strings::Load(pages.size() == 1 ? 9400 : 9401).arg(pages.join(QStringLiteral(", ")));
    // Its first fault is enough, without the heading that names the database.
    QString said;
    for (const QString &report : reports)
        for (const QString &line : report.split(u'\n', Qt::SkipEmptyParts))
            if (said.isEmpty() && !line.startsWith(QLatin1String("***")))
                said = line.simplified();
    if (said.size() > 120)
        said = said.left(120) + QStringLiteral("…");
    throw vb::Refusal(vb::ErrDamaged, said.isEmpty() ? words : words + u'\n' + Strings::Load(9403).arg(said));
}

[[noreturn]] void failed(sqlite3 *db, int rc)
{
    if ((rc & 0xff) == SQLITE_NOTADB)
        vb::Raise(vb::ErrNotADatabase);
    if ((rc & 0xff) == SQLITE_NOMEM)
        vb::Raise(vb::ErrOutOfMemory);
    damaged({QString::fromUtf8(sqlite3_errmsg(db))});
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
// row that meets `condition`, or with none walks every row in stored order.
// The identifiers come first in the row, then the other columns, then `extra`
// when given.
class TableScan {
public:
    TableScan(sqlite3 *db, const QSet<QString> &tables, const Table &t, const QString &condition,
              const QString &extra = {})
        : m_db(db)
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
        if (!extra.isEmpty())
            columns << extra;
        const QByteArray sql = (condition.isEmpty() ? QStringLiteral("SELECT %1 FROM %2 NOT INDEXED")
                                                    : QStringLiteral("SELECT %1 FROM %2 WHERE %3 LIMIT 1"))
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

// What the rules' SQL declares of their content (written by mkdat at build
// time): for each table the rows it fills it with, each column's declared
// type ('i' whole numbers, 'r' numbers, 't' text, 0 anything), whether it may
// be empty and whether it makes the key, and the column sets declared unique.
struct ColumnRule {
    const char *name;
    char kind;
    bool notNull;
    bool key;
};
struct UniqueRule {
    const char *where; // a partial index's condition, empty for the whole table
    std::initializer_list<const char *> columns;
};
struct TableRule {
    const char *name;
    qint64 rows;
    std::initializer_list<ColumnRule> columns;
    std::initializer_list<UniqueRule> unique;
};
struct ContentText {
    std::initializer_list<TableRule> tables;
};
const ContentText kRulesContent =
#include "RulesContent.inc"
    ;

// Tables whose rows the program counts on one by one, not just on having some.
const QStringList &exactTables()
{
    static const QStringList tables{QStringLiteral("Stat")};
    return tables;
}

// Keys whose 0 is a row of its own ("no shield"); every other key starts at 1.
const QStringList &keysFromZero()
{
    static const QStringList keys{QStringLiteral("Shield.Shield_ID")};
    return keys;
}

const TableRule *ruleOf(const QString &table)
{
    for (const TableRule &r : kRulesContent.tables)
        if (table.compare(QLatin1String(r.name), Qt::CaseInsensitive) == 0)
            return &r;
    return nullptr;
}

// How one column's values are held to its declaration.
enum Check : int {
    KindMask = 0xff,
    NotNull = 0x100,
    Identifier = 0x200, // a whole number, never empty, at least 0...
    KeyFromOne = 0x400, // ...or at least 1 for the table's own key
};

enum class Fault { None, Empty, NotWhole, NotNumber, NotText, NotUtf8, IdBelow };

bool validUtf8(const unsigned char *p, int n)
{
    const unsigned char *end = p + n;
    while (p < end) {
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        int more;
        char32_t code;
        if (c >= 0xc2 && c <= 0xdf) {
            more = 1;
            code = c & 0x1f;
        } else if (c >= 0xe0 && c <= 0xef) {
            more = 2;
            code = c & 0x0f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            more = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (end - p < more)
            return false;
        for (int i = 0; i < more; ++i, ++p) {
            if ((*p & 0xc0) != 0x80)
                return false;
            code = (code << 6) | (*p & 0x3f);
        }
        // Overlong forms, surrogates and what lies past the last code point.
        if ((more == 2 && code < 0x800) || (more == 3 && code < 0x10000) || code > 0x10ffff
            || (code >= 0xd800 && code <= 0xdfff))
            return false;
    }
    return true;
}

Fault faultOf(sqlite3_value *v, int check)
{
    const int type = sqlite3_value_type(v);
    if (check & Identifier) {
        if (type == SQLITE_NULL)
            return Fault::Empty;
        if (type != SQLITE_INTEGER)
            return Fault::NotWhole;
        return sqlite3_value_int64(v) < ((check & KeyFromOne) ? 1 : 0) ? Fault::IdBelow : Fault::None;
    }
    if (type == SQLITE_NULL)
        return (check & NotNull) ? Fault::Empty : Fault::None;
    switch (check & KindMask) {
    case 'i':
        return type == SQLITE_INTEGER ? Fault::None : Fault::NotWhole;
    case 'r':
        return type == SQLITE_INTEGER || type == SQLITE_FLOAT ? Fault::None : Fault::NotNumber;
    case 't':
        if (type != SQLITE_TEXT)
            return Fault::NotText;
        return validUtf8(sqlite3_value_text(v), sqlite3_value_bytes(v)) ? Fault::None : Fault::NotUtf8;
    default:
        return Fault::None;
    }
}

int checkOf(const Table &t, const TableRule *rule, const QString &column)
{
    int check = 0;
    if (rule)
        for (const ColumnRule &c : rule->columns)
            if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) {
                check = int(static_cast<unsigned char>(c.kind)) | (c.notNull ? NotNull : 0);
                if (c.key && !keysFromZero().contains(t.name + u'.' + column))
                    check |= KeyFromOne;
            }
    if (t.ids.contains(column))
        check |= Identifier;
    return check;
}

// A value as the box shows it: a text cut short, bytes in hexadecimal.
QString shownValue(sqlite3_value *v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_BLOB: {
        const QByteArray bytes(static_cast<const char *>(sqlite3_value_blob(v)), std::min(sqlite3_value_bytes(v), 8));
        return QStringLiteral("x'%1'").arg(QString::fromLatin1(bytes.toHex()));
    }
    case SQLITE_NULL:
        return {};
    default: {
        QString value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
        if (value.size() > 40)
            value = value.left(40) + QStringLiteral("…");
        return value;
    }
    }
}

[[noreturn]] void wrongValue(const Table &t, const QString &column, sqlite3_value *v, Fault fault, int check,
                             qint64 place)
{
    const QString row = QString::number(place);
    const QString value = shownValue(v);
    const bool id = check & Identifier;
    switch (fault) {
    case Fault::Empty:
        throw vb::Refusal(vb::ErrInvalidUseOfNull, Strings::Load(id ? 9358 : 9390).arg(column, t.name, row));
    case Fault::NotWhole:
        throw vb::Refusal(vb::ErrTypeMismatch, Strings::Load(id ? 9353 : 9391).arg(column, t.name, row, value));
    case Fault::NotNumber:
        throw vb::Refusal(vb::ErrTypeMismatch, Strings::Load(9392).arg(column, t.name, row, value));
    case Fault::NotText:
        throw vb::Refusal(vb::ErrTypeMismatch, Strings::Load(9393).arg(column, t.name, row, value));
    case Fault::NotUtf8:
        throw vb::Refusal(vb::ErrDamaged, Strings::Load(9394).arg(column, t.name, row));
    case Fault::IdBelow:
    case Fault::None:
        break;
    }
    throw vb::Refusal(vb::ErrTypeMismatch,
                      Strings::Load(9395).arg(column, t.name, row, value, QString::number((check & KeyFromOne) ? 1 : 0)));
}

// A set of columns the SQL declares unique, and the rows met so far by their
// values there.
struct UniqueSeen {
    QVector<int> at;  // the columns' places in the row read
    int when = -1;    // the place of a partial index's condition, if any
    QHash<QByteArray, qint64> rows;
};

// The values at `at` into `key`, as the engine tells them apart; false when
// one is empty, as a unique index lets empty values repeat.
bool keyOf(const std::vector<sqlite3_value *> &row, const QVector<int> &at, QByteArray &key)
{
    key.clear();
    for (int c : at) {
        sqlite3_value *v = row[size_t(c)];
        const int type = sqlite3_value_type(v);
        key += char(type);
        if (type == SQLITE_NULL)
            return false;
        if (type == SQLITE_INTEGER) {
            const qint64 n = sqlite3_value_int64(v);
            key.append(reinterpret_cast<const char *>(&n), sizeof n);
        } else if (type == SQLITE_FLOAT) {
            const double d = sqlite3_value_double(v);
            key.append(reinterpret_cast<const char *>(&d), sizeof d);
        } else {
            const int n = sqlite3_value_bytes(v);
            key.append(reinterpret_cast<const char *>(&n), sizeof n);
            key.append(static_cast<const char *>(sqlite3_value_blob(v)), n);
        }
    }
    return true;
}

// Every column of the table is there, every value in it what the SQL
// declares, no element twice where the SQL makes it unique, and rows in it if
// the SQL fills it: all in the one walk of its rows.
void checkRulesTable(sqlite3 *db, const QSet<QString> &tables, const Table &t)
{
    const TableRule *rule = ruleOf(t.name);
    QStringList order = t.ids;
    for (const QString &c : t.columns)
        if (!t.ids.contains(c))
            order << c;
    QVector<int> checks;
    for (const QString &c : order)
        checks << checkOf(t, rule, c);
    std::vector<UniqueSeen> unique;
    QStringList conditions;
    if (rule)
        for (const UniqueRule &u : rule->unique) {
            UniqueSeen seen;
            for (const char *c : u.columns)
                if (const qsizetype at = order.indexOf(QString::fromUtf8(c)); at >= 0)
                    seen.at << int(at);
            if (seen.at.size() != qsizetype(u.columns.size()))
                continue;   // a column no reader names
            if (*u.where) {
                seen.when = int(order.size() + conditions.size());
                conditions << QStringLiteral("(%1)").arg(QString::fromUtf8(u.where));
            }
            unique.push_back(std::move(seen));
        }
    TableScan scan(db, tables, t, QString(), conditions.join(QStringLiteral(", ")));
    sqlite3_stmt *st = scan.row();
    // Each value is fetched once: every fetch takes the engine's lock.
    std::vector<sqlite3_value *> row(size_t(order.size() + conditions.size()));
    QByteArray key;
    qint64 place = 0;
    while (scan.found()) {
        ++place;
        for (size_t c = 0; c < row.size(); ++c)
            row[c] = sqlite3_column_value(st, int(c));
        for (int c = 0; c < order.size(); ++c)
            if (const Fault fault = faultOf(row[size_t(c)], checks[c]); fault != Fault::None)
                wrongValue(t, order[c], row[size_t(c)], fault, checks[c], place);
        for (UniqueSeen &u : unique) {
            if (u.when >= 0 && !sqlite3_value_int(row[size_t(u.when)]))
                continue;
            if (!keyOf(row, u.at, key))
                continue;
            const auto first = u.rows.constFind(key);
            if (first == u.rows.cend()) {
                u.rows.insert(key, place);
                continue;
            }
            QStringList element;
            for (int c : u.at)
                element << order[c] + u' ' + shownValue(row[size_t(c)]);
            throw vb::Refusal(vb::ErrDuplicate, Strings::Load(9396).arg(t.name, element.join(QStringLiteral(", ")),
                                                                        QString::number(first.value()),
                                                                        QString::number(place)));
        }
    }
    if (!rule || rule->rows == 0)
        return;
    if (place == 0)
        throw vb::Refusal(vb::ErrNoCurrentRecord, Strings::Load(9397).arg(t.name));
    if (exactTables().contains(t.name) && place != rule->rows)
        throw vb::Refusal(vb::ErrNoCurrentRecord,
                          Strings::Load(9398).arg(t.name, QString::number(place), QString::number(rule->rows)));
}

} // namespace

void CheckOpenable(const QString &path, int number)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    int error = 0;
    QString why;
    if (!path.isEmpty() && ::stat(name.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = vb::ErrCannotOpenFile;
            why = Strings::Load(9231);
        } else if (!S_ISREG(st.st_mode)) {
            error = vb::ErrNotADatabase;
            why = Strings::Load(9232);
        } else if (::access(name.constData(), R_OK) != 0) {
            error = vb::ErrIo;
            why = Strings::Load(9233);
        } else {
            return;
        }
    } else {
        const int cause = path.isEmpty() ? ENOENT : errno;
        error = vb::ErrCannotOpenFile;
        struct stat link {};
        if (cause == ELOOP)
            why = Strings::Load(9405);
        else if (cause == EACCES)
            why = Strings::Load(9311);
        else if (cause == ENOENT && ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode))
            why = Strings::Load(9406).arg(QFileInfo(path).symLinkTarget());
        else if (cause == ENOENT || cause == ENOTDIR)
            why = Strings::Load(9230);
        else
            why = Strings::Load(9234).arg(QString::fromLocal8Bit(std::strerror(cause)));
    }
    throw vb::Refusal(number ? number : error, Strings::Load(9399).arg(why));
}

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
        // A sound file costs the same whatever the count: the check reads it
        // all. A damaged one names up to that many faults, hence its pages.
        Statement s;
        prepare(db, QStringLiteral("PRAGMA quick_check(20)"), s);
        QStringList verdict;
        int rc;
        while ((rc = sqlite3_step(s.st)) == SQLITE_ROW)
            verdict << columnText(s.st, 0);
        if (rc != SQLITE_DONE && (rc & 0xff) != SQLITE_CORRUPT)
            failed(db, rc);
        if (rc != SQLITE_DONE)
            verdict << QString::fromUtf8(sqlite3_errmsg(db));
        if (verdict != QStringList{QStringLiteral("ok")})
            damaged(verdict);
    }
    const QSet<QString> tables = tableNames(db);
    for (const Table &t : RulesRead())
        checkRulesTable(db, tables, t);
}

void CheckTemplate(const QString &path)
{
    CheckOpenable(path);
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
