#pragma once
// What the program expects of the two data files beside it that it never
// writes: the rules (master.dat) and the empty character template
// (player.dat). Both are checked once at start, so that a damaged or foreign
// file is named then, in words, instead of failing later in windows that
// cannot tell which file is at fault.
//
// The tables and columns expected are read at build time (mkdat --shape) from
// the very SQL the two files are built from (resources/rules, resources/
// template): what is checked is what every reader was tested against.
#include "platform/dao.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace datafiles {

struct Table {
    QString name;
    QStringList columns;
    // Columns holding identifiers (names ending in "_ID", "_ID1"...; the
    // spell lists' "Classification_ ID"): whole numbers.
    QStringList ids;
};

// The rules' tables and the columns the program reads of them: the schema's,
// less those of RulesNotRead().
const std::vector<Table> &RulesRead();

// "Table.Column" of the schema's columns that only make a row's place
// explicit: no reader names them, so a rules file without them serves as well.
const QStringList &RulesNotRead();

// Raises vb::Refusal, in words, when the file at `path` cannot be opened for
// reading: missing, a folder, a link that leads nowhere or back to itself,
// not a regular file, or not to be read. The number is the one opening it
// would raise, or `number` when given.
void CheckOpenable(const QString &path, int number = 0);

// Raises vb::Refusal, in words, when the open rules are damaged (the engine's
// quick integrity check), lack a table or column the program reads, or hold
// what their SQL does not declare: a value not of its column's type, an empty
// one where none may be, text that is not UTF-8, an identifier below 0 (below
// 1 for a table's own key), an element twice where the SQL makes it unique,
// no rows in a table the SQL fills, or another count of statistics.
void CheckRules(const dao::Database &rules);

// Opens the file at `path` and raises vb::Error (a vb::Refusal where words say
// more than the number) when it is not the program's empty character
// template: missing, no database or a damaged one, another program's file or
// another version of the format, a table or column missing, or rows in it.
void CheckTemplate(const QString &path);

} // namespace datafiles
