// The character file's ten tables and the record's fields in them: what a
// save writes where, and how every row read back is held to what a save
// could have written.
#include "character/Personnage.h"

#include "character/CharacterFile.h"
#include "character/CharacterFileParts.h"
#include "character/Limits.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/dao.h"

#include <QHash>
#include <QStringDecoder>
#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <vector>

namespace limits = character::limits;
using namespace charfile;
using vb::Refusal;

namespace {

constexpr int ErrInvalidUseOfNull = 94;

constexpr qint64 kMin32 = std::numeric_limits<qint32>::min();
constexpr qint64 kMax32 = std::numeric_limits<qint32>::max();
constexpr qint64 kMin16 = std::numeric_limits<qint16>::min();
constexpr qint64 kMax16 = std::numeric_limits<qint16>::max();

QString quoteValue(const QVariant &v)
{
    if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        return QStringLiteral("x'%1%2'").arg(QString::fromLatin1(b.left(8).toHex()),
                                             b.size() > 8 ? QStringLiteral("…") : QString());
    }
    if (v.typeId() == QMetaType::Double)
        return vb::NumText(v.toDouble());
    const QString t = v.toString();
    return t.size() > 40 ? t.left(40) + QStringLiteral("…") : t;
}

// "the table “Stats” holds 20 rows where exactly 10 are needed", with the
// singular and plural each language gives a count.
QString rowCountWrong(const QString &table, qint64 rows, qint64 needed, bool exactly)
{
    const QString held = Strings::Load(rows == 0 ? 9300 : rows == 1 ? 9301 : 9302).arg(rows);
    const int need = exactly ? (needed == 1 ? 9305 : 9306) : (needed == 1 ? 9303 : 9304);
    return Strings::Load(9307).arg(table, held, Strings::Load(need).arg(needed));
}

