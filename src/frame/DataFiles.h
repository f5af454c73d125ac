#pragma once
// What the program expects of the two data files beside it that it never
// writes: the rules (master.dat) and the empty character file (player.dat).
// Both are checked at start, so that a damaged or foreign file is named then,
// in words, instead of failing later in windows that cannot tell which file
// is at fault; the empty character file again at every save.
//
// What is expected comes from the very SQL the two files are built from
// (resources/rules, read at build time by mkdat --shape; resources/template,
// built into the program): what is checked is what every reader was tested
// against.
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
// no rows in a table the SQL fills, another count of statistics, or a text
// that the program reads as figures (rank progressions, development point
// costs, money dice, roll bands) outside the form its readers take.
void CheckRules(const dao::Database &rules);

// Raises vb::Error (a vb::Refusal where words say more than the number) when
// the file at `path` is not the program's empty character file: the check of
// TemplateImage, put in a sentence that says no character can be saved.
void CheckTemplate(const QString &path);

// The most bytes the empty character file may hold: the cap of a character
// file, since every one starts as a copy of it.
constexpr qint64 TemplateMaxBytes = 16 * 1024 * 1024;

// The bytes of the empty character file at `path`, once they are known to be
// the program's: a regular file within the cap, sound, with the application
// id and version of its SQL, exactly the tables and columns that SQL makes
// with their declared types, nothing else in it (trigger, index, view,
// constraint) and no row. Otherwise raises a vb::Refusal whose words are a
// clause naming the file and what is wrong with it ("the empty character
// file “…” is …"), for start-up and every save to put in their sentences.
// A pipe or a device at the path is refused without waiting on it.
QByteArray TemplateImage(const QString &path);

} // namespace datafiles
