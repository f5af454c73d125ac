// The character file: a copy of the empty template player.dat holding one
// character in ten tables. Saving builds the whole new file in memory, writes
// it beside the target and only then puts it in the target's place, so a
// failed save never costs the player the previous file. Loading treats the
// file as foreign input: its bytes are read once, opened in memory and checked
// before a single row is read, and every value must be one the program could
// have written. A refusal says in words what is wrong with the file.
#include "character/Personnage.h"

#include "character/CharacterFile.h"
#include "character/Guarded.h"
#include "character/Limits.h"
#include "frame/DataFiles.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/dao.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using character::guarded;

// The empty character file is the first state of every character file.
static_assert(datafiles::TemplateMaxBytes == character::MaxFileBytes);
namespace limits = character::limits;

namespace {

constexpr int ErrInvalidUseOfNull = 94;
constexpr int ErrDamaged = 3049;
constexpr char kSqliteHeader[] = "SQLite format 3";   // 16 bytes with its terminating zero

constexpr qint64 kMin32 = std::numeric_limits<qint32>::min();
constexpr qint64 kMax32 = std::numeric_limits<qint32>::max();
constexpr qint64 kMin16 = std::numeric_limits<qint16>::min();
constexpr qint64 kMax16 = std::numeric_limits<qint16>::max();

bool hasSqliteHeader(const QByteArray &bytes)
{
    return bytes.size() >= 16 && std::memcmp(bytes.constData(), kSqliteHeader, 16) == 0;
}

// ---------------------------------------------------------------- refusals in words

// A load or save failure is put in words (vb::Refusal): its number stays the
// one the failure raised, its text says what is wrong in the player's terms.
using vb::Refusal;

QString fileShown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

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

// While a save reads back the copy it has just written, what File > Open
// would refuse is the reason the save stops, not a file that failed to open.
bool readingWrittenCopy = false;

[[noreturn]] void refused(int number, int sentence, const QString &file, const QString &reason)
{
    if (readingWrittenCopy)
        throw Refusal(number, Strings::Load(9240).arg(Strings::Load(9379).arg(reason)));
    throw Refusal(number, Strings::Load(sentence).arg(fileShown(file), reason));
}

// The five things a load failure can be, each with its reason.
[[noreturn]] void damaged(int number, const QString &file, const QString &reason)
{
    refused(number, 9200, file, reason);
}
[[noreturn]] void notCharacterFile(const QString &file, const QString &reason)
{
    refused(vb::ErrNotADatabase, 9201, file, reason);
}
[[noreturn]] void tooLarge(const QString &file, const QString &reason)
{
    refused(vb::ErrIo, 9203, file, reason);
}
[[noreturn]] void unreadable(int number, const QString &file, const QString &reason)
{
    refused(number, 9204, file, reason);
}

// "the table “Stats” holds 20 rows where exactly 10 are needed", with the
// singular and plural each language gives a count.
QString rowCountWrong(const QString &table, qint64 rows, qint64 needed, bool exactly)
{
    const QString held = Strings::Load(rows == 0 ? 9300 : rows == 1 ? 9301 : 9302).arg(rows);
    const int need = exactly ? (needed == 1 ? 9305 : 9306) : (needed == 1 ? 9303 : 9304);
    return Strings::Load(9307).arg(table, held, Strings::Load(need).arg(needed));
}

// ---------------------------------------------------------------- reading the file

// The longest file name the folder takes, in bytes.
qint64 longestName(const QDir &folder)
{
    const long longest = ::pathconf(QFile::encodeName(folder.absolutePath()).constData(), _PC_NAME_MAX);
    return longest > 0 ? longest : 255;
}

// "the name “…” is too long", its length and the folder's limit in bytes.
QString nameTooLong(const QString &name, qint64 length, qint64 longest)
{
    return Strings::Load(9312).arg(name.size() > 40 ? name.left(40) + QStringLiteral("…") : name,
                                   QString::number(length), QString::number(longest));
}

// Why the file could not be opened, in the player's terms: the system's own
// words only where there are none better.
[[noreturn]] void cannotOpen(const QString &file, int why)
{
    const QByteArray name = QFile::encodeName(file);
    struct stat st {};
    switch (why) {
    case EACCES:
        // A folder on the way that may not be searched hides the file: that
        // is a matter of rights, and the player should not look for a lost file.
        unreadable(vb::ErrPermission, file,
                   Strings::Load(::stat(name.constData(), &st) != 0 && errno == EACCES ? 9311 : 9233));
    case EPERM:
        unreadable(vb::ErrPermission, file, Strings::Load(9233));
    case ELOOP:
        unreadable(vb::ErrCannotOpenFile, file, Strings::Load(9405));
    case ENAMETOOLONG: {
        const QFileInfo info(file);
        const qint64 length = QFile::encodeName(info.fileName()).size();
        const qint64 longest = longestName(info.absoluteDir());
        if (length > longest)
            unreadable(vb::ErrBadPath, file, nameTooLong(info.fileName(), length, longest));
        unreadable(vb::ErrBadPath, file, Strings::Load(9234).arg(qt_error_string(why)));
    }
    case ENOENT: case ENOTDIR:
        unreadable(vb::ErrCannotOpenFile, file, Strings::Load(9230));
    default:
        unreadable(vb::ErrIo, file, Strings::Load(9234).arg(qt_error_string(why)));
    }
}

// What an open file holds, `measured` bytes as it was found or however many it
// holds now, but never more than one byte past the cap: that byte tells a file
// that grew past it since it was measured. `file` is the character's file,
// which a failed read names.
QByteArray readHeld(int fd, const QString &file, qint64 measured)
{
    QByteArray bytes(qsizetype(std::min<qint64>(measured, character::MaxFileBytes)) + 1, Qt::Uninitialized);
    qsizetype held = 0;
    for (;;) {
        if (held == bytes.size()) {
            if (held > character::MaxFileBytes)
                break;
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, character::MaxFileBytes + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + held, size_t(bytes.size() - held));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            unreadable(vb::ErrIo, file, Strings::Load(9234).arg(qt_error_string(errno)));
        if (n == 0)
            break;
        held += n;
    }
    bytes.truncate(held);
    return bytes;
}

// The file's bytes, read once: the database is opened from them in memory, so
// an open never makes or changes anything beside the file.
QByteArray readImage(const QString &file)
{
    const QByteArray name = QFile::encodeName(file);
    const auto sizeTooLarge = [&file](qint64 size) {
        tooLarge(file, Strings::Load(9225).arg(size).arg(character::MaxFileBytes));
    };
    // What stands at the path is known before it is opened: opening a pipe
    // would wait for a writer, and a device may act on being opened.
    const auto plainFile = [&](const struct stat &st) {
        if (S_ISDIR(st.st_mode))
            unreadable(vb::ErrCannotOpenFile, file, Strings::Load(9231));
        if (!S_ISREG(st.st_mode))
            unreadable(vb::ErrNotADatabase, file, Strings::Load(9232));
        if (st.st_size > character::MaxFileBytes)
            sizeTooLarge(st.st_size);
    };
    struct stat st {};
    if (file.isEmpty())
        cannotOpen(file, ENOENT);
    if (::stat(name.constData(), &st) != 0)
        cannotOpen(file, errno);
    plainFile(st);
    // Without waiting, in case something else has taken the name since.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        cannotOpen(file, errno);
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &st) != 0)
        cannotOpen(file, errno);
    plainFile(st);
    QByteArray bytes = readHeld(fd, file, st.st_size);
    if (bytes.size() > character::MaxFileBytes)
        sizeTooLarge(bytes.size());
    return bytes;
}

