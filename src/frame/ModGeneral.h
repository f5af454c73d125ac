#pragma once
// The program's shared state and its start: the paths of the data files, the
// two workspaces, the rules database, the scratch query buffers, the data
// language and the table of open characters.
#include "character/Personnage.h"
#include "platform/dao.h"

#include <QString>
#include <QVariant>
#include <array>
#include <deque>
#include <memory>

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

// The open characters, 1..size(); a slot gets a fresh record on first use
// (0 and below name slot 0, which no character has). A number past the table
// is a subscript error (vb::Error 9): reading never grows the table.
class PlayerTable {
public:
    Personnage &operator()(int n);
    Personnage &operator[](int n) { return (*this)(n); }
    int size() const { return static_cast<int>(m_slots.size()) - 1; }
    // Room for characters 1..count, existing records kept in place. The table
    // never drops a record this way: a smaller count that would is error 9.
    void resize(int count);
    // Drops character n, the newest, whose record nothing uses (its file
    // could not be read); anything else is error 9.
    void dropNewest(int n);
    void clear();             // for tests: back to no character

private:
    std::deque<std::unique_ptr<Personnage>> m_slots{1};
};
inline PlayerTable Players;

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

// The program's title (string 1104): the main window's caption and the title
// of every box that has none of its own.
QString ProgramTitle();

// Sets the security file and opens both workspaces and the rules database.
// Reports its own failure once (location "OpenDB") and returns.
void OpenDB();
// Adds one character slot; the new number is PlayerCount afterwards. An
// overflow is reported (location "RedimPlayer") and nothing grows.
void RedimPlayer();
// Undoes the RedimPlayer that made character n when n is still the newest:
// its record goes and its number is the next one given.
void GiveBackPlayer(int n);

// Resets every shared variable to its start value (tests).
void ResetSharedState();

} // namespace ModGeneral
