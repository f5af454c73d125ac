#pragma once
// What identifies a character file, and the most one may hold.
#include <QtGlobal>

namespace character {

// The application id every copy of the template carries, and the newest
// layout of its tables this program reads.
constexpr qint64 FileApplicationId = 1364284758;
constexpr qint64 FileFormatVersion = 1;

// The record reaches its rows through 16-bit indexes, so no table of a file
// holds more rows than that; a text holds no more than a text box takes.
constexpr int MaxTableRows = 32767;
constexpr int MaxTextLength = 32767;
// Every table at its row cap with full-width numbers still fits with room to
// spare; the file is read whole into memory, so this bounds what opening costs.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

} // namespace character
