#pragma once
// Reading the rules database, the one way every reader does it:
//
//     dao::Recordset rs = rules::Open("SELECT * FROM Skills ORDER BY " + rules::LangCol("Skill"));
//     if (rules::Find(rs, "Skill_ID", 32))
//         name = rs.Value(rules::LangCol("Skill")).toString();
//
// Open puts the source into the shared `Sql` and opens it as a dynaset on `DbMaster`;
// Find puts "Column LIKE('id')" into `Criteria` and searches from the first row.
// Both raise vb::Error like the recordset itself; the reader catches it and reports
// it with its own location.
#include "platform/dao.h"

#include <QString>
#include <QVariant>

namespace rules {

inline constexpr qint16 kEnglish = 1000;
inline constexpr qint16 kFrench = 5000;

// "En" when DataLanguage is 1000, otherwise "Fr" (the run's language is French).
QString LangSuffix();

// The column that shows a name or note in the data language: LangCol("Skill") is
// "SkillEn" or "SkillFr". Columns that exist in one language only are returned as
// they are whatever the language: the culture name (French), and the names and
// notes of talents, flaws and special items (English). Give the table when the base
// alone does not tell ("Note" of "Talents" is English only, of "Profession" is not).
QString LangCol(const QString &base, const QString &table = QString());

// Whether a table's user-visible texts exist in English only.
bool IsEnglishOnlyTable(const QString &table);

// The search text for one identifier: "Skill_ID LIKE('32')".
QString LikeCriteria(const QString &column, const QVariant &id);

// Sets `Sql` and opens it on `DbMaster` as a dynaset.
dao::Recordset Open(const QString &source);

// Sets `Criteria` for column = id and searches the recordset from its first row;
// true when a row was found (the recordset stands on it).
bool Find(dao::Recordset &rs, const QString &column, const QVariant &id);

// The skill whose total bonus eases the maneuver in an armour, by the
// armour's identifier (bands of four); 0 when the armour has none.
qint32 ManeuverSkill(qint64 armorId);

} // namespace rules