// One table of the file being read, row by row. Every value is checked
// against what the program itself writes there: a whole-number column holds a
// whole number stored as one, identifiers and ranks lie in the ranges the
// record and its computations hold, no element comes twice, and a text is
// valid UTF-8 no longer than a text box takes. Anything else is refused in
// words.
class TableReader {
public:
    // `needed`: the rows the reader takes; `exactly`: the table must hold
    // those rows and no more, since a save writes them and nothing else.
    TableReader(const QString &file, const char *name, int needed = 0, bool exactly = false)
        : m_file(file), m_name(name), m_needed(needed), m_exactly(exactly)
    {
        ModGeneral::Sql = QString::fromLatin1(name);
        // Counted before the rows are read, so that a table of a million rows
        // costs a count and no more.
        const QByteArray count = "SELECT count(*) FROM \"" + QByteArray(name).replace('"', "\"\"") + '"';
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(ModGeneral::DbPlayer.handle(), count.constData(), -1, &st, nullptr) == SQLITE_OK
            && sqlite3_step(st) == SQLITE_ROW)
            m_rows = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        if (m_rows > character::MaxTableRows)
            tooLarge(m_file, Strings::Load(9226).arg(tableName()).arg(m_rows).arg(character::MaxTableRows));
        // The rows in the order they were written, as a recordset on the
        // table gives them, read one at a time: the whole check of a file at
        // the row caps is a pass over its rows and no more.
        sqlite3 *db = ModGeneral::DbPlayer.handle();
        const QByteArray quoted = '"' + QByteArray(name).replace('"', "\"\"") + '"';
        if (sqlite3_prepare_v2(db, "SELECT * FROM " + quoted + " ORDER BY rowid", -1, &m_st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_st);
            m_st = nullptr;
            if (sqlite3_prepare_v2(db, "SELECT * FROM " + quoted, -1, &m_st, nullptr) != SQLITE_OK) {
                if (QByteArray(sqlite3_errmsg(db)).startsWith("no such table"))
                    damaged(vb::ErrTableNotFound, m_file, Strings::Load(9210).arg(tableName()));
                damaged(ErrDamaged, m_file, Strings::Load(9218));
            }
        }
        // Column names as a recordset matches them: whatever the case, with
        // brackets and outer blanks left out.
        for (int c = 0; c < sqlite3_column_count(m_st); ++c) {
            QString column = QString::fromUtf8(sqlite3_column_name(m_st, c));
            column.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            m_columns << column.trimmed();
        }
        step();
    }
    ~TableReader() { sqlite3_finalize(m_st); }
    TableReader(const TableReader &) = delete;
    TableReader &operator=(const TableReader &) = delete;

    bool atEnd() const { return !m_onRow; }
    void next()
    {
        step();
        ++m_row;
    }
    void close()
    {
        sqlite3_finalize(m_st);
        m_st = nullptr;
        m_onRow = false;
    }

    // A whole number in the range.
    qint32 whole(const char *column, limits::Range<qint32> range) { return whole(column, range.low, range.high); }
    // A whole number from min to max.
    qint32 whole(const char *column, qint64 min, qint64 max)
    {
        const QVariant v = present(column);
        if (v.typeId() != QMetaType::Int && v.typeId() != QMetaType::LongLong)
            wrong(vb::ErrTypeMismatch, 9214, column, v);
        return inRange(column, v.toLongLong(), min, max);
    }
    // A number of single precision in the range.
    float fraction(const char *column, limits::Range<double> range)
    {
        const QVariant v = present(column);
        if (v.typeId() != QMetaType::Int && v.typeId() != QMetaType::LongLong && v.typeId() != QMetaType::Double)
            wrong(vb::ErrTypeMismatch, 9215, column, v);
        const double d = v.toDouble();
        if (!std::isfinite(d) || std::fabs(d) > double(std::numeric_limits<float>::max()))
            wrong(vb::ErrOverflow, 9215, column, v);
        const float f = vb::CSng(d);
        if (!range.contains(double(f)))
            outOfRange(column, vb::NumText(d), vb::NumText(range.low), vb::NumText(range.high));
        return f;
    }
    // The column that numbers the rows of a fixed table holds the number the
    // row is read for: a row out of place means the table is not what a save wrote.
    void position(const char *column, qint32 expected)
    {
        const qint32 n = whole(column, kMin32, kMax32);
        if (n != expected)
            damaged(ErrDamaged, m_file,
                    Strings::Load(9308).arg(QLatin1String(column), tableName()).arg(m_row).arg(n).arg(expected));
    }
    // After the last row taken: a fixed table holds no more.
    void expectEnd()
    {
        if (m_exactly && !atEnd())
            damaged(ErrDamaged, m_file, rowCountWrong(tableName(), m_rows, m_needed, true));
    }
    // The element of the current row, known by its identifier and, in the
    // keyed tables, its second key, has not come in an earlier row: the
    // computations would take one of them and the skill window could show
    // neither.
    void unique(const char *idColumn, qint32 id, const char *keyColumn = nullptr, qint32 key = 0)
    {
        const quint64 element = (quint64(quint32(id)) << 32) | quint32(key);
        if (const auto at = m_seen.constFind(element); at != m_seen.cend()) {
            QString shown = QStringLiteral("%1 %2").arg(QLatin1String(idColumn)).arg(id);
            if (keyColumn)
                shown += QStringLiteral(", %1 %2").arg(QLatin1String(keyColumn)).arg(key);
            damaged(vb::ErrDuplicate, m_file, Strings::Load(9309).arg(tableName()).arg(*at).arg(m_row).arg(shown));
        }
        m_seen.insert(element, m_row);
    }
    // A yes/no value: the engine's -1 or 0, or any other whole number.
    bool flag(const char *column) { return whole(column, kMin32, kMax32) != 0; }
    QString text(const char *column) { return checkedText(column, present(column)); }
    // A text that may be missing (a history never written).
    QVariant optionalText(const char *column)
    {
        const QVariant v = value(column);
        if (!v.isValid() || v.isNull())
            return QVariant();
        return checkedText(column, v);
    }
    // A whole number kept as its decimal text, as the sub-skill table stores
    // every number: exactly the text the program writes for it.
    QString wholeText(const char *column, limits::Range<qint32> range)
    {
        return wholeText(column, range.low, range.high);
    }
    QString wholeText(const char *column, qint64 min, qint64 max)
    {
        const QVariant v = present(column);
        if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            return QString::number(inRange(column, v.toLongLong(), min, max));
        if (v.typeId() != QMetaType::QString)
            wrong(vb::ErrTypeMismatch, 9214, column, v);
        const QString t = v.toString();
        bool ok = t.size() <= 11;
        const qint64 n = ok ? t.toLongLong(&ok) : 0;
        if (!ok || QString::number(n) != t)
            wrong(vb::ErrTypeMismatch, 9214, column, v);
        return QString::number(inRange(column, n, min, max));
    }

