#include "frame/DataFiles.h"

#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <optional>
#include <string_view>
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
        const QString list = columns.join(QStringLiteral(", "));
        const QByteArray sql =
            (condition.isEmpty()
                 ? QStringLiteral("SELECT %1 FROM %2 NOT INDEXED").arg(list, quoted(t.name))
                 : QStringLiteral("SELECT %1 FROM %2 WHERE %3 LIMIT 1").arg(list, quoted(t.name), condition))
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

// The rules texts the program turns into figures, each held at start to the
// form its readers take: a text outside it would be taken and read wrong in
// its own way later (a free rank, money taken away, an overflow at every
// total built on it), in words that name no file.
enum class Form {
    None,
    Progression, // five values joined by "•": whole numbers as written, or ¼, ½, ¾, 1½
    Cost,        // empty, or one to three prices joined by "/"
    Money,       // empty, or dice: a count, then one separator and the faces
    Roll,        // a band's lowest d100 roll in two digits, or "100"
};

Form formOf(const Table &t, const QString &column)
{
    static const struct {
        const char *table;
        const char *column;
        Form form;
    } texts[] = {
        {"Skill Bonus", "Skill_Bonus", Form::Progression},
        {"Race Abilities", "Body", Form::Progression},
        {"Race Abilities", "Channeling_PP", Form::Progression},
        {"Race Abilities", "Essence_PP", Form::Progression},
        {"Race Abilities", "Mentalism_PP", Form::Progression},
        {"Skill Category DP Cost", "Cost", Form::Cost},
        {"Training Package", "StartingMoney", Form::Money},
        {"Talents", "Roll", Form::Roll},
        {"Flaws", "Roll", Form::Roll},
        {"Special Items", "Roll", Form::Roll},
    };
    for (const auto &text : texts)
        if (t.name == QLatin1String(text.table) && column == QLatin1String(text.column))
            return text.form;
    return Form::None;
}

// The figures are 16-bit wherever the program keeps them.
constexpr qint64 kMost16 = 32767;

// The texts are read as the engine holds them, valid UTF-8 by then: most
// of these forms are ASCII, and the rules hold hundreds of costs.
using Bytes = std::string_view;

// The value of a run of ASCII digits, however long, held at `cap` + 1 once
// past `cap`; -1 when the text is empty or holds anything else.
template <typename Text>
qint64 digitsValue(const Text &text, qint64 cap)
{
    if (text.empty())
        return -1;
    qint64 value = 0;
    for (const auto c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = std::min<qint64>(value * 10 + (c - '0'), cap + 1);
    }
    return value;
}

// The most a progression may give: a bonus at no rank from -30 to 5, then at
// most 8, 4 and 2 a rank up to rank 30 and 1 a rank beyond, up or down. The
// ranks a character may hold (character/Limits.h) are bounded so that every
// total stays inside 16 bits along such progressions; steeper ones would
// overflow totals of characters inside the record's ranges. In quarters.
constexpr qint64 kNoRankLow = -30 * 4;
constexpr qint64 kNoRankHigh = 5 * 4;
constexpr qint64 kSteepest[] = {8 * 4, 4 * 4, 2 * 4, 1 * 4};

// The string number of what is wrong with a progression, 0 when nothing is.
int progressionFault(Bytes text)
{
    static constexpr Bytes bullet = "\xE2\x80\xA2";
    int tokens = 0;
    int fault = 0;
    qint64 quarters[5] = {};
    for (size_t from = 0;;) {
        const size_t at = text.find(bullet, from);
        Bytes token = text.substr(from, at == Bytes::npos ? Bytes::npos : at - from);
        if (++tokens > 5)
            return 9407;
        qint64 &q = quarters[tokens - 1];
        if (token == "\xC2\xBC")
            q = 1;
        else if (token == "\xC2\xBD")
            q = 2;
        else if (token == "\xC2\xBE")
            q = 3;
        else if (token == "1\xC2\xBD")
            q = 6;
        else {
            const bool negative = token.starts_with('-');
            if (negative || token.starts_with('+'))
                token.remove_prefix(1);
            const qint64 value = digitsValue(token, kMost16 + 1);
            if (value < 0)
                return 9407;
            if (value > (negative ? kMost16 + 1 : kMost16))
                fault = 9450;
            q = (negative ? -value : value) * 4;
        }
        if (at == Bytes::npos)
            break;
        from = at + bullet.size();
    }
    if (tokens != 5)
        return 9407;
    if (fault)
        return fault;
    if (quarters[0] < kNoRankLow || quarters[0] > kNoRankHigh)
        return 9455;
    for (int k = 1; k < 5; ++k)
        if (std::abs(quarters[k]) > kSteepest[k - 1])
            return 9455;
    return 0;
}

