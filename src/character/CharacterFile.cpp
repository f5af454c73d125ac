// The character file: a copy of the empty template player.dat holding one
// character in ten tables. Saving builds the whole new file beside the target
// and only then puts it in the target's place, so a failed save never costs
// the player the previous file. Loading treats the file as foreign input: it
// is opened read-only and checked before a single row is read.
#include "character/Personnage.h"

#include "character/CharacterFile.h"
#include "character/Guarded.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/dao.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

using character::guarded;

namespace {

constexpr int ErrInvalidUseOfNull = 94;

bool french()
{
    return Strings::current() == Strings::Language::French;
}

// ---------------------------------------------------------------- reading values

// The column's value; a NULL cannot go into a text or number field.
QVariant needValue(const dao::Recordset &rs, const char *column)
{
    const QVariant v = rs.Value(QString::fromLatin1(column));
    if (!v.isValid() || v.isNull())
        vb::Raise(ErrInvalidUseOfNull);
    return v;
}

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// Numbers are read from numbers or from text that holds one; anything else
// (a blob, say) is a type mismatch.
QVariant numeric(const dao::Recordset &rs, const char *column)
{
    const QVariant v = needValue(rs, column);
    if (!isNumber(v) && v.typeId() != QMetaType::QString)
        vb::Raise(vb::ErrTypeMismatch);
    return v;
}

qint16 read16(const dao::Recordset &rs, const char *column) { return vb::CInt(numeric(rs, column)); }
qint32 read32(const dao::Recordset &rs, const char *column) { return vb::CLng(numeric(rs, column)); }
float readSingle(const dao::Recordset &rs, const char *column) { return vb::CSng(numeric(rs, column)); }

bool readBool(const dao::Recordset &rs, const char *column)
{
    const QVariant v = numeric(rs, column);
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return vb::CDbl(v) != 0;
}

QString readText(const dao::Recordset &rs, const char *column)
{
    const QVariant v = needValue(rs, column);
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    if (!isNumber(v))
        vb::Raise(vb::ErrTypeMismatch);
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return vb::NumText(v.toDouble());
    return QString::number(v.toLongLong());
}

// ---------------------------------------------------------------- file checks

qint64 pragmaNumber(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *st = nullptr;
    qint64 value = 0;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        vb::Raise(vb::ErrNotADatabase);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        vb::Raise(vb::ErrNotADatabase);
    return value;
}

// Refuses anything that is not a character file this program can read, before
// any of its rows is touched.
void checkCharacterFile(sqlite3 *db)
{
    if (!db)
        vb::Raise(vb::ErrNotADatabase);
    if (pragmaNumber(db, "PRAGMA application_id") != character::FileApplicationId)
        throw vb::Error(vb::ErrNotADatabase,
                        french() ? QStringLiteral("Ce fichier n'est pas un fichier de personnage.")
                                 : QStringLiteral("This file is not a character file."));
    const qint64 version = pragmaNumber(db, "PRAGMA user_version");
    if (version > character::FileFormatVersion)
        throw vb::Error(vb::ErrNotADatabase,
                        (french() ? QStringLiteral("Ce fichier de personnage a été écrit par une version plus récente "
                                                   "du programme (format %1) ; cette version lit les formats "
                                                   "jusqu'au format %2.")
                                  : QStringLiteral("This character file was written by a newer version of the "
                                                   "program (format %1); this version reads formats up to %2."))
                            .arg(version)
                            .arg(character::FileFormatVersion));
    // A character file is plain tables; code hidden in triggers or views has no
    // business in one, whatever it would do.
    if (pragmaNumber(db, "SELECT count(*) FROM sqlite_master WHERE type IN ('trigger','view')") != 0)
        throw vb::Error(vb::ErrNotADatabase,
                        french() ? QStringLiteral("Ce fichier de personnage contient des objets qu'un fichier de "
                                                  "personnage n'a jamais (déclencheurs ou vues) ; il n'a pas été ouvert.")
                                 : QStringLiteral("This character file holds objects a character file never has "
                                                  "(triggers or views); it was not opened."));
}

void exec(sqlite3 *db, const char *sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        sqlite3_free(err);
        vb::Raise(vb::ErrIo);
    }
}

// Opens a table for appending or reading, as the record's file code always
// does: the table's name goes into the shared query text first.
dao::Recordset openTable(const char *name)
{
    ModGeneral::Sql = QString::fromLatin1(name);
    return ModGeneral::DbPlayer.OpenRecordset(ModGeneral::Sql, dao::dbOpenDynaset);
}

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

