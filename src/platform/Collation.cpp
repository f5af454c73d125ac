#include "platform/Collation.h"

#include <sqlite3.h>

namespace platform {

QString foldKey(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        // Fast path for plain ASCII, which is nearly all of the rules' names.
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(QChar(u >= 'A' && u <= 'Z' ? u + 32 : u));
            continue;
        }
        if (u == 0x0152 || u == 0x0153) { out.append(u"oe"); continue; }   // Œ œ
        if (u == 0x00C6 || u == 0x00E6) { out.append(u"ae"); continue; }   // Æ æ
        if (u == 0x00DF) { out.append(u"ss"); continue; }
        const QString decomposed = QString(c).normalized(QString::NormalizationForm_D);
        for (QChar d : decomposed) {
            if (d.category() == QChar::Mark_NonSpacing)
                continue;
            out.append(d.toCaseFolded());
        }
    }
    return out;
}

int compareNames(const QString &a, const QString &b)
{
    const int k = QString::compare(foldKey(a), foldKey(b), Qt::CaseSensitive);
    if (k != 0)
        return k;
    return QString::compare(a, b, Qt::CaseSensitive);
}

namespace {
int foldCompare(void *, int n1, const void *p1, int n2, const void *p2)
{
    const QString a = QString::fromUtf8(static_cast<const char *>(p1), n1);
    const QString b = QString::fromUtf8(static_cast<const char *>(p2), n2);
    const int k = compareNames(a, b);
    return k < 0 ? -1 : (k > 0 ? 1 : 0);
}
} // namespace

int registerCollations(sqlite3 *db)
{
    return sqlite3_create_collation_v2(db, kFoldCollation, SQLITE_UTF8, nullptr, foldCompare, nullptr);
}

} // namespace platform
