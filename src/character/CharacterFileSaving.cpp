// Saving a character file safely. The whole new file is built in memory from
// the empty template player.dat, written under a marked, locked name beside
// the file the system names, read back as File > Open reads it, and only then
// put in that file's place; a failed save never costs the player the
// previous file.
#include "character/Personnage.h"

#include "character/CharacterFile.h"
#include "character/CharacterFileParts.h"
#include "character/Guarded.h"
#include "frame/DataFiles.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/dao.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <sqlite3.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using character::guarded;
using vb::Refusal;
using namespace charfile;

// The empty character file is the first state of every character file.
static_assert(datafiles::TemplateMaxBytes == character::MaxFileBytes);

namespace {

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
    throw Refusal(number, notSaved(words));
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
            throw Refusal(vb::ErrPermission, notSaved(Strings::Load(9372).arg(fileShown(file), Strings::Load(o.name))));
    }
}

// The file cannot be written for want of rights, or in its place: the box
// names it and says why.
[[noreturn]] void cannotWrite(const QString &file, const QString &reason)
{
    throw Refusal(vb::ErrPermission, notSaved(Strings::Load(9376).arg(fileShown(file), reason)));
}

// The folder that should hold the file is gone: removed or renamed since the
// character was opened, or a link on the way leads nowhere.
[[noreturn]] void missingFolder(const QString &file, const QString &folder)
{
    throw Refusal(vb::ErrPathNotFound, notSaved(Strings::Load(9448).arg(fileShown(file), fileShown(folder))));
}

