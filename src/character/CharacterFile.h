#pragma once
// What identifies a character file: the application id every copy of the
// template carries, and the newest layout of its tables this program reads.
#include <QtGlobal>

namespace character {

constexpr qint64 FileApplicationId = 1364284758;
constexpr qint64 FileFormatVersion = 1;

} // namespace character
