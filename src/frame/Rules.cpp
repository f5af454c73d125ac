#include "frame/Rules.h"

#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QStringList>

#include <algorithm>
#include <charconv>
#include <iterator>

namespace rules {

namespace {
// Texts the data carry only in English; the readers show them as they are.
const QStringList &englishOnlyTables()
{
    static const QStringList t{"Talents", "Flaws", "Special Items"};
    return t;
}
const QStringList &englishOnlyBases()
{
    static const QStringList b{"Talent", "Flaw", "Item1", "Item2", "Item3", "Item4"};
    return b;
}
} // namespace

QString LangSuffix()
{
    return ModGeneral::DataLanguage == kEnglish ? QStringLiteral("En") : QStringLiteral("Fr");
}

bool IsEnglishOnlyTable(const QString &table)
{
    return englishOnlyTables().contains(table, Qt::CaseInsensitive);
}

QString LangCol(const QString &base, const QString &table)
{
    if (base.compare(QLatin1String("Culture"), Qt::CaseInsensitive) == 0)
        return base + QStringLiteral("Fr");
    if (englishOnlyBases().contains(base, Qt::CaseInsensitive) || IsEnglishOnlyTable(table))
        return base + QStringLiteral("En");
    return base + LangSuffix();
}

QString LikeCriteria(const QString &column, const QVariant &id)
{
    switch (id.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short: {
        // Every bonus total builds a dozen of these: a whole number is written
        // straight into the one string, without the variant's conversions.
        char digits[24];
        const qsizetype n = std::to_chars(digits, digits + sizeof digits, id.toLongLong()).ptr - digits;
        static constexpr char16_t kOpen[] = u" LIKE('";
        constexpr qsizetype kOpenSize = std::size(kOpen) - 1;
        QString out(column.size() + kOpenSize + n + 2, Qt::Uninitialized);
        QChar *p = std::copy(column.cbegin(), column.cend(), out.data());
        p = std::copy(kOpen, kOpen + kOpenSize, p);
        p = std::copy(digits, digits + n, p);
        *p++ = u'\'';
        *p = u')';
        return out;
    }
    default:
        break;
    }
    // Identifiers are whole numbers; a quote in anything else must not end the literal.
    QString value = id.toString();
    value.replace(QLatin1Char('\''), QLatin1String("''"));
    return column + QStringLiteral(" LIKE('") + value + QStringLiteral("')");
}

dao::Recordset Open(const QString &source)
{
    ModGeneral::Sql = source;
    if (!ModGeneral::DbMaster.isOpen() && !ModGeneral::RulesUnavailable.isEmpty())
        throw vb::Refusal(vb::ErrObjectNotSet, Strings::Load(9357) + QLatin1Char('\n') + ModGeneral::RulesUnavailable);
    return ModGeneral::DbMaster.OpenRecordset(ModGeneral::Sql, dao::dbOpenDynaset);
}

bool Find(dao::Recordset &rs, const QString &column, const QVariant &id)
{
    ModGeneral::Criteria = LikeCriteria(column, id);
    rs.FindFirst(ModGeneral::Criteria);
    return !rs.NoMatch();
}

qint32 ManeuverSkill(qint64 armorId)
{
    if (armorId >= 5 && armorId <= 8)
        return 234;
    if (armorId >= 9 && armorId <= 12)
        return 235;
    if (armorId >= 13 && armorId <= 16)
        return 236;
    if (armorId >= 17 && armorId <= 20)
        return 233;
    return 0;
}

} // namespace rules
