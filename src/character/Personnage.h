#pragma once
// The character record: one object per open character, owned by the table of
// open characters and looked up there by number each time a window needs it.
//
// Scalar values are public fields (plain values, no checks). The statistics,
// special resistance bonuses and weapon-category order are small fixed arrays;
// ranks live in six growable rank tables and the purchases of the development
// stage under way in the development list. Every operation handles its own
// run-time errors: it reports them once through the error box, with its own
// location text, and returns what it had reached (0, empty text or empty).
#include "character/BoundedTable.h"
#include "character/Limits.h"

#include <QHash>
#include <QString>
#include <QVariant>

// Rank table kinds, as every window and operation passes them.
namespace RankKind {
enum : qint16 {
    SkillCategory = 1,
    Skill = 2,
    SubSkill = 3,
    LanguageSkill = 4,
    WeaponSkill = 5,
    SpellList = 6,
};
}

class Personnage {
    friend struct PersonnageAccess;   // tests reach the tables and growth directly

public:
    Personnage();

    // ---------------------------------------------------------------- fields
    QString Nom;
    qint32 Profession_ID = 0;
    qint32 Race_ID = 0;
    qint32 Culture_ID = 0;
    qint32 Royaume_ID = 0;
    bool Sexe = false;              // true female, false male
    float Poids = 0;
    float Grandeur = 0;
    float Age = 0;
    QString Cheveux;
    QString Yeux;
    qint32 Experience = 0;
    qint16 Apparence = 0;
    qint16 PdeD = 0;
    qint32 Money = 0;
    QVariant Historique;            // Empty (invalid) until something writes it
    qint32 Armure = 0;
    qint32 Casque = 0;
    qint32 Bouclier = 0;
    qint16 PointsBO = 0;            // not kept in the character file
    QString FileName;               // not kept in the character file
    // Capacities: the last row of each growable table. Other code only reads
    // them; the record's own operations change them.
    qint32 NbSkillCat = 0;
    qint32 NbSkill = 0;
    qint32 NbSubSkill = 0;
    qint32 NbLanguageSkills = 0;
    qint32 NbWeaponSkills = 0;
    qint32 NbSpellSkills = 0;
    qint32 NbDevSkills = 0;

    // Field indexes of the rank tables.
    enum : qint16 { fId = 0, fRank = 1, fSpecial1 = 2, fSpecial2 = 3 };            // SkillCat, Skill
    enum : qint16 { fItem = 2, fSpecial = 3, fKey = 4, fSubSkillName = 5 };         // other four
    // Field indexes of the development list.
    enum : qint16 { dKind = 0, dId = 1, dKey = 2, dRanks = 3, dFurther = 4 };

    // The history as text; empty while nothing has written it.
    QString HistoryText() const
    {
        return Historique.isValid() && !Historique.isNull() ? Historique.toString() : QString();
    }
    // Text with every line break as the history keeps them, a carriage return
    // and a line feed: the character file and the printed page separate its
    // lines so. A lone line feed or carriage return, and an editor's line and
    // paragraph separators, each end a line.
    static QString HistoryLineBreaks(const QString &text);

    // ---------------------------------------------------------------- cells
    void AddResistanceSpecial(qint16 kind, qint16 value);
    void AddStat(qint16 valueKind, qint16 stat, qint16 value);
    void AddCategorieWeapon(qint16 position, qint16 value);
    // Writes one cell of the rank table of `kind` (1 to 6; any other kind does
    // nothing). Never grows: the row must exist. Sub-skill cells get the
    // decimal text of value.
    void AddSkill(qint16 field, qint16 row, qint16 kind, qint16 value);
    // Adds a named sub-skill in the first row that holds none, growing the
    // table when every row has one; returns the row. Its number is the row's
    // unless its skill already has that one. A table that a character file
    // could not take one more row of is refused (reported, nothing changed,
    // 0 returned).
    qint32 AddSubSkills(qint32 skillId, const QString &name, qint32 rank);
    // Why no sub-skill can be added now, in words; empty when one can.
    QString SubSkillRefusal();
    qint16 DirCategorieWeapon(qint16 position);
    // Decimal text of the cell; empty text for a row of 0 or below.
    QString DirLanguageSkills(qint32 field, qint32 row);
    qint16 DirResistanceSpecial(qint16 kind);
    // The 32-bit cell as a 16-bit number (overflow error when it does not fit).
    qint16 DirSkills(qint32 field, qint32 row);
    // Records the ranks bought for an element in this stage (replacing an
    // earlier count for the same element).
    void AddDevelopment(qint32 kind, qint32 id, qint32 key, qint32 ranks, qint32 further);
    // The cell's text; "0" for a row of 0 or below or an empty cell.
    QString DirSubSkills(qint32 field, qint32 row);
    // Ranks recorded for an element in this stage (32-bit), or a 16-bit 0.
    QVariant DirRankDevelopment(qint32 kind, qint32 id, qint32 key, qint32 ignored);
    // One cell of the development list (field dKind..dFurther, rows 0 to
    // NbDevSkills); 0 outside the list.
    qint32 DirDevelopment(qint16 field, qint32 row) const;
    qint16 DirSkillsCat(qint32 field, qint32 row);
    QString DirWeaponSkills(qint32 field, qint32 row);
    QString DirSpellSkills(qint32 field, qint32 row);
    qint16 DirStats(qint16 valueKind, qint16 stat);
    // The first row of the rank table of `kind` that holds element `id` (with
    // the second key `key` for sub-skills, languages, weapons and spell
    // lists); -1 when none does.
    qint32 RankRow(qint16 kind, qint32 id, qint32 key = 0);
    // One cell of the rank table of `kind` as the Dir operation of that table
    // reads it, as text.
    QString RankCell(qint16 kind, qint32 field, qint32 row);