private:
    QString tableName() const { return QString::fromLatin1(m_name); }

    void step()
    {
        const int rc = m_st ? sqlite3_step(m_st) : SQLITE_DONE;
        m_onRow = rc == SQLITE_ROW;
        if (rc == SQLITE_ROW || rc == SQLITE_DONE)
            return;
        if ((rc & 0xff) == SQLITE_NOMEM)
            vb::Raise(vb::ErrOutOfMemory);
        damaged(ErrDamaged, m_file, Strings::Load(9218));
    }

    // The column's value in the current row: empty for NULL, a whole number
    // as int where it fits, else as a 64-bit one.
    QVariant value(const char *column)
    {
        const int c = columnIndex(column);
        if (!m_onRow)
            damaged(vb::ErrNoCurrentRecord, m_file, rowCountWrong(tableName(), m_rows, m_needed, m_exactly));
        switch (sqlite3_column_type(m_st, c)) {
        case SQLITE_INTEGER: {
            const qint64 v = sqlite3_column_int64(m_st, c);
            return v >= kMin32 && v <= kMax32 ? QVariant(int(v)) : QVariant(v);
        }
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_st, c));
        case SQLITE_TEXT:
            return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_st, c)),
                                              sqlite3_column_bytes(m_st, c)));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(m_st, c)),
                                       sqlite3_column_bytes(m_st, c)));
        default:
            return QVariant();
        }
    }
    // The readers name their columns by literals: a name is looked up once a
    // table, not once a value, which on a file at the row caps is the most of
    // what reading it costs.
    int columnIndex(const char *column)
    {
        for (const auto &[name, at] : m_known)
            if (name == column)
                return at;
        int c = 0;
        while (c < m_columns.size() && m_columns[c].compare(QLatin1String(column), Qt::CaseInsensitive) != 0)
            ++c;
        if (c == m_columns.size())
            damaged(vb::ErrNotInCollection, m_file, Strings::Load(9211).arg(QLatin1String(column), tableName()));
        m_known.emplace_back(column, c);
        return c;
    }
    QVariant present(const char *column)
    {
        const QVariant v = value(column);
        if (!v.isValid() || v.isNull())
            damaged(ErrInvalidUseOfNull, m_file,
                    Strings::Load(9213).arg(QLatin1String(column), tableName()).arg(m_row));
        return v;
    }
    QString checkedText(const char *column, const QVariant &v)
    {
        QString t;
        if (v.typeId() == QMetaType::QString) {
            t = v.toString();
            // Bytes that are no UTF-8 came out as U+FFFD, and a save would
            // write that in their place.
            if (t.contains(QChar::ReplacementCharacter) && !storedAsUtf8(column))
                damaged(ErrDamaged, m_file,
                        Strings::Load(9310).arg(QLatin1String(column), tableName()).arg(m_row));
        } else if (v.typeId() == QMetaType::Double)
            t = vb::NumText(v.toDouble());
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            t = QString::number(v.toLongLong());
        else
            damaged(vb::ErrTypeMismatch, m_file,
                    Strings::Load(9217).arg(QLatin1String(column), tableName()).arg(m_row));
        if (t.size() > character::MaxTextLength)
            tooLarge(m_file, Strings::Load(9227)
                                 .arg(QLatin1String(column), tableName())
                                 .arg(m_row)
                                 .arg(t.size())
                                 .arg(character::MaxTextLength));
        return t;
    }
    qint32 inRange(const char *column, qint64 n, qint64 min, qint64 max)
    {
        if (n < min || n > max)
            outOfRange(column, QString::number(n), QString::number(min), QString::number(max));
        return qint32(n);
    }
    [[noreturn]] void outOfRange(const char *column, const QString &n, const QString &min, const QString &max)
    {
        damaged(vb::ErrOverflow, m_file,
                Strings::Load(9216).arg(QLatin1String(column), tableName()).arg(m_row).arg(n, min, max));
    }
    // Whether the current row's text in the column is stored as valid UTF-8.
    // Asked only of a text that shows U+FFFD, which a player may also have typed.
    bool storedAsUtf8(const char *column) const
    {
        const QByteArray sql = "SELECT \"" + QByteArray(column).replace('"', "\"\"") + "\" FROM \""
                               + QByteArray(m_name).replace('"', "\"\"") + "\" ORDER BY rowid LIMIT 1 OFFSET ?1";
        sqlite3_stmt *st = nullptr;
        bool valid = false;
        if (sqlite3_prepare_v2(ModGeneral::DbPlayer.handle(), sql.constData(), -1, &st, nullptr) == SQLITE_OK) {
            sqlite3_bind_int64(st, 1, m_row - 1);
            if (sqlite3_step(st) == SQLITE_ROW) {
                const QByteArray bytes(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)),
                                       sqlite3_column_bytes(st, 0));
                QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                const QString decoded = utf8.decode(bytes);   // decoding is lazy until taken
                valid = !decoded.isNull() && !utf8.hasError();
            }
        }
        sqlite3_finalize(st);
        return valid;
    }
    [[noreturn]] void wrong(int number, int reason, const char *column, const QVariant &v)
    {
        damaged(number, m_file,
                Strings::Load(reason).arg(QLatin1String(column), tableName()).arg(m_row).arg(quoteValue(v)));
    }

    const QString &m_file;
    const char *m_name;
    int m_needed;
    bool m_exactly;
    qint64 m_rows = 0;
    int m_row = 1;
    sqlite3_stmt *m_st = nullptr;
    bool m_onRow = false;
    QStringList m_columns;
    std::vector<std::pair<const char *, int>> m_known;
    QHash<quint64, int> m_seen;   // element -> the row it came in first
};

} // namespace