// ---------------------------------------------------------------- settling what lies beside the file
//
// The engine settles an unfinished change on a private copy of the file and
// of its journal or log. What a journal holds could lead the engine further:
// one that claims its change spanned several files names the journal of the
// whole, which the engine would open, read the names in and delete when none
// of them names it back; a pipe named there would hold the open up for good.
// The settling connection goes through this layer over the system's, for
// which the copy, its journal, its log and its shared index are the only
// files there are: any other does not exist, is not opened and is not
// deleted, and no nameless temporary file is made anywhere.

namespace settling {

thread_local QByteArray ownCopy;   // the copy being settled on this thread; empty while none is

bool own(const char *path)
{
    if (!path || ownCopy.isEmpty() || std::strncmp(path, ownCopy.constData(), size_t(ownCopy.size())) != 0)
        return false;
    const char *rest = path + ownCopy.size();
    return !*rest || !std::strcmp(rest, "-journal") || !std::strcmp(rest, "-wal") || !std::strcmp(rest, "-shm");
}

sqlite3_vfs *system(sqlite3_vfs *layer)
{
    return static_cast<sqlite3_vfs *>(layer->pAppData);
}

int openFile(sqlite3_vfs *layer, sqlite3_filename path, sqlite3_file *file, int flags, int *outFlags)
{
    if (!own(path) || (flags & SQLITE_OPEN_SUPER_JOURNAL)) {
        file->pMethods = nullptr;
        return SQLITE_CANTOPEN;
    }
    return system(layer)->xOpen(system(layer), path, file, flags, outFlags);
}

int deleteFile(sqlite3_vfs *layer, const char *path, int syncFolder)
{
    return own(path) ? system(layer)->xDelete(system(layer), path, syncFolder) : SQLITE_IOERR_DELETE;
}

int accessFile(sqlite3_vfs *layer, const char *path, int flags, int *result)
{
    if (own(path))
        return system(layer)->xAccess(system(layer), path, flags, result);
    *result = 0;
    return SQLITE_OK;
}

// The layer's name, registered on first use.
const char *layerName()
{
    static const char *const name = [] {
        static sqlite3_vfs layer;
        sqlite3_vfs *const below = sqlite3_vfs_find(nullptr);
        layer = *below;
        layer.pNext = nullptr;
        layer.zName = "quorvane-settling";
        layer.pAppData = below;
        layer.xOpen = openFile;
        layer.xDelete = deleteFile;
        layer.xAccess = accessFile;
        sqlite3_vfs_register(&layer, 0);
        return layer.zName;
    }();
    return name;
}

// The copy the layer lets through while it lives.
class Scope {
public:
    explicit Scope(const QByteArray &copy) { ownCopy = copy; }
    ~Scope() { ownCopy.clear(); }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
};

} // namespace settling

