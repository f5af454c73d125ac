// Opening a character file safely. The file is foreign input: its bytes are
// read once, opened in memory and checked before a single row is read. An
// unfinished change left beside it is settled on a private copy, so opening
// never makes, changes or follows anything beside the file. A refusal says in
// words what is wrong with the file.
#include "character/Personnage.h"

#include "character/CharacterFile.h"
#include "character/CharacterFileParts.h"
#include "character/Guarded.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/dao.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using character::guarded;
using vb::Refusal;

namespace charfile {

bool hasSqliteHeader(const QByteArray &bytes)
{
    return bytes.size() >= 16 && std::memcmp(bytes.constData(), kSqliteHeader, 16) == 0;
}

QString fileShown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool readingWrittenCopy = false;

namespace {

[[noreturn]] void refused(int number, int sentence, const QString &file, const QString &reason)
{
    if (readingWrittenCopy)
        throw Refusal(number, notSaved(Strings::Load(9379).arg(reason)));
    throw Refusal(number, Strings::Load(sentence).arg(fileShown(file), reason));
}

} // namespace

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

qint64 longestName(const QDir &folder)
{
    const long longest = ::pathconf(QFile::encodeName(folder.absolutePath()).constData(), _PC_NAME_MAX);
    return longest > 0 ? longest : 255;
}

QString nameTooLong(const QString &name, qint64 length, qint64 longest)
{
    return Strings::Load(9312).arg(name.size() > 40 ? name.left(40) + QStringLiteral("…") : name,
                                   QString::number(length), QString::number(longest));
}

QString tooManyLinks(const QString &path)
{
    // The system stops at 40 links in one path, counting those of its folders
    // too. Followed on past that, a path whose links end somewhere is only
    // long; one whose links lead back to themselves never ends.
    QByteArray done = path.startsWith(QLatin1Char('/')) ? QByteArray() : QFile::encodeName(QDir::currentPath());
    QList<QByteArray> ahead = QFile::encodeName(path).split('/');
    for (int links = 0; !ahead.isEmpty();) {
        const QByteArray part = ahead.takeFirst();
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            done.truncate(std::max<qsizetype>(0, done.lastIndexOf('/')));
            continue;
        }
        const QByteArray at = done + '/' + part;
        struct stat st {};
        char text[PATH_MAX];
        const ssize_t n = ::lstat(at.constData(), &st) == 0 && S_ISLNK(st.st_mode)
                              ? ::readlink(at.constData(), text, sizeof text) : 0;
        if (n == 0) {
            done = at;
            continue;
        }
        if (n < 0 || ++links > 4096 || ahead.size() > 4096)
            return Strings::Load(9405);
        if (text[0] == '/')
            done.clear();
        ahead = QByteArray(text, n).split('/') + ahead;
    }
    return Strings::Load(9440);
}

bool savingOverFile = false;

QString notSaved(const QString &reason)
{
    return Strings::Load(savingOverFile ? 9240 : 9441).arg(reason);
}

} // namespace charfile

using namespace charfile;

namespace {

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
        unreadable(vb::ErrCannotOpenFile, file, tooManyLinks(file));
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

} // namespace

namespace charfile {

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

} // namespace charfile