namespace charfile {

void exec(sqlite3 *db, const char *sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        sqlite3_free(err);
        vb::Raise(vb::ErrIo);
    }
}

void closeShared()
{
    try {
        if (ModGeneral::DbPlayer.isOpen())
            ModGeneral::DbPlayer.Close();
    } catch (const vb::Error &) {
        // The file is being given up anyway; the failure that led here is the one to report.
    }
    ModGeneral::DbPlayer = dao::Database();
}

} // namespace charfile

namespace {

// Appends rows to one table of the file being written. One statement per
// table, prepared once: a save writes a few hundred rows and must stay quick.
class RowWriter {
public:
    RowWriter(sqlite3 *db, const char *table, std::initializer_list<const char *> columns)
        : m_columns(int(columns.size()))
    {
        ModGeneral::Sql = QString::fromLatin1(table);
        QByteArray sql = QByteArray("INSERT INTO \"") + table + "\" (";
        QByteArray marks;
        for (const char *c : columns) {
            sql += QByteArray(marks.isEmpty() ? "\"" : ", \"") + c + '"';
            marks += marks.isEmpty() ? "?" : ", ?";
        }
        sql += ") VALUES (" + marks + ')';
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_st, nullptr) != SQLITE_OK) {
            const QByteArray why = sqlite3_errmsg(db);
            vb::Raise(why.contains("no such table") ? vb::ErrTableNotFound
                      : why.contains("no column")   ? vb::ErrNotInCollection
                                                    : vb::ErrIo);
        }
    }
    ~RowWriter() { sqlite3_finalize(m_st); }
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    void row(std::initializer_list<QVariant> values)
    {
        int i = 0;
        for (const QVariant &v : values)
            bind(++i, v);
        const int rc = sqlite3_step(m_st);
        sqlite3_reset(m_st);
        if (rc != SQLITE_DONE)
            vb::Raise(rc == SQLITE_FULL ? vb::ErrDiskFull : vb::ErrIo);
    }