// The journal or log beside the file: empty when there is none. Only a plain
// file of its own counts: a link, a pipe or a folder under that name is no
// journal of this file, and opening one must neither lead elsewhere nor wait.
QByteArray sideFile(const QString &file, const QString &side)
{
    const QByteArray name = QFile::encodeName(side);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int why = errno;
        // None there (nor can one be, past the folder's longest name), a link, or a socket.
        if (why == ENOENT || why == ENOTDIR || why == ENAMETOOLONG || why == ELOOP || why == ENXIO)
            return QByteArray();
        if (why == EACCES || why == EPERM)
            unreadable(vb::ErrPermission, file, Strings::Load(9434).arg(fileShown(side)));
        unreadable(vb::ErrIo, file, Strings::Load(9234).arg(qt_error_string(why)));
    }
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return QByteArray();
    // The file itself may be small: the box names what is too large, before
    // reading it or when it grew while read.
    const auto tooLargeSide = [&](qint64 size) {
        if (size > character::MaxFileBytes)
            unreadable(vb::ErrIo, file, Strings::Load(9404).arg(fileShown(side)).arg(size).arg(character::MaxFileBytes));
    };
    tooLargeSide(st.st_size);
    QByteArray bytes = readHeld(fd, file, st.st_size);
    tooLargeSide(bytes.size());
    return bytes;
}