// The file a write through `file` lands on, found as the system finds it:
// each link's text is read from the real folder the link lies in, so ".."
// after a linked folder leaves the folder that link led to, not the one
// its name stands in. The save writes that file, not a link on the way, and
// checks that file against the program's own.
QString landing(const QString &file)
{
    QByteArray path = QFile::encodeName(file);
    if (!path.startsWith('/'))
        path = QFile::encodeName(QDir::currentPath()) + '/' + path;
    const auto real = [&file](const QByteArray &p) {
        char *resolved = ::realpath(p.isEmpty() ? "/" : p.constData(), nullptr);
        if (!resolved) {
            if (errno == ELOOP)
                cannotWrite(file, tooManyLinks(file));
            if (errno == EACCES)
                cannotWrite(file, Strings::Load(9311));
            if (errno == ENOENT || errno == ENOTDIR)
                missingFolder(file, QFile::decodeName(p));
            vb::Raise(vb::ErrPathNotFound);
        }
        const QByteArray out(resolved);
        std::free(resolved);
        return out;
    };
    for (int hops = 0;; ++hops) {
        const qsizetype slash = path.lastIndexOf('/');
        const QByteArray base = path.mid(slash + 1);
        // A name that ends on a folder of its own: the folder is the target.
        if (base.isEmpty() || base == "." || base == "..")
            return QFile::decodeName(real(path));
        const QByteArray folder = real(path.left(slash));
        const QByteArray at = folder == "/" ? '/' + base : folder + '/' + base;
        struct stat st {};
        if (::lstat(at.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return QFile::decodeName(at);
        if (hops == 40)   // as many as the system follows in one path
            cannotWrite(file, tooManyLinks(file));
        QByteArray text(qsizetype(st.st_size > 0 ? st.st_size : 4096) + 1, Qt::Uninitialized);
        const ssize_t n = ::readlink(at.constData(), text.data(), size_t(text.size()));
        if (n <= 0 || n >= text.size())
            vb::Raise(vb::ErrPathNotFound);
        text.truncate(n);
        path = text.startsWith('/') ? text : folder + '/' + text;
    }
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

// Writing the new file failed: the disk full, a limit on the size of the
// files this program may write, or whatever the system says.
[[noreturn]] void writeFailed(const QString &file, int why)
{
    if (why == EFBIG)
        throw Refusal(vb::ErrIo, notSaved(fileSizeLimit() > 0 ? Strings::Load(9442).arg(fileSizeLimit())
                                                               : Strings::Load(9443)));
    if (why == ENOSPC || why == EDQUOT)
        throw Refusal(vb::ErrDiskFull, notSaved(Strings::Load(9430)));
    throw Refusal(vb::ErrIo, notSaved(Strings::Load(9376).arg(fileShown(file), Strings::Load(9234).arg(qt_error_string(why)))));
}

// What another program left beside the file it was changing: its journal or
// log would bring that older change back over the new file the next time the
// file is opened, here or by any program. Before the new file takes the old
// one's place, the engine's own recovery settles that change in the old file,
// through the confined layer: a hot journal rolled back, a log written in,
// each removed only once its change is safe in the file. A kill at any moment
// leaves the old file with its journal (settled again at the next open) or
// settled without it, and the new file only ever lands beside no journal and
// no log. Links, pipes and the like under those names, or under the name of
// the log's index, are no journal of this file: they go without what they
// lead to; a folder, which no engine takes for a journal, stays. A journal or
// log that cannot go stops the save.
void settleOldFile(const QString &file)
{
    const QByteArray name = QFile::encodeName(file);
    // A side file that cannot go, or whose change cannot be settled (`string`).
    const auto refuse = [&file](int string, const QString &side, int why, bool rights = false) {
        rights = rights || why == EACCES || why == EPERM;
        const QString reason = rights ? Strings::Load(string == 9431 ? 9432 : 9439)
                                      : Strings::Load(9234).arg(qt_error_string(why));
        throw Refusal(rights ? vb::ErrPermission : vb::ErrIo,
                      notSaved(Strings::Load(string).arg(fileShown(file), fileShown(side), reason)));
    };
    const auto kind = [](const QByteArray &side) {
        struct stat st {};
        return ::lstat(side.constData(), &st) != 0 ? 0 : int(st.st_mode & S_IFMT);
    };
    const auto remove = [&](const char *suffix) {
        const QByteArray side = name + suffix;
        const int is = kind(side);
        if (is != 0 && is != S_IFDIR && ::unlink(side.constData()) != 0 && errno != ENOENT
            && std::strcmp(suffix, "-shm") != 0)   // an index without its log holds no change
            refuse(9431, QFile::decodeName(side), errno);
    };
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        if (kind(name + suffix) != S_IFREG)
            remove(suffix);
    const QByteArray journal = name + "-journal";
    if (kind(journal) == S_IFREG && kind(name) == S_IFREG) {
        // A change over several files whose journal of the whole is gone was
        // committed: the file stands, and its journal goes. While that one is
        // there, the change is rolled back as the file's own: this program
        // never reaches what a journal names.
        if (const int fd = ::open(journal.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC); fd >= 0) {
            const auto closing = qScopeGuard([fd] { ::close(fd); });
            struct stat st {};
            if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
                const SuperJournal whole = superJournal(st.st_size, [fd](qint64 at, char *into, int n) {
                    return ::pread(fd, into, size_t(n), at) == n;
                });
                if (whole.committed)
                    remove("-journal");
                else if (whole.own < st.st_size && (::ftruncate(fd, whole.own) != 0 || ::fsync(fd) != 0))
                    refuse(9435, QFile::decodeName(journal), errno);
            }
        }
    }
    if ((kind(journal) == S_IFREG || kind(name + "-wal") == S_IFREG) && kind(name) == S_IFREG) {
        int why = 0;
        const int rc = settleBeside(name, &why);
        // A file that is no database holds no change to settle; what the
        // system refused (room, rights, a lock) leaves the change unsettled.
        const int primary = rc & 0xff;
        if (rc != SQLITE_OK && primary != SQLITE_NOTADB && primary != SQLITE_CORRUPT) {
            if (why == ENOSPC || why == EDQUOT || why == EFBIG || primary == SQLITE_FULL)
                writeFailed(file, why == EFBIG || why == EDQUOT ? why : ENOSPC);
            const QString side = kind(journal) == S_IFREG ? file + QStringLiteral("-journal")
                                                          : file + QStringLiteral("-wal");
            refuse(9435, side, why ? why : EIO,
                   primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY || primary == SQLITE_PERM);
        }
    }
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        remove(suffix);
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
    const bool saved = guarded("SaveP", [&] {
        if (FileName.isEmpty())
            vb::Raise(vb::ErrPathNotFound);
        struct stat st {};
        const int why = ::stat(QFile::encodeName(FileName).constData(), &st) == 0 ? 0 : errno;
        savingOverFile = why == 0 && S_ISREG(st.st_mode);
        const auto over = qScopeGuard([] { savingOverFile = false; });
        // A folder on the way that may not be searched hides even whether the
        // file is there: that is a matter of rights, said as such.
        if (why == EACCES)
            cannotWrite(FileName, Strings::Load(9311));
        // Open follows the same links, and the system follows no more of them.
        if (why == ELOOP)
            cannotWrite(FileName, tooManyLinks(FileName));
        const QFileInfo target(landing(FileName));
        const QDir folder = target.absoluteDir();
        if (!folder.exists())
            missingFolder(FileName, folder.absolutePath());
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
            throw Refusal(vb::ErrBadPath, notSaved(nameTooLong(target.fileName(), length, longest)));
        checkSavable();

        // The new file is built whole in memory, from an empty character file
        // checked as start-up checks it; only a complete one is written.
        QByteArray empty;
        try {
            empty = datafiles::TemplateImage(ModGeneral::PlayerPath);
        } catch (const Refusal &r) {
            throw Refusal(r.number(), notSaved(r.text()));
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
        settleOldFile(target.absoluteFilePath());
        copy.replace(target.absoluteFilePath());
        syncFolder(folder);
        removeLeftCopies(folder, prefix);
    });
    closeShared();
    return saved;
}
