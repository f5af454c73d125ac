#include "platform/Strings.h"

#include "platform/vb.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

namespace Strings {
namespace {

// Sorted by number: the tables are read once and never change, so a binary
// search over one flat block beats a hash for a few hundred entries.
using Table = std::vector<std::pair<int, QString>>;

QString unescape(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c != u'\\' || i + 1 == s.size()) {
            out += c;
            continue;
        }
        const QChar next = s[++i];
        if (next == u'n')
            out += u'\n';
        else if (next == u't')
            out += u'\t';
        else if (next == u'\\')
            out += u'\\';
        else {
            // An unknown escape is kept as written rather than losing a character.
            out += c;
            out += next;
        }
    }
    return out;
}

// A line that is not "digits<TAB>text" is left out: a damaged line must not
// take its neighbours with it. The first entry of a number wins.
Table parse(const QString &resource)
{
    Table table;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QString all = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(all).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            continue;
        const QStringView digits = line.first(tab);
        if (!std::all_of(digits.begin(), digits.end(), [](QChar ch) { return ch.isDigit() && ch.unicode() < 128; }))
            continue;
        bool ok = false;
        const int number = digits.toInt(&ok);
        if (!ok)
            continue;
        table.emplace_back(number, unescape(line.sliced(tab + 1)));
    }
    std::stable_sort(table.begin(), table.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    table.erase(std::unique(table.begin(), table.end(),
                            [](const auto &a, const auto &b) { return a.first == b.first; }),
                table.end());
    return table;
}

// Each table is read the first time it is needed: a run in one language
// seldom needs the other, and reading it would only delay the first window.
const Table &french()
{
    static const Table t = parse(QStringLiteral(":/strings/fr.txt"));
    return t;
}

const Table &english()
{
    static const Table t = parse(QStringLiteral(":/strings/en.txt"));
    return t;
}

const QString *find(const Table &table, int n)
{
    const auto it = std::lower_bound(table.begin(), table.end(), n,
                                     [](const auto &entry, int key) { return entry.first < key; });
    if (it == table.end() || it->first != n)
        return nullptr;
    return &it->second;
}

// -1 until chosen; then the Language value.
std::atomic<int> g_language{-1};

const Table &currentTable()
{
    return current() == Language::French ? french() : english();
}

} // namespace

QString Load(int n)
{
    if (const QString *text = find(currentTable(), n))
        return *text;
    // English lacks many numbers; a French text tells the user more than an
    // empty box or a bare number would.
    if (current() == Language::English) {
        if (const QString *text = find(french(), n))
            return *text;
    }
    throw vb::Error(vb::ErrInvalidCall);
}

bool TryLoad(int n, QString *out)
{
    const QString *text = find(currentTable(), n);
    if (!text)
        return false;
    if (out)
        *out = *text;
    return true;
}

Language current()
{
    int lang = g_language.load(std::memory_order_acquire);
    if (lang < 0) {
        const Language chosen =
            QLocale::system().language() == QLocale::French ? Language::French : Language::English;
        int expected = -1;
        // Another thread may have chosen first; its choice stands.
        if (!g_language.compare_exchange_strong(expected, int(chosen)))
            return Language(expected);
        return chosen;
    }
    return Language(lang);
}

void setLanguage(Language lang) { g_language.store(int(lang), std::memory_order_release); }

} // namespace Strings