// A journal or write-ahead log beside the file holds the end of a change that
// another program was making when it stopped: the file alone may be torn. The
// engine settles the change on a private copy, in a folder of its own, and the
// file is read as the engine then sees it; nothing beside the file is made or
// changed, and nothing a journal names is reached.
QByteArray settled(const QString &file, const QByteArray &image)
{
    // The engine writes the journal beside the file a link leads to.
    const QString real = QFileInfo(file).canonicalFilePath();
    const QString besides = real.isEmpty() ? file : real;
    QList<std::pair<const char *, QByteArray>> sides;
    for (const char *suffix : {"-journal", "-wal"}) {
        QByteArray bytes = sideFile(file, besides + QLatin1String(suffix));
        if (!bytes.isEmpty())
            sides.append({suffix, std::move(bytes)});
    }
    if (sides.isEmpty())
        return image;
    QTemporaryDir folder;
    // Named as the engine names it, links resolved, so that the layer knows
    // the copy's side files by their names.
    const QString copy = QDir(folder.path()).canonicalPath() + QStringLiteral("/settle.pja");
    const auto failed = [&file](const QString &why) { unreadable(vb::ErrIo, file, Strings::Load(9234).arg(why)); };
    const auto put = [&failed](const QString &path, const QByteArray &bytes) {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
            failed(out.errorString());
    };
    if (!folder.isValid())
        failed(folder.errorString());
    put(copy, image);
    for (const auto &[suffix, bytes] : sides)
        put(copy + QLatin1String(suffix), bytes);
    {
        const settling::Scope scope(QFile::encodeName(copy));
        sqlite3 *db = nullptr;
        int rc = sqlite3_open_v2(QFile::encodeName(copy).constData(), &db, SQLITE_OPEN_READWRITE,
                                 settling::layerName());
        if (rc == SQLITE_OK) {
            int ignored = 0;
            sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, &ignored);
            sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &ignored);
            sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &ignored);
            sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, &ignored);
            rc = sqlite3_exec(db,
                              "PRAGMA temp_store = MEMORY; SELECT count(*) FROM sqlite_master;"
                              " PRAGMA wal_checkpoint(TRUNCATE)",
                              nullptr, nullptr, nullptr);
        }
        sqlite3_close_v2(db);
        if (rc != SQLITE_OK)
            damaged(ErrDamaged, file, Strings::Load(9218));
    }
    QFile in(copy);
    if (!in.open(QIODevice::ReadOnly))
        failed(in.errorString());
    const QByteArray whole = in.read(character::MaxFileBytes + 1);
    if (whole.size() > character::MaxFileBytes)
        tooLarge(file, Strings::Load(9225).arg(whole.size()).arg(character::MaxFileBytes));
    return whole;
}

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

// Whether the statement, with its texts bound, gives a row.
bool anyRow(sqlite3 *db, const char *sql, std::initializer_list<const char *> texts)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        vb::Raise(vb::ErrNotADatabase);
    int i = 0;
    for (const char *t : texts)
        sqlite3_bind_text(st, ++i, t, -1, SQLITE_STATIC);
    const bool row = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return row;
}

// The ten tables and their columns, in the order of the file.
struct TableShape {
    const char *name;
    std::initializer_list<const char *> columns;
};
const TableShape kShapes[] = {
    {"General",
     {"Nom", "Race_ID", "Profession_ID", "Culture_ID", "Royaume_ID", "Sexe", "Poids", "Grandeur", "Age", "Cheveux",
      "Yeux", "Experience", "Apparence", "PdeD", "Money", "Historique", "Armure", "Casque", "Bouclier"}},
    {"Stats", {"Stats_ID", "temp", "pot", "Special"}},
    {"Categorie Weapon", {"CategorieWeapon_ID", "CategorieWeapon"}},
    {"Resistance Special", {"Resistance_ID", "ResistanceSpecial"}},
    {"Skill Categorie", {"SkillCat_ID", "Rank", "Special1", "Special2"}},
    {"Skill", {"Skill_ID", "Rank", "Special1", "Special2"}},
    {"SubSkills", {"Skill_ID", "Rank", "Item", "Special", "SubSkill_ID", "Name"}},
    {"Language Skills", {"Skill_ID", "Rank", "Item", "Special", "Language_ID"}},
    {"Weapon Skills", {"Skill_ID", "Rank", "Item", "Special", "Weapon_ID"}},
    {"Spell Skills", {"Skill_ID", "Rank", "Item", "Special", "List_ID"}},
};

