#pragma once
// Name order as a reader expects it: case and accents folded, so "Élan" sorts
// between "elfe" and "nain". Registered as the collation FOLD on every
// connection the program (and the data-file builder) opens.
#include <QString>

struct sqlite3;

namespace platform {

inline constexpr const char *kFoldCollation = "FOLD";

// The key names are compared by: accents removed, case folded, ligatures opened.
QString foldKey(const QString &s);
// <0, 0, >0; equal keys fall back to the exact text so the order is total.
int compareNames(const QString &a, const QString &b);
// Registers FOLD on an open connection; returns the SQLite result code.
int registerCollations(sqlite3 *db);

} // namespace platform
