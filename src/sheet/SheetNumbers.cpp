#include "sheet/SheetNumbers.h"

#include "frame/Rules.h"
#include "platform/vb.h"

#include <cmath>

namespace sheet {

namespace {

Reading Checked(double value, double low, double high)
{
    return {value >= low && value <= high ? Reading::Inside : Reading::Outside, value};
}

} // namespace

Reading LenientWhole(const QString &text, double low, double high)
{
    return Checked(vb::RoundHalfEven(vb::Val(text)), low, high);
}

Reading RegionalNumber(const QString &text, double low, double high, bool whole)
{
    bool ok = false;
    const double v = Regional().toDouble(text, &ok);
    if (!ok)
        // The regional reading fails on a figure past any number, and says so
        // with an infinity; everything else it refuses is no number at all.
        return std::isinf(v) ? Reading{Reading::Outside, v} : Reading{};
    if (std::isnan(v))
        return {};
    return Checked(whole ? vb::RoundHalfEven(v) : v, low, high);
}

Reading PhysiqueNumber(const QString &text, double low, double high)
{
    QLocale locale = Regional();
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = locale.toDouble(text, &ok);
    if (!ok && !std::isinf(v)) {
        QString other = text;
        for (const QChar mark : {QLatin1Char('.'), QLatin1Char(',')})
            if (QString(mark) != locale.decimalPoint())
                other.replace(mark, locale.decimalPoint());
        v = locale.toDouble(other, &ok);
    }
    if (!ok)
        return std::isinf(v) ? Reading{Reading::Outside, v} : Reading{};
    if (std::isnan(v))
        return {};
    return Checked(v, low, high);
}

Reading CoinCount(const QString &text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    if (i == t.size())
        return {Reading::Inside, 0};   // empty, or a sign on its own while the user types
    qint64 value = 0;
    int digits = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return {Reading::NoNumber, 0};
        if (digits > 0 || c != u'0')
            ++digits;
        if (digits > 15)
            return {Reading::Outside, negative ? -1e16 : 1e16};
        value = value * 10 + (c - u'0');
    }
    return {Reading::Inside, static_cast<double>(negative ? -value : value)};
}

QLocale Regional()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString RegionalText(float value)
{
    return Regional().toString(static_cast<double>(value), 'g', 7);
}

QString ValueText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        vb::Raise(vb::ErrInvalidUseOfNull);
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return vb::NumText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    default:
        return value.toString();
    }
}

QString RulesName(const dao::Recordset &rs, const char *stem)
{
    return ValueText(rs.Value(rules::LangCol(QLatin1String(stem))));
}

} // namespace sheet
