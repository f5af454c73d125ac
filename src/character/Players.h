#pragma once
// The table of open characters. It belongs to the program's shared state
// (ModGeneral) and lives beside the record it holds, so that the frame below
// the record needs none.
#include "character/Personnage.h"

#include <deque>
#include <memory>
#include <set>

namespace ModGeneral {

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
    // Drops character n, given up while it was being made: its slot is free
    // for the next new character, and free slots at the end of the table go.
    void release(int n);
    // The lowest free slot, 0 when none; claim() gives it a fresh record.
    int firstFree() const { return m_free.empty() ? 0 : *m_free.begin(); }
    void claim(int n);
    void clear();             // for tests: back to no character

private:
    std::deque<std::unique_ptr<Personnage>> m_slots{1};
    std::set<int> m_free;
};
inline PlayerTable Players;

// Adds one character slot; the new number is PlayerCount afterwards. An
// overflow is reported (location "RedimPlayer") and nothing grows.
void RedimPlayer();
// Undoes the RedimPlayer that made character n when n is still the newest:
// its record goes and its number is the next one given.
void GiveBackPlayer(int n);
// Gives up character n, one being made whose last window the player closed:
// no record stays behind that no window can reach, and its number is the one
// the next new character takes.
void ReleasePlayer(int n);
// The number for a new character: one given up earlier (its slot made fresh)
// when there is one up to `limit`; else 0, and the table has to grow.
int TakeReleasedPlayer(int limit);

// Resets every shared variable to its start value, the open characters with
// them (tests).
void ResetSharedState();

} // namespace ModGeneral
