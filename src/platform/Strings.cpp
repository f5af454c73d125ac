#include "platform/Strings.h"

// Placeholder until the string tables are in: every text is its number.
namespace Strings {
namespace {
Language g_lang = Language::French;
}
QString Load(int n) { return QString::number(n); }
bool TryLoad(int n, QString *out)
{
    if (out)
        *out = QString::number(n);
    return true;
}
Language current() { return g_lang; }
void setLanguage(Language lang) { g_lang = lang; }
} // namespace Strings