    // ---------------------------------------------------------------- file
    // Fills a fresh record from the character file at FileName.
    // False when the file could not be read whole (the error was reported).
    bool LoadP();
    // Writes the whole record to FileName, replacing the file only once the
    // new one is complete. False when it was not written (the error was
    // reported; the old file is as it was).
    bool SaveP();

    // ---------------------------------------------------------------- growth
    void RedimDevSkills();

    // ---------------------------------------------------------------- rules computations
    // Their bodies live in the Personnage*.cpp files beside this one.

    // -- level, development points, statistic/resistance/skill bonuses
    // Level from Experience (bands of 10000 up to 50000, then 20000, 30000,
    // 40000 and 50000 per level).
    qint16 CalNiveau();
    // Raises Experience to the first value of the next level.
    void ChangeNiveau();
    // Development points of a level from AG, CO, Me, Re and SD; kept in PdeD.
    qint16 DevelopmentPoint();
    // Bonus of one statistic value.
    qint16 BonusStats(qint16 value);
    // Statistic 0..9: bonus of its temporary value, race bonus and special bonus.
    qint16 TotalStatBonus(qint16 stat);
    // Resistance kind 1..9: statistic part, race part and special bonus.
    qint16 TotalResistanceBonus(qint16 kind);
    // Bonus of a number of ranks along a progression "a0•a1•a2•a3•a4".
    qint16 BonusRankProgression(qint16 ranks, const QString &progression);
    // Skill category total: its statistics, its ranks and its special bonuses.
    qint16 TotalSkillCatBonus(qint32 cat);
    // The statistics' part of that total, as the skill window shows it
    // beside the category: wide, for the window to hold to 16 bits. Raises
    // when the rules have no such category.
    qint64 CategoryStatSum(qint32 cat);
    // The sheet's maneuver figure of an armour before its least penalty
    // holds it: the armour's most penalty and its maneuver skill's total, 0
    // for an armour without one. Raises on overflow.
    qint16 ManeuverFigure(qint32 armour, double maxManeuvre);
    // Skill total (kind 2 to 6; item is the second key of kinds 3 to 6): the
    // category total, the skill's ranks and its two bonuses.
    qint16 TotalSkillBonus(qint32 skill, qint32 item, qint32 kind);
    // The same two totals for a caller that says their failure itself (an
    // overflow among them) instead of showing a figure: they raise.
    qint16 SkillCatTotal(qint32 cat);
    qint16 SkillTotal(qint32 skill, qint32 item, qint32 kind);

    // -- adolescence ranks and the transfers of a stage's choices
    // A new character's upbringing: the culture's adolescence ranks and
    // languages, the profession's special bonuses, the bonus of category 12.
    void Adolescence();
    // Moves the stage's development list into the rank tables (skills scaled by
    // their status for the culture and profession) and empties the list. All or
    // nothing: on a failure the tables and the list stay as they were, the
    // error is reported once and the result is false.
    bool TranferRank();
    // The fixed background bonus of a category (kind 0, +5) or a skill (kind 1,
    // +10). Raises its failures to the calling dialog.
    void TransferBonusSkill(qint32 id, qint16 kind);
    // The second special bonus of category or skill `id` once `times` such
    // bonuses of `kind` are added (times 0: as it is now).
    qint64 SpecialBonusAfter(qint32 id, qint16 kind, qint32 times);
    // Every bonus row of a talent or a flaw, on categories, skills or statistics.
    void TransferTalent(qint32 talentId);
    void TransferFlaw(qint32 flawId);
    // Applies a training package for character `number` (its number as text):
    // money, age, history, ranks with the player's choices, specials, and the
    // statistic gain choice.
    void TransferTraining(qint32 trainingId, const QString &number);
    // Why the character cannot take training package `trainingId` (its age
    // or its money would leave the range the record keeps), in words; empty
    // when it can. Asked before the package's points are spent.
    QString TrainingRefusal(qint32 trainingId);