// Opens the bytes as the character file and refuses anything that is not one
// this program can read, before any of its rows is touched.
dao::Database openCharacterFile(const QByteArray &image, const QString &file)
{
    if (!hasSqliteHeader(image))
        notCharacterFile(file, Strings::Load(9219));
    if (image.size() < 512)
        damaged(ErrDamaged, file, Strings::Load(9218));
    dao::Database db;
    try {
        dao::OpenOptions options;
        options.readOnly = true;
        options.untrusted = true;
        db = ModGeneral::WsPlayer.OpenDatabaseImage(image, file, options);
    } catch (const vb::Error &e) {
        if (e.number() == vb::ErrOutOfMemory)
            unreadable(e.number(), file, Strings::Load(9235));
        // With a sound header, the engine refuses only what a character file never holds.
        if (e.number() == vb::ErrNotADatabase)
            notCharacterFile(file, Strings::Load(9221));
        damaged(e.number(), file, Strings::Load(9218));
    }
    sqlite3 *h = db.handle();
    // The whole file is in memory already: a value may be as long as the file,
    // and the text caps below say so in words rather than the engine in numbers.
    sqlite3_limit(h, SQLITE_LIMIT_LENGTH, int(character::MaxFileBytes));

    const qint64 id = pragmaNumber(h, "PRAGMA application_id");
    if (id != character::FileApplicationId) {
        if (id != 0)
            notCharacterFile(file, Strings::Load(9220));
        // A file made by hand or by another tool carries no id: its tables and
        // columns alone say what it is.
        for (const TableShape &t : kShapes) {
            if (!anyRow(h, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE", {t.name}))
                notCharacterFile(file, Strings::Load(9210).arg(QLatin1String(t.name)));
            for (const char *c : t.columns)
                if (!anyRow(h, "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2 COLLATE NOCASE", {t.name, c}))
                    notCharacterFile(file, Strings::Load(9211).arg(QLatin1String(c), QLatin1String(t.name)));
        }
    }
    const qint64 version = pragmaNumber(h, "PRAGMA user_version");
    if (version < 0)
        notCharacterFile(file, Strings::Load(9433).arg(version));
    if (version > character::FileFormatVersion && readingWrittenCopy)
        notCharacterFile(file, Strings::Load(9362).arg(version).arg(character::FileFormatVersion));
    if (version > character::FileFormatVersion)
        throw Refusal(vb::ErrNotADatabase,
                      Strings::Load(9202).arg(fileShown(file), QString::number(version),
                                              QString::number(character::FileFormatVersion)));
    return db;
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

// ---------------------------------------------------------------- writing the file

void exec(sqlite3 *db, const char *sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        sqlite3_free(err);
        vb::Raise(vb::ErrIo);
    }
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

QByteArray serialized(sqlite3 *db)
{
    sqlite3_int64 size = 0;
    unsigned char *bytes = sqlite3_serialize(db, "main", &size, 0);
    if (!bytes)
        vb::Raise(vb::ErrOutOfMemory);
    QByteArray image(reinterpret_cast<const char *>(bytes), qsizetype(size));
    sqlite3_free(bytes);
    return image;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// ---------------------------------------------------------------- the empty character file

// Every save starts from the empty character file beside the program. When it
// is missing or damaged the save says so and names it, so that the player does
// not take the failure for one of the character's own file.
[[noreturn]] void templateFault(int number, int what, const QString &reason = QString())
{
    const QString shown = fileShown(ModGeneral::PlayerPath);
    const QString words = reason.isEmpty() ? Strings::Load(what).arg(shown) : Strings::Load(what).arg(shown, reason);
    throw Refusal(number, Strings::Load(9240).arg(words));
}

// The template opened in memory as the new file. Its bytes passed the check
// of the empty character file; opening the same bytes again fails only for
// want of memory.
dao::Database openTemplate(const QByteArray &image, const QString &name)
{
    try {
        return ModGeneral::WsPlayer.OpenDatabaseImage(image, name);
    } catch (const vb::Error &e) {
        if (e.number() == vb::ErrOutOfMemory)
            throw;
        templateFault(e.number(), 9314, Strings::Load(9218));
    }
}

// A save writes only over a character's file: the program's own data files,
// reached by whatever path (a link, "..", a second name of the same file), are
// never replaced, nor is one put where a missing one belongs.
void refuseProgramFiles(const QString &file, const QFileInfo &target)
{
    // Where a file lies, its folder's links and ".." resolved.
    const auto place = [](const QFileInfo &f) {
        const QString folder = f.absoluteDir().canonicalPath();
        return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + f.fileName();
    };
    struct stat at {};
    const bool exists = ::stat(QFile::encodeName(file).constData(), &at) == 0;
    const struct {
        const QString &path;
        int name;
    } own[] = {{ModGeneral::PlayerPath, 9373},
               {ModGeneral::MasterPath, 9374},
               {dao::DBEngine::instance().SystemDB, 9375}};
    for (const auto &o : own) {
        if (o.path.isEmpty())
            continue;
        struct stat st {};
        const bool same = ::stat(QFile::encodeName(o.path).constData(), &st) == 0
                              ? exists && sameFile(at, st)
                              : !place(target).isEmpty() && place(target) == place(QFileInfo(o.path));
        if (same)
            throw Refusal(vb::ErrPermission,
                          Strings::Load(9240).arg(Strings::Load(9372).arg(fileShown(file), Strings::Load(o.name))));
    }
}

// The file cannot be written for want of rights, or in its place: the box
// names it and says why.
[[noreturn]] void cannotWrite(const QString &file, const QString &reason)
{
    throw Refusal(vb::ErrPermission, Strings::Load(9240).arg(Strings::Load(9376).arg(fileShown(file), reason)));
}

// The copy could not be made beside the file: the folder's rights, most often.
[[noreturn]] void folderRefuses(const QDir &folder, const QString &file, const QString &systemSays)
{
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder.absolutePath()).constData(), W_OK | X_OK, AT_EACCESS) != 0
        && (errno == EACCES || errno == EROFS || errno == EPERM))
        cannotWrite(file, Strings::Load(9378));
    cannotWrite(file, Strings::Load(9234).arg(systemSays));
}

// ---------------------------------------------------------------- copies beside the target
//
// A save writes its new file under a hidden name beside the target,
// ".<name>.~qv-XXXXXX", and holds a lock on it until the rename puts it in the
// target's place. The "~qv-" is this program's mark: a player's own copy
// beside the file (".hero.pja.backup", ".hero.pja.old123") never carries it,
// and nothing without it is ever removed. A name too long for the copy's to
// fit the folder's limit is shortened in it. A copy whose lock can be taken
// belongs to no save under way: it was left by one that was killed, and the
// next save of the same file removes it. Two programs saving the same file at
// once each keep their own copy locked, so neither removes the other's, and
// the rename gives the target one whole file or the other.

constexpr char kCopyMark[] = ".~qv-";

bool isCopyName(const QString &entry, const QString &prefix)
{
    if (entry.size() != prefix.size() + 6 || !entry.startsWith(prefix))
        return false;
    for (const QChar c : QStringView(entry).mid(prefix.size()))
        if (c.unicode() > 127 || !c.isLetterOrNumber())
            return false;
    return true;
}

// ".<name>.~qv-" of the copies of a target; six letters complete a copy's name.
QString copyPrefix(const QString &targetName, qint64 longest)
{
    const qint64 around = 1 + qint64(sizeof kCopyMark - 1) + 6;
    QString name = targetName;
    while (!name.isEmpty() && QFile::encodeName(name).size() > longest - around)
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    return QLatin1Char('.') + name + QLatin1String(kCopyMark);
}

void removeLeftCopies(const QDir &folder, const QString &prefix)
{
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (!isCopyName(entry, prefix))
            continue;
        const QByteArray path = QFile::encodeName(folder.filePath(entry));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held {}, named {};
        // Only a plain file that no save holds and that starts as a database
        // does (or holds nothing yet) is a copy left behind; anything else
        // under such a name is someone's own file.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            char head[16];
            const ssize_t n = ::read(fd, head, sizeof head);
            const bool copy = n == 0 || (n > 0 && std::memcmp(head, kSqliteHeader, size_t(n)) == 0);
            if (copy && ::lstat(path.constData(), &named) == 0 && sameFile(held, named))
                ::unlink(path.constData());
        }
        ::close(fd);
    }
}

