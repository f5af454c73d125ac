#include "sheet/SheetNumbers.h"

#include "frame/Rules.h"
#include "platform/vb.h"

#include <cmath>

namespace sheet {

std::optional<qint32> LenientLong(const QString &text)
{
    try {
        return vb::CLng(vb::Val(text));
    } catch (const vb::Error &) {
        return std::nullopt;
    }
}

std::optional<qint16> LenientInt(const QString &text)
{
    try {
        return vb::CInt(vb::Val(text));
    } catch (const vb::Error &) {
        return std::nullopt;
    }
}

std::optional<qint64> CoinCount(const QString &text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    if (i == t.size())
        return 0;   // empty, or a sign on its own while the user types
    qint64 value = 0;
    int digits = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return 0;
        if (digits > 0 || c != u'0')
            ++digits;
        if (digits > 15)
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
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

std::optional<float> RegionalFloat(const QString &text)
{
    bool ok = false;
    const float v = Regional().toFloat(text, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint16> RegionalInt(const QString &text)
{
    bool ok = false;
    const double v = Regional().toDouble(text, &ok);
    if (!ok)
        return std::nullopt;
    try {
        return vb::CInt(v);
    } catch (const vb::Error &) {
        return std::nullopt;
    }
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