private:
    void bind(int i, const QVariant &v)
    {
        if (i > m_columns)
            vb::Raise(vb::ErrSubscript);
        switch (v.typeId()) {
        case QMetaType::QString: {
            const QByteArray text = v.toString().toUtf8();
            sqlite3_bind_text(m_st, i, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::Bool:   // the engine's true is -1
            sqlite3_bind_int(m_st, i, v.toBool() ? -1 : 0);
            break;
        case QMetaType::Double: case QMetaType::Float:
            sqlite3_bind_double(m_st, i, v.toDouble());
            break;
        case QMetaType::Int: case QMetaType::Short: case QMetaType::LongLong: case QMetaType::UInt:
            sqlite3_bind_int64(m_st, i, v.toLongLong());
            break;
        default:
            if (!v.isValid() || v.isNull())
                sqlite3_bind_null(m_st, i);
            else
                vb::Raise(vb::ErrTypeMismatch);
        }
    }

    sqlite3_stmt *m_st = nullptr;
    int m_columns;
};

} // namespace

void Personnage::checkSavable()
{
    // What the reader would refuse is refused now, while the character is
    // still whole in memory and the file saved before is untouched.
    const auto refuse = [](const QString &reason) { throw Refusal(vb::ErrIo, charfile::notSaved(reason)); };
    const auto text = [&refuse](int label, const QString &t) {
        if (t.size() > character::MaxTextLength)
            refuse(Strings::Load(9241).arg(Strings::Load(label)).arg(t.size()).arg(character::MaxTextLength));
    };
    const auto rows = [&refuse](const char *table, qint64 count) {
        if (count > character::MaxTableRows)
            refuse(Strings::Load(9247).arg(QLatin1String(table)).arg(count).arg(character::MaxTableRows));
    };
    text(9242, Nom);
    text(9243, Cheveux);
    text(9244, Yeux);
    text(9245, Historique.toString());
    qint64 subSkills = 0;
    for (qint64 row = SubSkills.lower(); row <= SubSkills.upper(); ++row) {
        if (SubSkills(fId, row).isEmpty())
            continue;
        ++subSkills;
        text(9246, SubSkills(fSubSkillName, row));
    }
    rows("SubSkills", subSkills);
    const auto used = [](const character::GrowTable<qint32> &cells) {
        qint64 n = 0;
        for (qint64 row = cells.lower(); row <= cells.upper(); ++row)
            n += cells(fId, row) > 0 ? 1 : 0;
        return n;
    };
    rows("Skill Categorie", used(SkillCat));
    rows("Skill", used(Skill));
    rows("Language Skills", used(LanguageSkills));
    rows("Weapon Skills", used(WeaponSkills));
    rows("Spell Skills", used(SpellSkills));
}

