#pragma once
// The query texts of the rules readers were written for an older engine's
// dialect. These functions turn such a text into one SQLite prepares and runs
// with the same meaning, and leave anything SQLite already reads as it stands.
#include <QString>

namespace dao {

// True when the source is SQL text rather than a bare table name: it starts
// with a statement keyword (SELECT, WITH, INSERT, ...).
bool isSqlText(const QString &source);

// A bare table name as callers write it: brackets, surrounding blanks and a
// final ';' removed ("[Race abilities]" -> "Race abilities").
QString bareTableName(const QString &source);

// The dialect differences, outside string literals and [bracketed] names:
//  - a number glued to a keyword gets its blank back ("= 12AND (" -> "= 12 AND (");
//  - True / False become -1 / 0 (the stored yes/no values);
//  - "double-quoted" texts are string literals, as the old engine read them;
//  - #m/d/yyyy# dates become 'yyyy-mm-dd';
//  - LIKE patterns use * and ? as wildcards (% and _ are then plain characters);
//  - [Table]![Column] becomes [Table].[Column].
QString adaptSql(const QString &sql);

// A SELECT without ORDER BY comes back in the first table's stored order, as
// the old engine returned it: " ORDER BY <first table>.rowid" is appended.
// Texts that cannot take it (compound, grouped, limited, derived tables) are
// returned unchanged.
QString withStoredOrder(const QString &sql);

} // namespace dao
