#include "print/WholeFile.h"

#include "platform/Strings.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace print {
namespace {

// The sheet did not go to `file` for `cause`; `before`: an older file of
// that name is still there, unchanged.
[[noreturn]] void notWritten(int number, const QString &file, const QString &cause, bool before)
{
    throw vb::Refusal(number, Strings::Load(before ? 9600 : 9601).arg(QDir::toNativeSeparators(file), cause));
}

// What the system's error number means to the player. A file-size limit is
// not a full disk: more room would not help.
[[noreturn]] void failed(int why, const QString &file, const QString &folder, bool before)
{
    const QString shownFolder = QDir::toNativeSeparators(folder);
    switch (why) {
    case ENOSPC: notWritten(vb::ErrDiskFull, file, Strings::Load(9602), before);
    case EDQUOT: notWritten(vb::ErrDiskFull, file, Strings::Load(9603), before);
    case EFBIG: notWritten(vb::ErrDiskFull, file, Strings::Load(9604), before);
    case EACCES:
    case EPERM: notWritten(vb::ErrPermission, file, Strings::Load(9605).arg(shownFolder), before);
    case EROFS: notWritten(vb::ErrPermission, file, Strings::Load(9607).arg(shownFolder), before);
    case ENOENT:
    case ENOTDIR: notWritten(vb::ErrPathNotFound, file, Strings::Load(9606).arg(shownFolder), before);
    default: notWritten(vb::ErrIo, file, Strings::Load(9234).arg(qt_error_string(why)), before);
    }
}

} // namespace

void WriteWholeFile(const QString &path, const QByteArray &bytes)
{
    // Found as the system finds it, links followed.
    struct stat old {};
    const bool before = ::stat(QFile::encodeName(path).constData(), &old) == 0;
    QFileInfo target(path);
    if (before && !target.canonicalFilePath().isEmpty())
        target = QFileInfo(target.canonicalFilePath());
    if (before && S_ISDIR(old.st_mode))
        notWritten(vb::ErrPermission, path, Strings::Load(9231), false);
    // A device or a pipe at the path is not a file to replace.
    if (before && !S_ISREG(old.st_mode))
        notWritten(vb::ErrPermission, path, Strings::Load(9232), true);
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    if (before && ::access(targetName.constData(), W_OK) != 0)
        notWritten(vb::ErrPermission, path, Strings::Load(9377), true);

    // The new file keeps the rights of the one it replaces.
    mode_t mode = old.st_mode & 07777;
    if (!before) {
        mode = ::umask(0);
        ::umask(mode);
        mode = 0666 & ~mode;
    }

    // ".<name>.~qv-XXXXXX", its name shortened to the folder's usual limit.
    const QString folder = target.absolutePath();
    QString name = target.fileName();
    constexpr qsizetype kLongestName = 255 - 12;
    while (!name.isEmpty() && QFile::encodeName(name).size() > kLongestName)
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    QByteArray copy = QFile::encodeName(QDir(folder).filePath(QLatin1Char('.') + name + QStringLiteral(".~qv-XXXXXX")));
    const int fd = ::mkostemp(copy.data(), O_CLOEXEC);
    if (fd < 0)
        failed(errno, path, folder, before);
    bool placed = false;
    const auto removeCopy = qScopeGuard([&] {
        if (!placed)
            ::unlink(copy.constData());
    });

    int why = 0;
    for (qsizetype done = 0; why == 0 && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n == 0)
            why = ENOSPC;
        else if (errno != EINTR)
            why = errno;
    }
    // A disk that reports its want of room only when the data reach it says
    // so here.
    if (why == 0 && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0))
        why = errno;
    if (::close(fd) != 0 && why == 0 && errno != EINTR)
        why = errno;
    if (why != 0)
        failed(why, path, folder, before);
    if (::rename(copy.constData(), targetName.constData()) != 0)
        failed(errno, path, folder, before);
    placed = true;
}

} // namespace print