    // -- room for a bonus the player types
    // The values a typed bonus may take: those around the bonus the record
    // holds over which every total built on it, and what the sheet and the
    // printed page derive from those, keeps within 16 bits if it fits now,
    // the rest of the record as it stands. A total that overflows already is
    // not the bonus's doing and does not narrow it. Nothing is reported: a
    // total that cannot be worked out at all leaves the bonus its whole
    // 16-bit range, and the total says so when shown.
    character::limits::Range<qint32> StatSpecialRoom(qint16 stat);
    character::limits::Range<qint32> ResistanceSpecialRoom(qint16 kind);
    // Bonus field 2 or 3 of row `row` of the rank table of `kind` (1 to 6).
    character::limits::Range<qint32> RankBonusRoom(qint16 kind, qint32 row, qint16 field);
    // The second special bonus of category (kind 0) or skill (kind 1) `id`,
    // where the background bonuses go: for an element the character holds no
    // row of, that of the row the first such bonus makes.
    character::limits::Range<qint32> SpecialBonusRoom(qint32 id, qint16 kind);

private:
    struct Room;
    // The bonus of a number of ranks along a progression; raises its errors.
    static qint16 progressionBonus(qint16 ranks, const QString &progression);
    qint16 ranksBonus(bool raising, qint16 ranks, const QString &progression);
    qint16 skillCatTotal(qint32 cat, bool raising);
    qint16 skillTotal(qint32 skill, qint32 item, qint32 kind, bool raising);

    // Scales the count of development row `row` by the skill's status.
    void OccupationalEverymanRestrictedSkill(qint32 row);
    void moveDevelopmentRow(qint32 row);
    // The row of category or skill `id`, or the first free row given to it
    // (the table grows when full); *added tells which.
    qint32 rowOf(bool category, qint32 id, bool *added);
    void addSpecial2(bool category, qint32 id, qint32 amount);
    void applyBonusRows(const QString &table, const QString &idColumn, qint32 id);
    void addCappedRank(bool category, qint32 id, qint32 ranks);
    // Ranks from a rules row: added to the row of the element (with `key` in a
    // keyed table), or a new row for it; true when the row is new.
    bool addRanks(qint16 kind, qint32 id, qint32 key, qint32 ranks);
    // Opens the one-list chooser in `mode` and applies the choice; -1 when the
    // chooser was closed without one.
    qint32 chooseOne(int player, qint32 mode, qint32 skill, qint32 count, const QString &caption);
    // Adds ranks to the development row of an element (a new row when none).
    void addDevelopmentRanks(qint32 kind, qint32 id, qint32 key, qint32 ranks);

    void RedimLanguageSkills();
    void RedimSpellSkills();
    void RedimWeaponSkills();
    void RedimSkill();
    void RedimSubSkill();
    void RedimSkillCat();

    // The ten tables of the character file, in their order.
    void writeTables();
    void readTables();
    // Refuses, before anything is written, a record the reader would refuse.
    void checkSavable();

    // Grows `table` by 10 rows past `capacity` (which it updates).
    template <typename T>
    static void grow(character::GrowTable<T> &table, qint32 &capacity);

    // A rank table of whole numbers (every kind but the sub-skills), with
    // what walking it needs.
    struct RankTable {
        character::GrowTable<qint32> &cells;
        const qint32 &capacity;
        void (Personnage::*redim)();
        bool keyed;   // rows are told apart by id and key, not by id alone
    };
    RankTable rankTable(qint16 kind);
    // The row holding `id` (and `key` in a keyed table), or else the first
    // free row, given the id (and key): *added tells which. The table grows
    // by ten rows whenever the walk or the new row reaches its capacity.
    qint32 rowFor(const RankTable &table, qint32 id, qint32 key, bool *added);
    // Decimal text of a 32-bit rank-table cell, empty for a row of 0 or below.
    static QString cellText(const character::GrowTable<qint32> &table, qint32 field, qint32 row);

    // Stats(value kind 0..2, statistic 0..9): temporary, potential, special bonus.
    character::GrowTable<qint16> Stats{3, 0};
    character::BoundedArray<qint16> ResistanceSpecial{1, 9};
    character::BoundedArray<qint16> CategorieWeapon{0, 6};

    // Rank tables: SkillCat and Skill are (id, Rank, Special1, Special2) from
    // row 0; the other four (Skill_ID, Rank, Item, Special, key) from row 1,
    // SubSkills holding text and a sixth field, the sub-skill's Name.
    character::GrowTable<qint32> SkillCat{4, 0};
    character::GrowTable<qint32> Skill{4, 0};
    character::GrowTable<QString> SubSkills{6, 1};
    character::GrowTable<qint32> LanguageSkills{5, 1};
    character::GrowTable<qint32> WeaponSkills{5, 1};
    character::GrowTable<qint32> SpellSkills{5, 1};
    // Development list: (kind, id, second key, ranks, further value) from row 0.
    character::GrowTable<qint32> DevSkills{5, 0};

    // The first sub-skill row of each (Skill_ID, sub-skill number), so that a
    // character with thousands of sub-skills is looked up as fast as one with
    // ten. Made on the first lookup after the table changed; the operations
    // that write a row's id or number throw it away.
    qint32 firstSubSkillRow(qint32 id, qint32 key);
    void subSkillsChanged() { m_subSkillRowsMade = false; }
    QHash<quint64, qint32> m_subSkillRows;
    bool m_subSkillRowsMade = false;
};