// Writing the new file failed: the disk full, or whatever the system says.
[[noreturn]] void writeFailed(const QString &file, int why)
{
    if (why == ENOSPC || why == EDQUOT || why == EFBIG)
        throw Refusal(vb::ErrDiskFull, Strings::Load(9240).arg(Strings::Load(9430)));
    throw Refusal(vb::ErrIo, Strings::Load(9240).arg(
                                 Strings::Load(9376).arg(fileShown(file), Strings::Load(9234).arg(qt_error_string(why)))));
}

// What another program left beside the file it was changing: its journal or
// log would bring that older change back over the new file the next time the
// file is opened, here or by any program. Once the new file is in place they
// go; a link goes without what it leads to, and a folder under such a name,
// which no engine takes for a journal, stays. What could not go is told with
// the system's reason, each in a box of its own.
std::vector<Refusal> removeSideFiles(const QString &file)
{
    std::vector<Refusal> left;
    for (const char *suffix : {"-journal", "-wal", "-shm"}) {
        const QString side = file + QLatin1String(suffix);
        const QByteArray name = QFile::encodeName(side);
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0 || S_ISDIR(st.st_mode) || ::unlink(name.constData()) == 0
            || errno == ENOENT)
            continue;
        const int why = errno;
        const bool rights = why == EACCES || why == EPERM;
        left.emplace_back(rights ? vb::ErrPermission : vb::ErrIo,
                          Strings::Load(9431).arg(fileShown(file), fileShown(side),
                                                  rights ? Strings::Load(9432)
                                                         : Strings::Load(9234).arg(qt_error_string(why))));
    }
    return left;
}

