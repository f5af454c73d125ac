#pragma once
// What the three parts of the character file share: the mapping of the record
// to its tables, opening a file safely and writing a save safely. Only they
// include this.
#include "platform/dao.h"

#include <QByteArray>
#include <QString>
#include <sqlite3.h>

#include <functional>

class QDir;

namespace charfile {

constexpr int ErrDamaged = 3049;
constexpr char kSqliteHeader[] = "SQLite format 3";   // 16 bytes with its terminating zero

bool hasSqliteHeader(const QByteArray &bytes);

// ---------------------------------------------------------------- refusals in words
// A load or save failure is put in words (vb::Refusal): its number stays the
// one the failure raised, its text says what is wrong in the player's terms.

QString fileShown(const QString &path);
// While a save reads back the copy it has just written, what File > Open
// would refuse is the reason the save stops, not a file that failed to open.
extern bool readingWrittenCopy;
// The five things a load failure can be, each with its reason.
[[noreturn]] void damaged(int number, const QString &file, const QString &reason);
[[noreturn]] void notCharacterFile(const QString &file, const QString &reason);
[[noreturn]] void tooLarge(const QString &file, const QString &reason);
[[noreturn]] void unreadable(int number, const QString &file, const QString &reason);
// The longest file name the folder takes, in bytes.
qint64 longestName(const QDir &folder);
// "the name “…” is too long", its length and the folder's limit in bytes.
QString nameTooLong(const QString &name, qint64 length, qint64 longest);
// Why the system gave up following the links of `path`: a loop, or more
// links than it follows in one path. The words of it.
QString tooManyLinks(const QString &path);
// A save refused: `reason`, and that nothing was written over the file saved
// before, or at all when there was none.
QString notSaved(const QString &reason);
// Whether a plain file stood at the path when the save under way began.
extern bool savingOverFile;
// The largest file this program may write, 0 when the system sets no limit.
qint64 fileSizeLimit();

// ---------------------------------------------------------------- opening
// The file's bytes, read once.
QByteArray readImage(const QString &file);
// The file as the engine sees it once the change left beside it is settled.
QByteArray settled(const QString &file, const QByteArray &image);
// What the end of a journal of `size` bytes says of a change over several
// files, read as the engine reads it; `read` reads the journal's bytes.
struct SuperJournal {
    qint64 own;       // the journal without the record that names the journal of the whole
    bool committed;   // the one it names is gone: that removal committed the change
};
SuperJournal superJournal(qint64 size, const std::function<bool(qint64 at, char *into, int n)> &read);
// Settles through the confined layer the change left beside the engine's
// file at `path`, its links resolved: a hot journal rolled back, a log written
// into the file. The engine's result; `why` gets the system's error number.
int settleBeside(const QByteArray &path, int *why);
// The bytes opened as the character file, refused unless this program can read them.
dao::Database openCharacterFile(const QByteArray &image, const QString &file);

// ---------------------------------------------------------------- the tables
void exec(sqlite3 *db, const char *sql);
// Gives up the file being read or written, whatever state it is in.
void closeShared();

} // namespace charfile