namespace {

// ---------------------------------------------------------------- settling what lies beside the file
//
// The engine settles an unfinished change left beside a file: on a private
// copy of the file and of its journal or log when the file is opened, in
// place when a save is about to replace it. What a journal holds could lead
// the engine further: one that claims its change spanned several files names
// the journal of the whole, which the engine would open, read the names in
// and delete when none of them names it back; a pipe named there would hold
// the settling up for good. The settling connection goes through this layer
// over the system's, for which the file, its journal, its log and its shared
// index are the only files there are: any other does not exist, is not
// opened and is not deleted, and no nameless temporary file is made
// anywhere. A side name that holds no plain file (a folder, a link, a pipe)
// holds no journal either.

namespace settling {

thread_local QByteArray ownFile;   // the file being settled on this thread; empty while none is

// 0 for the file itself, 1 for one of its side files, -1 for anything else.
int own(const char *path)
{
    if (!path || ownFile.isEmpty() || std::strncmp(path, ownFile.constData(), size_t(ownFile.size())) != 0)
        return -1;
    const char *rest = path + ownFile.size();
    if (!*rest)
        return 0;
    return !std::strcmp(rest, "-journal") || !std::strcmp(rest, "-wal") || !std::strcmp(rest, "-shm") ? 1 : -1;
}

// A side file that stands there as something other than a plain file.
bool foreignSide(const char *path)
{
    struct stat st {};
    return ::lstat(path, &st) == 0 && !S_ISREG(st.st_mode);
}

sqlite3_vfs *system(sqlite3_vfs *layer)
{
    return static_cast<sqlite3_vfs *>(layer->pAppData);
}

int openFile(sqlite3_vfs *layer, sqlite3_filename path, sqlite3_file *file, int flags, int *outFlags)
{
    const int which = own(path);
    if (which < 0 || (flags & SQLITE_OPEN_SUPER_JOURNAL) || (which == 1 && foreignSide(path))) {
        file->pMethods = nullptr;
        return SQLITE_CANTOPEN;
    }
    return system(layer)->xOpen(system(layer), path, file, flags, outFlags);
}

int deleteFile(sqlite3_vfs *layer, const char *path, int syncFolder)
{
    return own(path) >= 0 ? system(layer)->xDelete(system(layer), path, syncFolder) : SQLITE_IOERR_DELETE;
}

int accessFile(sqlite3_vfs *layer, const char *path, int flags, int *result)
{
    const int which = own(path);
    if (which == 0 || (which == 1 && !foreignSide(path)))
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

// The file the layer lets through while it lives.
class Scope {
public:
    explicit Scope(const QByteArray &file) { ownFile = file; }
    ~Scope() { ownFile.clear(); }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
};

} // namespace settling

// The journal or log beside the file: empty when there is none. Only a plain
// file of its own counts: a pipe or a folder under that name is no journal of
// this file, and opening one must neither lead elsewhere nor wait. A link to
// a file there is refused in words: the engine would take what it leads to
// as the journal, and this program follows no link beside a file.
QByteArray sideFile(const QString &file, const QString &side)
{
    const QByteArray name = QFile::encodeName(side);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int why = errno;
        struct stat st {};
        if (why == ELOOP && ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode))
            unreadable(vb::ErrCannotOpenFile, file, Strings::Load(9436).arg(fileShown(side)));
        // None there (nor can one be, past the folder's longest name), a link to no file, or a socket.
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

// Where the change left beside a file is settled on a private copy: the
// temporary folder, named as it was set even when it is missing.
QString temporaryFolder()
{
    const QString found = QDir::tempPath();
    if (!found.isEmpty())
        return found;
    const QString set = qEnvironmentVariable("TMPDIR");
    return QDir::cleanPath(set.isEmpty() ? QStringLiteral("/tmp") : set);
}

// Whether the journal of a change over several files is there, asked as the
// engine asks it: the name as the journal gives it, from the working folder
// when it is relative, and an empty file counts as none. Nothing there is
// opened.
bool superJournalThere(const QByteArray &name)
{
    struct stat st {};
    return ::stat(name.constData(), &st) == 0 && (!S_ISREG(st.st_mode) || st.st_size > 0);
}

} // namespace

namespace charfile {

qint64 fileSizeLimit()
{
    struct rlimit limit {};
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY ? qint64(limit.rlim_cur) : 0;
}

SuperJournal superJournal(qint64 size, const std::function<bool(qint64 at, char *into, int n)> &read)
{
    // From the journal's end: its mark, the sum and the length of the name,
    // and before the name the number of a page.
    static constexpr unsigned char mark[] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
    const SuperJournal none{size, false};
    unsigned char tail[16];
    if (size < 16 || !read(size - 16, reinterpret_cast<char *>(tail), 16) || std::memcmp(tail + 8, mark, 8) != 0)
        return none;
    const auto number = [&tail](int at) {
        return quint32(tail[at]) << 24 | quint32(tail[at + 1]) << 16 | quint32(tail[at + 2]) << 8 | tail[at + 3];
    };
    // The engine reads no name longer than the longest path it takes.
    const qint64 length = number(0);
    if (length == 0 || length > size - 16 || length > sqlite3_vfs_find(nullptr)->mxPathname)
        return none;
    QByteArray name(qsizetype(length), Qt::Uninitialized);
    if (!read(size - 16 - length, name.data(), int(length)))
        return none;
    // A name whose sum is wrong was torn: the engine takes it for none. It
    // reads the name up to its first zero byte, each byte as a char is here.
    quint32 sum = number(4);
    for (const char c : std::as_const(name))
        sum -= quint32(c);
    name.truncate(qsizetype(qstrnlen(name.constData(), size_t(name.size()))));
    if (sum != 0 || name.isEmpty())
        return none;
    return {std::max<qint64>(0, size - 20 - length), !superJournalThere(name)};
}

int settleBeside(const QByteArray &path, int *why)
{
    const settling::Scope scope(path);
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
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
    *why = db ? sqlite3_system_errno(db) : 0;
    sqlite3_close_v2(db);
    return rc;
}

// A journal or write-ahead log beside the file holds the end of a change that
// another program was making when it stopped: the file alone may be torn. The
// engine settles the change on a private copy, in a folder of its own, and the
// file is read as the engine then sees it; nothing beside the file is made or
// changed, and nothing a journal names is opened. A journal whose change
// spanned several files is rolled back as the file's own while the journal of
// the whole is there; once that is gone the change was committed, and the
// file stands as it is.
QByteArray settled(const QString &file, const QByteArray &image)
{
    // The engine writes the journal beside the file a link leads to.
    const QString real = QFileInfo(file).canonicalFilePath();
    const QString besides = real.isEmpty() ? file : real;
    QList<std::pair<const char *, QByteArray>> sides;
    for (const char *suffix : {"-journal", "-wal"}) {
        QByteArray bytes = sideFile(file, besides + QLatin1String(suffix));
        if (!std::strcmp(suffix, "-journal")) {
            const SuperJournal whole = superJournal(bytes.size(), [&bytes](qint64 at, char *into, int n) {
                std::memcpy(into, bytes.constData() + at, size_t(n));
                return true;
            });
            bytes.truncate(whole.committed ? 0 : whole.own);
        }
        if (!bytes.isEmpty())
            sides.append({suffix, std::move(bytes)});
    }
    if (sides.isEmpty())
        return image;
    const QString temporary = temporaryFolder();
    const auto failed = [&file, &temporary](int why) {
        if (why == EFBIG && fileSizeLimit() > 0)
            unreadable(vb::ErrIo, file, Strings::Load(9444).arg(fileShown(temporary)).arg(fileSizeLimit()));
        if (why == ENOSPC || why == EDQUOT || why == EFBIG)
            unreadable(vb::ErrDiskFull, file, Strings::Load(9437).arg(fileShown(temporary)));
        if (why == EACCES || why == EPERM)
            unreadable(vb::ErrPermission, file, Strings::Load(9445).arg(fileShown(temporary), Strings::Load(9446)));
        if (why == ENOENT || why == ENOTDIR)
            unreadable(vb::ErrPathNotFound, file, Strings::Load(9445).arg(fileShown(temporary), Strings::Load(9230)));
        unreadable(vb::ErrIo, file, Strings::Load(9234).arg(qt_error_string(why)));
    };
    QByteArray folder = QFile::encodeName(temporary + QStringLiteral("/quorvane-XXXXXX"));
    if (!::mkdtemp(folder.data()))
        failed(errno);
    const auto removing = qScopeGuard([&folder] { QDir(QFile::decodeName(folder)).removeRecursively(); });
    // Named as the engine names it, links resolved, so that the layer knows
    // the copy's side files by their names.
    const QString copy = QDir(QFile::decodeName(folder)).canonicalPath() + QStringLiteral("/settle.pja");
    const auto put = [&failed](const QString &path, const QByteArray &bytes) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0)
            failed(errno);
        const auto closing = qScopeGuard([fd] { ::close(fd); });
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                failed(n < 0 ? errno : ENOSPC);
            done += n;
        }
    };
    put(copy, image);
    for (const auto &[suffix, bytes] : sides)
        put(copy + QLatin1String(suffix), bytes);
    int why = 0;
    if (settleBeside(QFile::encodeName(copy), &why) != SQLITE_OK) {
        if (why == ENOSPC || why == EDQUOT || why == EFBIG)
            failed(why);
        damaged(ErrDamaged, file, Strings::Load(9218));
    }
    QFile in(copy);
    if (!in.open(QIODevice::ReadOnly))
        failed(EIO);
    const QByteArray whole = in.read(character::MaxFileBytes + 1);
    // What the change makes of the file is too large: the change is at fault.
    if (whole.size() > character::MaxFileBytes)
        tooLarge(file, Strings::Load(9438)
                           .arg(fileShown(besides + QLatin1String(sides.front().first)))
                           .arg(QFileInfo(copy).size())
                           .arg(character::MaxFileBytes));
    return whole;
}

} // namespace charfile

namespace {

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

} // namespace

namespace charfile {

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

} // namespace charfile

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
