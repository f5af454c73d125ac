#include "character/Personnage.h"

#include "character/CharacterFile.h"
#include "character/Guarded.h"
#include "platform/Strings.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using character::guarded;

Personnage::Personnage()
{
    Stats.redim(9);
    guarded("Initialize Personnage", [this] {
        SkillCat.redim(60);
        NbSkillCat = 60;
        RedimSubSkill();
        RedimDevSkills();
        RedimLanguageSkills();
        RedimWeaponSkills();
        RedimSpellSkills();
    });
}

QString Personnage::HistoryLineBreaks(const QString &text)
{
    const auto isBreak = [](QChar c) {
        return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    };
    if (std::none_of(text.begin(), text.end(), isBreak))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!isBreak(c)) {
            out += c;
            continue;
        }
        out += QStringLiteral("\r\n");
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return out;
}

// ---------------------------------------------------------------- growth

template <typename T>
void Personnage::grow(character::GrowTable<T> &table, qint32 &capacity)
{
    const qint32 grown = vb::Add32(capacity, 10);
    table.redim(grown);
    capacity = grown;
}

void Personnage::RedimSkillCat()
{
    guarded("RedimSkillCat", [this] { grow(SkillCat, NbSkillCat); });
}

void Personnage::RedimSkill()
{
    guarded("RedimSkill", [this] { grow(Skill, NbSkill); });
}

void Personnage::RedimSubSkill()
{
    guarded("RedimSubSkill", [this] {
        subSkillsChanged();
        grow(SubSkills, NbSubSkill);
    });
}

void Personnage::RedimLanguageSkills()
{
    guarded("RedimLanguageSkills", [this] { grow(LanguageSkills, NbLanguageSkills); });
}

void Personnage::RedimWeaponSkills()
{
    guarded("RedimWeaponSkills", [this] { grow(WeaponSkills, NbWeaponSkills); });
}

void Personnage::RedimSpellSkills()
{
    guarded("RedimSpellSkills", [this] { grow(SpellSkills, NbSpellSkills); });
}

void Personnage::RedimDevSkills()
{
    guarded("RedimDevSkills", [this] { grow(DevSkills, NbDevSkills); });
}

// ---------------------------------------------------------------- fixed arrays

void Personnage::AddResistanceSpecial(qint16 kind, qint16 value)
{
    guarded("AddResistanceSpecial", [&] { ResistanceSpecial(kind) = value; });
}

void Personnage::AddStat(qint16 valueKind, qint16 stat, qint16 value)
{
    guarded("AddStat", [&] { Stats(valueKind, stat) = value; });
}

void Personnage::AddCategorieWeapon(qint16 position, qint16 value)
{
    guarded("AddCategorieWeapon", [&] { CategorieWeapon(position) = value; });
}

qint16 Personnage::DirCategorieWeapon(qint16 position)
{
    qint16 result = 0;
    guarded("DirCategorieWeapon", [&] { result = CategorieWeapon(position); });
    return result;
}

qint16 Personnage::DirResistanceSpecial(qint16 kind)
{
    qint16 result = 0;
    guarded("DirResistanceSpecial", [&] { result = ResistanceSpecial(kind); });
    return result;
}

qint16 Personnage::DirStats(qint16 valueKind, qint16 stat)
{
    qint16 result = 0;
    guarded("DirStats", [&] { result = Stats(valueKind, stat); });
    return result;
}

// ---------------------------------------------------------------- rank tables

void Personnage::AddSkill(qint16 field, qint16 row, qint16 kind, qint16 value)
{
    guarded("AddSkill", [&] {
        switch (kind) {
        case RankKind::SkillCategory: SkillCat(field, row) = value; break;
        case RankKind::Skill: Skill(field, row) = value; break;
        case RankKind::SubSkill:
            if (field == fId || field == fKey)
                subSkillsChanged();
            SubSkills(field, row) = QString::number(value);
            break;
        case RankKind::LanguageSkill: LanguageSkills(field, row) = value; break;
        case RankKind::WeaponSkill: WeaponSkills(field, row) = value; break;
        case RankKind::SpellList: SpellSkills(field, row) = value; break;
        default: break;
        }
    });
}

namespace {

quint64 PairKey(qint32 id, qint32 key)
{
    return (quint64(quint32(id)) << 32) | quint32(key);
}

// A sub-skill cell as the lookups read it, when it is a whole number that a
// lookup can ask for.
bool WholeCell(const QString &text, qint32 *value)
{
    const double v = vb::Val(text);
    if (v < double(std::numeric_limits<qint32>::min()) || v > double(std::numeric_limits<qint32>::max())
        || v != std::trunc(v))
        return false;
    *value = qint32(v);
    return true;
}

// The same, with the decimal text that every save and every operation writes
// read by its characters alone, which keeps a walk over thousands of rows quick.
bool WholeCellQuick(const QString &text, qint32 *value)
{
    const qsizetype first = text.startsWith(u'-') ? 1 : 0;
    if (text.size() <= first || text.size() > first + 10)
        return WholeCell(text, value);
    qint64 n = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return WholeCell(text, value);
        n = n * 10 + (text[i].unicode() - u'0');
    }
    n = first ? -n : n;
    if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return false;
    *value = qint32(n);
    return true;
}

} // namespace

