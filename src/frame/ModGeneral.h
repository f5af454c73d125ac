#pragma once
// The program's shared state and its start: the paths of the data files, the
// two workspaces, the rules database, the scratch query buffers, the data
// language and the count of open characters (their table is in
// character/Players.h, beside the record it holds).
#include "platform/dao.h"

#include <QString>
#include <QVariant>
#include <array>
#include <optional>

namespace ModGeneral {

inline dao::Workspace WsMaster;
inline dao::Workspace WsPlayer;
inline dao::Database DbMaster;
inline dao::Database DbPlayer;
inline QString MasterPath;
inline QString PlayerPath;
inline QString Sql;
inline QString Criteria;
// A rules recordset the new-character pages share for their short look-ups;
// each user opens it, reads and closes it again.
inline dao::Recordset RsShared;
inline qint16 DataLanguage = 0;
inline qint16 PlayerCount = 0;
inline QString SkillDevMode;
inline std::array<qint32, 4> WeaponChoiceArgs{};
inline bool WeaponAdolescenceShown = false;
inline QVariant MsgText;
inline QString MsgTitle;
// Why the rules are not open when start-up could not open them, in words
// that name the file at fault; every later rules query says so.
inline QString RulesUnavailable;
// The bytes of the empty character file last found sound: a save looks into
// the file only when they have changed. Until a file was found sound there
// are no such bytes, not even none: an empty file is looked into.
inline std::optional<QByteArray> SoundTemplate;

// The program's own folder (where master.dat, player.dat and mind.dat are).
QString AppFolder();
// Puts the program's folder elsewhere (tests); an empty folder restores the real one.
void SetAppFolder(const QString &folder);

// The per-character window tables end at these numbers: the new-character and
// background windows serve characters 1 to 10, the skill development and
// sheet windows characters 1 to 30.
inline constexpr int NewCharacterLimit = 10;
inline constexpr int OpenCharacterLimit = 30;
// Past this many open characters RedimPlayer warns (and goes on).
inline constexpr int CompressionWarningCount = 20;

// A write past the file-size limit the program was started under fails as a
// full disk does, with a message, instead of ending the program and every
// open character's unsaved work with it. The start calls it first.
void AnswerFileSizeLimit();

// The program's title (string 1104): the main window's caption and the title
// of every box that has none of its own.
QString ProgramTitle();

// Sets the security file and opens both workspaces and the rules database,
// then checks the rules and the empty character template. Reports each file
// that fails once (location "OpenDB"), naming it, and returns; rules that
// fail their check are left closed.
void OpenDB();

} // namespace ModGeneral