void Personnage::writeTables()
{
    sqlite3 *db = ModGeneral::DbPlayer.handle();
    {
        RowWriter w(db, "General",
                    {"Nom", "Race_ID", "Profession_ID", "Culture_ID", "Royaume_ID", "Sexe", "Poids", "Grandeur",
                     "Age", "Cheveux", "Yeux", "Experience", "Apparence", "PdeD", "Money", "Historique", "Armure",
                     "Casque", "Bouclier"});
        w.row({Nom, Race_ID, Profession_ID, Culture_ID, Royaume_ID, Sexe, double(Poids), double(Grandeur),
               double(Age), Cheveux, Yeux, Experience, int(Apparence), int(PdeD), Money, Historique, Armure, Casque,
               Bouclier});
    }
    {
        RowWriter w(db, "Stats", {"Stats_ID", "temp", "pot", "Special"});
        for (int i = 0; i <= 9; ++i)
            w.row({i, int(Stats(0, i)), int(Stats(1, i)), int(Stats(2, i))});
    }
    {
        RowWriter w(db, "Categorie Weapon", {"CategorieWeapon_ID", "CategorieWeapon"});
        for (int i = 0; i <= 6; ++i)
            w.row({i, int(CategorieWeapon(i))});
    }
    {
        RowWriter w(db, "Resistance Special", {"Resistance_ID", "ResistanceSpecial"});
        for (int k = 1; k <= 9; ++k)
            w.row({k, int(ResistanceSpecial(k))});
    }
    // Only used rows are stored. Categories and skills include the row at the
    // capacity, which some writers may fill; leaving it out would lose it.
    const auto writeFour = [db](const char *table, const char *idColumn, const character::GrowTable<qint32> &cells) {
        RowWriter w(db, table, {idColumn, "Rank", "Special1", "Special2"});
        for (qint64 row = cells.lower(); row <= cells.upper(); ++row)
            if (cells(fId, row) > 0)
                w.row({cells(fId, row), cells(fRank, row), cells(fSpecial1, row), cells(fSpecial2, row)});
    };
    writeFour("Skill Categorie", "SkillCat_ID", SkillCat);
    writeFour("Skill", "Skill_ID", Skill);
    {
        RowWriter w(db, "SubSkills", {"Skill_ID", "Rank", "Item", "Special", "SubSkill_ID", "Name"});
        for (qint64 row = SubSkills.lower(); row <= SubSkills.upper(); ++row)
            if (!SubSkills(fId, row).isEmpty())
                w.row({SubSkills(0, row), SubSkills(1, row), SubSkills(2, row), SubSkills(3, row),
                       SubSkills(4, row), SubSkills(5, row)});
    }
    const auto writeFive = [db](const char *table, const char *keyColumn, const character::GrowTable<qint32> &cells) {
        RowWriter w(db, table, {"Skill_ID", "Rank", "Item", "Special", keyColumn});
        for (qint64 row = cells.lower(); row <= cells.upper(); ++row)
            if (cells(fId, row) > 0)
                w.row({cells(fId, row), cells(fRank, row), cells(fItem, row), cells(fSpecial, row),
                       cells(fKey, row)});
    };
    writeFive("Language Skills", "Language_ID", LanguageSkills);
    writeFive("Weapon Skills", "Weapon_ID", WeaponSkills);
    writeFive("Spell Skills", "List_ID", SpellSkills);
}