qint32 Personnage::AddSubSkills(qint32 skillId, const QString &name, qint32 rank)
{
    qint32 result = 0;
    guarded("AddSubSkill", [&] {
        // A row is free when a save would leave it out: a sub-skill a file
        // brought without a name is still the character's.
        qint32 row = 0;
        qint64 used = 0;
        // A skill's sub-skills are told apart by their numbers, in the file
        // and in the skill window alike: the new one must not take a number
        // its skill already has, whatever row holds it.
        std::vector<bool> taken(size_t(character::limits::kElementId.high) + 1);
        for (qint32 r = 1; r <= NbSubSkill; ++r) {
            if (SubSkills(fId, r).isEmpty()) {
                if (row == 0)
                    row = r;
                continue;
            }
            ++used;
            qint32 rowId = 0, rowKey = 0;
            if (WholeCellQuick(SubSkills(fId, r), &rowId) && rowId == skillId
                && WholeCellQuick(SubSkills(fKey, r), &rowKey) && character::limits::kElementId.contains(rowKey))
                taken[size_t(rowKey)] = true;
        }
        if (used >= character::MaxTableRows)
            throw vb::Refusal(vb::ErrSubscript, SubSkillRefusal());
        if (row == 0)
            row = NbSubSkill + 1;
        // The row's own number keeps the file as it always was wherever it
        // can; below the row only when nothing above is left, which a table
        // short of the cap never leaves empty-handed.
        qint32 number = 0;
        for (qint32 n = row; n <= character::limits::kElementId.high && number == 0; ++n)
            if (!taken[size_t(n)])
                number = n;
        for (qint32 n = 1; n < row && number == 0; ++n)
            if (!taken[size_t(n)])
                number = n;
        if (row > NbSubSkill)
            RedimSubSkill();
        subSkillsChanged();
        SubSkills(fId, row) = QString::number(skillId);
        SubSkills(fRank, row) = QString::number(rank);
        SubSkills(fItem, row) = QStringLiteral("0");
        SubSkills(fSpecial, row) = QStringLiteral("0");
        SubSkills(fKey, row) = QString::number(number);
        SubSkills(fSubSkillName, row) = name;
        result = row;
    });
    return result;
}

QString Personnage::SubSkillRefusal()
{
    qint64 used = 0;
    for (qint32 r = 1; r <= NbSubSkill; ++r)
        used += SubSkills(fId, r).isEmpty() ? 0 : 1;
    if (used < character::MaxTableRows)
        return QString();
    return Strings::Load(9470).arg(character::MaxTableRows);
}

qint16 Personnage::DirSkills(qint32 field, qint32 row)
{
    qint16 result = 0;
    guarded("DirSkills", [&] { result = vb::Check16(Skill(field, row)); });
    return result;
}

qint16 Personnage::DirSkillsCat(qint32 field, qint32 row)
{
    qint16 result = 0;
    guarded("DirSkillsCat", [&] { result = vb::Check16(SkillCat(field, row)); });
    return result;
}

QString Personnage::DirSubSkills(qint32 field, qint32 row)
{
    QString result;
    guarded("DirSubSkill", [&] {
        QString text;
        if (row > 0)
            text = SubSkills(field, row);
        result = text.isEmpty() ? QStringLiteral("0") : text;
    });
    return result;
}

QString Personnage::cellText(const character::GrowTable<qint32> &table, qint32 field, qint32 row)
{
    if (row <= 0)
        return QString();
    return QString::number(table(field, row));
}

QString Personnage::DirLanguageSkills(qint32 field, qint32 row)
{
    QString result;
    guarded("DirLanguageSkills", [&] { result = cellText(LanguageSkills, field, row); });
    return result;
}

QString Personnage::DirWeaponSkills(qint32 field, qint32 row)
{
    QString result;
    guarded("DirWeaponSkills", [&] { result = cellText(WeaponSkills, field, row); });
    return result;
}

QString Personnage::DirSpellSkills(qint32 field, qint32 row)
{
    QString result;
    guarded("DirSpellSkills", [&] { result = cellText(SpellSkills, field, row); });
    return result;
}

Personnage::RankTable Personnage::rankTable(qint16 kind)
{
    switch (kind) {
    case RankKind::SkillCategory: return {SkillCat, NbSkillCat, &Personnage::RedimSkillCat, false};
    case RankKind::Skill: return {Skill, NbSkill, &Personnage::RedimSkill, false};
    case RankKind::LanguageSkill: return {LanguageSkills, NbLanguageSkills, &Personnage::RedimLanguageSkills, true};
    case RankKind::WeaponSkill: return {WeaponSkills, NbWeaponSkills, &Personnage::RedimWeaponSkills, true};
    case RankKind::SpellList: return {SpellSkills, NbSpellSkills, &Personnage::RedimSpellSkills, true};
    default: vb::Raise(vb::ErrSubscript);
    }
}