// Removes the temporary file unless the save got as far as renaming it.
struct TempFile {
    QString path;
    ~TempFile()
    {
        if (!path.isEmpty()) {
            QFile::remove(path);
            QFile::remove(path + QStringLiteral("-journal"));
        }
    }
};

bool syncFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    return ::fsync(f.handle()) == 0;
}

} // namespace

// ---------------------------------------------------------------- SaveP

bool Personnage::SaveP()
{
    TempFile temp;
    const bool saved = guarded("SaveP", [&] {
        if (FileName.isEmpty())
            vb::Raise(vb::ErrPathNotFound);
        QFileInfo target(FileName);
        // Write through a link to the file it names, not over the link itself.
        if (target.isSymLink() && !target.symLinkTarget().isEmpty())
            target = QFileInfo(target.symLinkTarget());
        const QDir folder = target.absoluteDir();
        if (!folder.exists())
            vb::Raise(vb::ErrPathNotFound);
        if (target.isDir())
            vb::Raise(vb::ErrPermission);
        // Only a plain file is ever replaced: a device, a pipe or a socket
        // standing at the path is not the player's character to overwrite,
        // and a file marked read-only is kept as its owner asked, whoever runs
        // the program.
        if (target.exists() && !target.isFile())
            vb::Raise(vb::ErrPermission);
        if (target.exists() &&
            (!target.isWritable() ||
             !(target.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther))))
            vb::Raise(vb::ErrPermission);
        const QFileInfo templ(ModGeneral::PlayerPath);
        if (templ.exists() && target.exists() && templ.canonicalFilePath() == target.canonicalFilePath())
            vb::Raise(vb::ErrPermission);   // the template must stay empty

        QFile source(ModGeneral::PlayerPath);
        if (!source.open(QIODevice::ReadOnly))
            vb::Raise(vb::ErrFileNotFound);
        const QByteArray empty = source.readAll();
        source.close();

        {
            QTemporaryFile tmp(folder.filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
            tmp.setAutoRemove(false);
            if (!tmp.open())
                vb::Raise(vb::ErrPermission);
            temp.path = tmp.fileName();
            if (tmp.write(empty) != empty.size() || !tmp.flush())
                vb::Raise(vb::ErrDiskFull);
            tmp.close();
        }
        if (target.exists())
            QFile::setPermissions(temp.path, QFile::permissions(target.absoluteFilePath()));
        else
            QFile::setPermissions(temp.path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                 QFile::ReadOther);

        ModGeneral::DbPlayer = ModGeneral::WsPlayer.OpenDatabase(temp.path);
        sqlite3 *db = ModGeneral::DbPlayer.handle();
        // The file is not in anyone's hands until it is complete and synced;
        // a journal would only slow the writing down.
        exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
        writeTables();
        exec(db, "COMMIT");
        ModGeneral::DbPlayer.Close();
        ModGeneral::DbPlayer = dao::Database();

        if (!syncFile(temp.path))
            vb::Raise(vb::ErrDiskFull);
        // rename() replaces the target in one step: a reader sees the old file or the new one.
        if (::rename(QFile::encodeName(temp.path).constData(),
                     QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
            vb::Raise(errno == ENOSPC ? vb::ErrDiskFull : vb::ErrPermission);
        temp.path.clear();
    });
    // Never leave the half-written copy open: the temporary file goes with it.
    closeShared();
    return saved;
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

// ---------------------------------------------------------------- LoadP

bool Personnage::LoadP()
{
    const bool ok = guarded("LoadP", [&] {
        closeShared();
        dao::OpenOptions options;
        options.readOnly = true;
        options.untrusted = true;
        ModGeneral::DbPlayer = ModGeneral::WsPlayer.OpenDatabase(FileName, options);
        checkCharacterFile(ModGeneral::DbPlayer.handle());
        readTables();
    });
    closeShared();
    return ok;
}

void Personnage::readTables()
{
    {
        dao::Recordset rs = openTable("General");
        Nom = readText(rs, "Nom");
        Race_ID = read32(rs, "Race_ID");
        Profession_ID = read32(rs, "Profession_ID");
        Culture_ID = read32(rs, "Culture_ID");
        Royaume_ID = read32(rs, "Royaume_ID");
        Sexe = readBool(rs, "Sexe");
        Poids = readSingle(rs, "Poids");
        Grandeur = readSingle(rs, "Grandeur");
        Age = readSingle(rs, "Age");
        Cheveux = readText(rs, "Cheveux");
        Yeux = readText(rs, "Yeux");
        Experience = read32(rs, "Experience");
        Apparence = read16(rs, "Apparence");
        PdeD = read16(rs, "PdeD");
        Money = read32(rs, "Money");
        {
            const QVariant h = rs.Value(QStringLiteral("Historique"));
            if (h.isValid() && !h.isNull() && !isNumber(h) && h.typeId() != QMetaType::QString)
                vb::Raise(vb::ErrTypeMismatch);
            Historique = (h.isValid() && !h.isNull()) ? h : QVariant();
        }
        Armure = read32(rs, "Armure");
        Casque = read32(rs, "Casque");
        Bouclier = read32(rs, "Bouclier");
        rs.Close();
    }
    // The three fixed tables are read by position: exactly as many rows as the
    // arrays have cells, a shorter table being an error.
    {
        dao::Recordset rs = openTable("Stats");
        for (int i = 0; i <= 9; ++i) {
            Stats(0, i) = read16(rs, "temp");
            Stats(1, i) = read16(rs, "pot");
            Stats(2, i) = read16(rs, "Special");
            rs.MoveNext();
        }
        rs.Close();
    }
    {
        dao::Recordset rs = openTable("Categorie Weapon");
        for (int i = 0; i <= 6; ++i) {
            CategorieWeapon(i) = read16(rs, "CategorieWeapon");
            rs.MoveNext();
        }
        rs.Close();
    }
    {
        dao::Recordset rs = openTable("Resistance Special");
        for (int k = 1; k <= 9; ++k) {
            ResistanceSpecial(k) = read16(rs, "ResistanceSpecial");
            rs.MoveNext();
        }
        rs.Close();
    }
    // Rank tables grow before a row would land on the capacity, so after loading
    // the row at the capacity is always free.
    {
        dao::Recordset rs = openTable("Skill Categorie");
        for (qint32 n = 1; !rs.Eof(); n = vb::Add32(n, 1)) {
            if (n >= NbSkillCat)
                RedimSkillCat();
            SkillCat(fId, n - 1) = read32(rs, "SkillCat_ID");
            SkillCat(fRank, n - 1) = read32(rs, "Rank");
            SkillCat(fSpecial1, n - 1) = read32(rs, "Special1");
            SkillCat(fSpecial2, n - 1) = read32(rs, "Special2");
            rs.MoveNext();
        }
        rs.Close();
    }
    {
        dao::Recordset rs = openTable("Skill");
        for (qint32 n = 1; !rs.Eof(); n = vb::Add32(n, 1)) {
            if (n >= NbSkill)
                RedimSkill();
            Skill(fId, n - 1) = read32(rs, "Skill_ID");
            Skill(fRank, n - 1) = read32(rs, "Rank");
            Skill(fSpecial1, n - 1) = read32(rs, "Special1");
            Skill(fSpecial2, n - 1) = read32(rs, "Special2");
            rs.MoveNext();
        }
        rs.Close();
    }
    {
        dao::Recordset rs = openTable("SubSkills");
        static const char *const columns[] = {"Skill_ID", "Rank", "Item", "Special", "SubSkill_ID", "Name"};
        for (qint32 n = 1; !rs.Eof(); n = vb::Add32(n, 1)) {
            if (n >= NbSubSkill)
                RedimSubSkill();
            for (int f = 0; f < 6; ++f)
                SubSkills(f, n) = readText(rs, columns[f]);
            rs.MoveNext();
        }
        rs.Close();
    }
    const auto readFive = [](const char *table, const char *keyColumn, character::GrowTable<qint32> &cells,
                             qint32 &capacity, Personnage *self, void (Personnage::*redim)()) {
        dao::Recordset rs = openTable(table);
        for (qint32 n = 1; !rs.Eof(); n = vb::Add32(n, 1)) {
            if (n >= capacity)
                (self->*redim)();
            cells(fId, n) = read32(rs, "Skill_ID");
            cells(fRank, n) = read32(rs, "Rank");
            cells(fItem, n) = read32(rs, "Item");
            cells(fSpecial, n) = read32(rs, "Special");
            cells(fKey, n) = read32(rs, keyColumn);
            rs.MoveNext();
        }
        rs.Close();
    };
    readFive("Language Skills", "Language_ID", LanguageSkills, NbLanguageSkills, this,
             &Personnage::RedimLanguageSkills);
    readFive("Weapon Skills", "Weapon_ID", WeaponSkills, NbWeaponSkills, this, &Personnage::RedimWeaponSkills);
    readFive("Spell Skills", "List_ID", SpellSkills, NbSpellSkills, this, &Personnage::RedimSpellSkills);
}