void Personnage::readTables()
{
    const QString &file = FileName;
    {
        TableReader t(file, "General", 1, true);
        Nom = t.text("Nom");
        Race_ID = t.whole("Race_ID", 0, kMax32);
        Profession_ID = t.whole("Profession_ID", 0, kMax32);
        Culture_ID = t.whole("Culture_ID", 0, kMax32);
        Royaume_ID = t.whole("Royaume_ID", 0, kMax32);
        Sexe = t.flag("Sexe");
        // Fractions are whatever a player typed into the sheet, negative ones included.
        Poids = t.fraction("Poids", limits::kPhysique);
        Grandeur = t.fraction("Grandeur", limits::kPhysique);
        Age = t.fraction("Age", limits::kPhysique);
        Cheveux = t.text("Cheveux");
        Yeux = t.text("Yeux");
        Experience = t.whole("Experience", limits::kExperience);
        Apparence = qint16(t.whole("Apparence", kMin16, kMax16));
        PdeD = qint16(t.whole("PdeD", kMin16, kMax16));
        Money = t.whole("Money", kMin32, kMax32);
        Historique = t.optionalText("Historique");
        Armure = t.whole("Armure", 0, kMax32);
        Casque = t.whole("Casque", 0, kMax32);
        Bouclier = t.whole("Bouclier", 0, kMax32);
        // Only the first row would be read and the next save would drop the others.
        t.next();
        t.expectEnd();
        t.close();
    }
    // The three fixed tables are read by position: each holds exactly the rows
    // a save writes, numbered as it numbers them. Anything else (rows of
    // another table behind swapped pages, rows past the last) would be shown
    // as the character's, or lost at the next save.
    {
        TableReader t(file, "Stats", 10, true);
        for (int i = 0; i <= 9; ++i) {
            t.position("Stats_ID", i);
            Stats(0, i) = qint16(t.whole("temp", kMin16, kMax16));
            Stats(1, i) = qint16(t.whole("pot", kMin16, kMax16));
            Stats(2, i) = qint16(t.whole("Special", kMin16, kMax16));
            t.next();
        }
        t.expectEnd();
        t.close();
    }
    {
        TableReader t(file, "Categorie Weapon", 7, true);
        for (int i = 0; i <= 6; ++i) {
            t.position("CategorieWeapon_ID", i);
            CategorieWeapon(i) = qint16(t.whole("CategorieWeapon", 0, kMax16));
            t.next();
        }
        t.expectEnd();
        t.close();
    }
    {
        TableReader t(file, "Resistance Special", 9, true);
        for (int k = 1; k <= 9; ++k) {
            t.position("Resistance_ID", k);
            ResistanceSpecial(k) = qint16(t.whole("ResistanceSpecial", kMin16, kMax16));
            t.next();
        }
        t.expectEnd();
        t.close();
    }
    // Rank tables grow before a row would land on the capacity, so after loading
    // the row at the capacity is always free.
    const auto readFour = [&file](const char *table, const char *idColumn, character::GrowTable<qint32> &cells,
                                  qint32 &capacity, Personnage *self, void (Personnage::*redim)()) {
        TableReader t(file, table);
        for (qint32 n = 1; !t.atEnd(); n = vb::Add32(n, 1)) {
            if (n >= capacity)
                (self->*redim)();
            const qint32 id = t.whole(idColumn, limits::kElementId);
            t.unique(idColumn, id);
            cells(fId, n - 1) = id;
            cells(fRank, n - 1) = t.whole("Rank", limits::kRank);
            cells(fSpecial1, n - 1) = t.whole("Special1", kMin16, kMax16);
            cells(fSpecial2, n - 1) = t.whole("Special2", kMin16, kMax16);
            t.next();
        }
        t.close();
    };
    readFour("Skill Categorie", "SkillCat_ID", SkillCat, NbSkillCat, this, &Personnage::RedimSkillCat);
    readFour("Skill", "Skill_ID", Skill, NbSkill, this, &Personnage::RedimSkill);
    {
        TableReader t(file, "SubSkills");
        for (qint32 n = 1; !t.atEnd(); n = vb::Add32(n, 1)) {
            if (n >= NbSubSkill)
                RedimSubSkill();
            SubSkills(fId, n) = t.wholeText("Skill_ID", limits::kElementId);
            SubSkills(fRank, n) = t.wholeText("Rank", limits::kRank);
            SubSkills(fItem, n) = t.wholeText("Item", kMin16, kMax16);
            SubSkills(fSpecial, n) = t.wholeText("Special", kMin16, kMax16);
            SubSkills(fKey, n) = t.wholeText("SubSkill_ID", limits::kElementId);
            t.unique("Skill_ID", SubSkills(fId, n).toInt(), "SubSkill_ID", SubSkills(fKey, n).toInt());
            SubSkills(fSubSkillName, n) = t.text("Name");
            t.next();
        }
        t.close();
    }
    const auto readFive = [&file](const char *table, const char *keyColumn, character::GrowTable<qint32> &cells,
                                  qint32 &capacity, Personnage *self, void (Personnage::*redim)()) {
        TableReader t(file, table);
        for (qint32 n = 1; !t.atEnd(); n = vb::Add32(n, 1)) {
            if (n >= capacity)
                (self->*redim)();
            cells(fId, n) = t.whole("Skill_ID", limits::kElementId);
            cells(fRank, n) = t.whole("Rank", limits::kRank);
            cells(fItem, n) = t.whole("Item", kMin16, kMax16);
            cells(fSpecial, n) = t.whole("Special", kMin16, kMax16);
            cells(fKey, n) = t.whole(keyColumn, limits::kElementId);
            t.unique("Skill_ID", cells(fId, n), keyColumn, cells(fKey, n));
            t.next();
        }
        t.close();
    };
    readFive("Language Skills", "Language_ID", LanguageSkills, NbLanguageSkills, this,
             &Personnage::RedimLanguageSkills);
    readFive("Weapon Skills", "Weapon_ID", WeaponSkills, NbWeaponSkills, this, &Personnage::RedimWeaponSkills);
    readFive("Spell Skills", "List_ID", SpellSkills, NbSpellSkills, this, &Personnage::RedimSpellSkills);
}