qint32 Personnage::rowFor(const RankTable &table, qint32 id, qint32 key, bool *added)
{
    auto &cells = table.cells;
    for (qint32 r = cells.lower();; ++r) {
        if (r > cells.upper())                // every row taken: open the next ten
            (this->*table.redim)();
        if (cells(fId, r) == id && (!table.keyed || cells(fKey, r) == key)) {
            *added = false;
            return r;
        }
        if (cells(fId, r) < 1) {
            if (r >= table.capacity)
                (this->*table.redim)();
            cells(fId, r) = id;
            if (table.keyed)
                cells(fKey, r) = key;
            *added = true;
            return r;
        }
    }
}

qint32 Personnage::firstSubSkillRow(qint32 id, qint32 key)
{
    const auto holds = [&](qint32 r) { return vb::Val(SubSkills(fId, r)) == id && vb::Val(SubSkills(fKey, r)) == key; };
    const auto make = [&] {
        m_subSkillRows.clear();
        m_subSkillRows.reserve(NbSubSkill);
        for (qint32 r = 1; r <= NbSubSkill; ++r) {
            qint32 rowId = 0, rowKey = 0;
            if (!WholeCell(SubSkills(fId, r), &rowId) || !WholeCell(SubSkills(fKey, r), &rowKey))
                continue;
            const quint64 pair = PairKey(rowId, rowKey);
            if (!m_subSkillRows.contains(pair))   // the first row holds
                m_subSkillRows.insert(pair, r);
        }
        m_subSkillRowsMade = true;
    };
    if (!m_subSkillRowsMade)
        make();
    const auto it = m_subSkillRows.constFind(PairKey(id, key));
    if (it != m_subSkillRows.cend() && *it <= NbSubSkill && holds(*it))
        return *it;
    // The rows themselves decide: a pair the lookup does not know is looked
    // for row by row, and a lookup that missed a row is made again.
    for (qint32 r = 1; r <= NbSubSkill; ++r) {
        if (holds(r)) {
            make();
            return r;
        }
    }
    return -1;
}

qint32 Personnage::RankRow(qint16 kind, qint32 id, qint32 key)
{
    if (kind == RankKind::SubSkill)
        return firstSubSkillRow(id, key);
    if (kind < RankKind::SkillCategory || kind > RankKind::SpellList)
        return -1;
    const RankTable table = rankTable(kind);
    for (qint64 r = table.cells.lower(); r <= table.cells.upper() && r <= table.capacity; ++r)
        if (table.cells(fId, r) == id && (!table.keyed || table.cells(fKey, r) == key))
            return qint32(r);
    return -1;
}

QString Personnage::RankCell(qint16 kind, qint32 field, qint32 row)
{
    switch (kind) {
    case RankKind::SkillCategory: return QString::number(DirSkillsCat(field, row));
    case RankKind::Skill: return QString::number(DirSkills(field, row));
    case RankKind::SubSkill: return DirSubSkills(field, row);
    case RankKind::LanguageSkill: return DirLanguageSkills(field, row);
    case RankKind::WeaponSkill: return DirWeaponSkills(field, row);
    case RankKind::SpellList: return DirSpellSkills(field, row);
    default: return QString();
    }
}

// ---------------------------------------------------------------- development list

void Personnage::AddDevelopment(qint32 kind, qint32 id, qint32 key, qint32 ranks, qint32 further)
{
    guarded("AddDevelopment", [&] {
        qint32 i = 0;
        for (; i <= NbDevSkills; ++i) {
            if (DevSkills(dKind, i) == kind && DevSkills(dId, i) == id && DevSkills(dKey, i) == key) {
                DevSkills(dRanks, i) = ranks;
                return;
            }
            if (DevSkills(dKind, i) < 1)
                break;
        }
        // The row at the capacity is only written once the list has grown past it.
        if (i >= NbDevSkills)
            RedimDevSkills();
        DevSkills(dKind, i) = kind;
        DevSkills(dId, i) = id;
        DevSkills(dKey, i) = key;
        DevSkills(dRanks, i) = ranks;
        DevSkills(dFurther, i) = further;
    });
}

qint32 Personnage::DirDevelopment(qint16 field, qint32 row) const
{
    if (field < dKind || field > dFurther || row < DevSkills.lower() || row > DevSkills.upper())
        return 0;
    return DevSkills(field, row);
}

QVariant Personnage::DirRankDevelopment(qint32 kind, qint32 id, qint32 key, qint32 /*ignored*/)
{
    QVariant result;
    guarded("DirRankDevelopment", [&] {
        for (qint32 i = 0; i <= NbDevSkills; ++i) {
            if (DevSkills(dKind, i) == kind && DevSkills(dId, i) == id && DevSkills(dKey, i) == key) {
                result = QVariant::fromValue<qint32>(DevSkills(dRanks, i));
                return;
            }
        }
        result = QVariant::fromValue<qint16>(0);
    });
    return result;
}