bool isCost(Bytes text)
{
    // No price: the category takes no ranks, its boxes stay shut.
    if (text.empty())
        return true;
    for (int part = 1;; ++part) {
        const size_t slash = text.find('/');
        if (part > 3)
            return false;
        if (const qint64 price = digitsValue(text.substr(0, slash), kMost16); price < 0 || price > kMost16)
            return false;
        if (slash == Bytes::npos)
            return true;
        text.remove_prefix(slash + 1);
    }
}

// Dice the roller throws: up to 101 faces (the open-ended roll), a die of no
// faces showing 1, as do the dice of a count written alone ("5"). The
// package reads the text trimmed, its count up to the first character that
// is no digit, its faces after the one character that follows.
bool isMoney(Bytes bytes)
{
    const QString whole = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    const QStringView text = QStringView(whole).trimmed();
    if (text.isEmpty())
        return true;
    qsizetype digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9')
        ++digits;
    const auto units = [&text](qsizetype from, qsizetype n = -1) {
        const QStringView part = text.mid(from, n);
        return std::u16string_view(part.utf16(), size_t(part.size()));
    };
    if (digits == 0 || digitsValue(units(0, digits), kMost16) > kMost16)
        return false;
    if (digits == text.size())
        return true;
    if (text[digits].isDigit() || text[digits].isSurrogate())
        return false;
    const qint64 faces = digitsValue(units(digits + 1), 101);
    return faces >= 0 && faces <= 101;
}

// The band walk reads the first two characters as the band's lowest roll and
// the first three as 100 for the end band; a range written after the lowest
// roll ("01-15") is only shown.
bool isRoll(Bytes text)
{
    if (text == "100")
        return true;
    if (text.size() < 2)
        return false;
    if (const qint64 lowest = digitsValue(text.substr(0, 2), 99); lowest < 1 || lowest > 99)
        return false;
    return text.size() == 2 || (text[2] == '-' && text.size() <= 6 && digitsValue(text.substr(3), 999) >= 0);
}

// The string number that says what is wrong with the text, 0 when nothing is.
int textFault(sqlite3_value *v, Form form)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return 0;   // the type check has its own words for that
    const Bytes text(reinterpret_cast<const char *>(sqlite3_value_text(v)), size_t(sqlite3_value_bytes(v)));
    switch (form) {
    case Form::Progression:
        return progressionFault(text);
    case Form::Cost:
        return isCost(text) ? 0 : 9451;
    case Form::Money:
        return isMoney(text) ? 0 : 9452;
    case Form::Roll:
        return isRoll(text) ? 0 : 9453;
    case Form::None:
        break;
    }
    return 0;
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
    std::vector<std::pair<int, Form>> texts;
    for (int c = 0; c < order.size(); ++c)
        if (const Form form = formOf(t, order[c]); form != Form::None)
            texts.emplace_back(c, form);
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
        for (const auto &[c, form] : texts)
            if (const int fault = textFault(row[size_t(c)], form))
                throw vb::Refusal(vb::ErrTypeMismatch, Strings::Load(fault).arg(order[c], t.name, QString::number(place),
                                                                                shownValue(row[size_t(c)])));
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
        // A link that leads nowhere is said to be one, as for the rules:
        // "missing" would send the player looking for a file that is there.
        struct stat link {};
        if (why == ELOOP)
            templateFault(vb::ErrCannotOpenFile, 9315, path, Strings::Load(9405));
        if (why == ENOENT && ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode))
            templateFault(vb::ErrCannotOpenFile, 9315, path, Strings::Load(9406).arg(QFileInfo(path).symLinkTarget()));
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
    std::optional<QByteArray> &sound = ModGeneral::SoundTemplate;
    if (!sound || image != *sound) {
        checkTemplateImage(image, path);
        sound = image;
    }
    return image;
}

} // namespace datafiles