// The new file under its hidden name, locked from its creation to its rename;
// removed again unless the rename took it.
class LockedCopy {
public:
    // `target`: the file the copy is for, named when the copy cannot be made.
    LockedCopy(const QDir &folder, const QString &prefix, const QString &target) : m_target(target)
    {
        // Another save's clean-up may take the name between its creation and
        // the lock; the name then no longer leads to the locked file, and a new
        // one is made.
        for (int attempt = 0; attempt < 5; ++attempt) {
            m_file = std::make_unique<QTemporaryFile>(folder.filePath(prefix + QStringLiteral("XXXXXX")));
            m_file->setAutoRemove(false);
            if (!m_file->open())
                folderRefuses(folder, target, m_file->errorString());
            m_path = m_file->fileName();
            struct stat held {}, named {};
            if (::flock(m_file->handle(), LOCK_EX) == 0 && ::fstat(m_file->handle(), &held) == 0
                && ::lstat(QFile::encodeName(m_path).constData(), &named) == 0 && sameFile(held, named))
                return;
            m_file.reset();
            m_path.clear();
        }
        vb::Raise(vb::ErrPermission);
    }
    ~LockedCopy()
    {
        if (!m_path.isEmpty())
            QFile::remove(m_path);
    }
    LockedCopy(const LockedCopy &) = delete;
    LockedCopy &operator=(const LockedCopy &) = delete;

    void write(const QByteArray &bytes)
    {
        const int fd = m_file->handle();
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                writeFailed(m_target, n < 0 ? errno : ENOSPC);
            done += n;
        }
        if (::fsync(fd) != 0)
            writeFailed(m_target, errno);
    }
    const QString &path() const { return m_path; }
    void setPermissions(QFileDevice::Permissions p) { m_file->setPermissions(p); }
    // rename() replaces the target in one step: a reader sees the old file or the new one.
    void replace(const QString &target)
    {
        if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(target).constData()) != 0) {
            const int why = errno;
            if (why == ENOSPC)
                writeFailed(target, why);
            cannotWrite(target, Strings::Load(9234).arg(qt_error_string(why)));
        }
        m_path.clear();
        m_file.reset();   // the lock goes with the handle
    }

private:
    std::unique_ptr<QTemporaryFile> m_file;
    QString m_path;
    QString m_target;
};

// The rename is a change of the folder: it lasts a power cut only once the
// folder is synced too. A folder that cannot be synced (some file systems
// refuse) still holds the whole new file, so that is no failure of the save.
void syncFolder(const QDir &folder)
{
    const int fd = ::open(QFile::encodeName(folder.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

// ---------------------------------------------------------------- SaveP

bool Personnage::SaveP()
{
    std::vector<Refusal> sidesLeft;
    const bool saved = guarded("SaveP", [&] {
        if (FileName.isEmpty())
            vb::Raise(vb::ErrPathNotFound);
        // A folder on the way that may not be searched hides even whether the
        // file is there: that is a matter of rights, said as such.
        if (struct stat st {}; ::stat(QFile::encodeName(FileName).constData(), &st) != 0 && errno == EACCES)
            cannotWrite(FileName, Strings::Load(9311));
        QFileInfo target(FileName);
        // Write through a link to the file it names at the end of the chain,
        // not over the link itself nor over a link on the way.
        for (int hops = 0; target.isSymLink() && !target.symLinkTarget().isEmpty(); ++hops) {
            if (hops == 40)   // as many as the system follows before it calls it a loop
                cannotWrite(FileName, Strings::Load(9405));
            target = QFileInfo(target.symLinkTarget());
        }
        const QDir folder = target.absoluteDir();
        if (!folder.exists())
            vb::Raise(vb::ErrPathNotFound);
        refuseProgramFiles(FileName, target);
        if (target.isDir())
            cannotWrite(FileName, Strings::Load(9231));
        // Only a plain file is ever replaced: a device, a pipe or a socket
        // standing at the path is not the player's character to overwrite,
        // and a file marked read-only is kept as its owner asked, whoever runs
        // the program.
        if (target.exists() && !target.isFile())
            cannotWrite(FileName, Strings::Load(9232));
        if (target.exists() &&
            (!target.isWritable() ||
             !(target.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther))))
            cannotWrite(FileName, Strings::Load(9377));
        const qint64 longest = longestName(folder);
        if (const qint64 length = QFile::encodeName(target.fileName()).size(); length > longest)
            throw Refusal(vb::ErrBadPath, Strings::Load(9240).arg(nameTooLong(target.fileName(), length, longest)));
        checkSavable();

        // The new file is built whole in memory, from an empty character file
        // checked as start-up checks it; only a complete one is written.
        QByteArray empty;
        try {
            empty = datafiles::TemplateImage(ModGeneral::PlayerPath);
        } catch (const Refusal &r) {
            throw Refusal(r.number(), Strings::Load(9240).arg(r.text()));
        }
        ModGeneral::DbPlayer = openTemplate(empty, target.absoluteFilePath());
        sqlite3 *db = ModGeneral::DbPlayer.handle();
        exec(db, "BEGIN");
        writeTables();
        exec(db, "COMMIT");
        const QByteArray image = serialized(db);
        closeShared();

        const QString prefix = copyPrefix(target.fileName(), longest);
        LockedCopy copy(folder, prefix, FileName);
        copy.write(image);
        // The last line of defence: the copy is read back as File > Open reads
        // a file, and one that Open would refuse never replaces the old file.
        {
            readingWrittenCopy = true;
            const auto done = qScopeGuard([] { readingWrittenCopy = false; });
            Personnage again;
            again.FileName = target.absoluteFilePath();
            try {
                ModGeneral::DbPlayer = openCharacterFile(readImage(copy.path()), again.FileName);
                again.readTables();
            } catch (const Refusal &) {
                throw;
            } catch (const vb::Error &e) {
                damaged(e.number(), again.FileName, ShownText(e));
            }
            closeShared();
        }
        copy.setPermissions(target.exists() ? QFile::permissions(target.absoluteFilePath())
                                            : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                  | QFile::ReadOther);
        copy.replace(target.absoluteFilePath());
        // What Open settled is in what was just written: what lies beside
        // the old file (where the engine looks, links resolved) is stale now.
        const QString placed = QFileInfo(target.absoluteFilePath()).canonicalFilePath();
        sidesLeft = removeSideFiles(placed.isEmpty() ? target.absoluteFilePath() : placed);
        syncFolder(folder);
        removeLeftCopies(folder, prefix);
    });
    closeShared();
    for (const Refusal &r : sidesLeft)
        ReportError(r, QStringLiteral("SaveP"));
    return saved;
}

void Personnage::checkSavable()
{
    // What the reader would refuse is refused now, while the character is
    // still whole in memory and the file saved before is untouched.
    const auto refuse = [](const QString &reason) { throw Refusal(vb::ErrIo, Strings::Load(9240).arg(reason)); };
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

// ---------------------------------------------------------------- LoadP

bool Personnage::LoadP()
{
    const bool ok = guarded("LoadP", [&] {
        closeShared();
        try {
            ModGeneral::DbPlayer = openCharacterFile(settled(FileName, readImage(FileName)), FileName);
            readTables();
        } catch (const Refusal &) {
            throw;
        } catch (const vb::Error &e) {
            // Whatever else stopped the reading, the file is not what it should be.
            damaged(e.number(), FileName, ShownText(e));
        } catch (const std::bad_alloc &) {
            unreadable(vb::ErrOutOfMemory, FileName, Strings::Load(9235));
        }
    });
    closeShared();
    return ok;
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
