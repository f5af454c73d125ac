#include "platform/SqlDialect.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <vector>

namespace dao {
namespace {

struct Tok {
    enum Kind { Space, Word, Number, Str, DqStr, Bracket, Date, Punct };
    Kind kind;
    QString text;
};

bool isWordStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

// Reads a quoted run starting at i (the opening quote), doubled quotes inside.
int quotedEnd(const QString &s, int i, QChar close)
{
    int j = i + 1;
    while (j < s.size()) {
        if (s[j] == close) {
            if (close != u']' && j + 1 < s.size() && s[j + 1] == close) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return int(s.size());
}

std::vector<Tok> tokenize(const QString &s)
{
    std::vector<Tok> out;
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        const QChar c = s[i];
        int j = i + 1;
        Tok::Kind kind = Tok::Punct;
        if (c.isSpace()) {
            while (j < n && s[j].isSpace())
                ++j;
            kind = Tok::Space;
        } else if (c == u'\'') {
            j = quotedEnd(s, i, u'\'');
            kind = Tok::Str;
        } else if (c == u'"') {
            j = quotedEnd(s, i, u'"');
            kind = Tok::DqStr;
        } else if (c == u'[') {
            j = quotedEnd(s, i, u']');
            kind = Tok::Bracket;
        } else if (c == u'`') {
            j = quotedEnd(s, i, u'`');
            kind = Tok::Bracket;
        } else if (c == u'#') {
            int k = i + 1;
            while (k < n && (s[k].isDigit() || s[k] == u'/' || s[k] == u'-' || s[k] == u':' || s[k] == u' '))
                ++k;
            if (k < n && k > i + 1 && s[k] == u'#') {
                j = k + 1;
                kind = Tok::Date;
            }
        } else if ((c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit()))
                   && (out.empty() || out.back().kind != Tok::Word)) {
            while (j < n && s[j].isDigit())
                ++j;
            if (c != u'.' && j < n && s[j] == u'.') {
                ++j;
                while (j < n && s[j].isDigit())
                    ++j;
            }
            if (j < n && (s[j] == u'e' || s[j] == u'E')) {
                int k = j + 1;
                if (k < n && (s[k] == u'+' || s[k] == u'-'))
                    ++k;
                if (k < n && s[k].isDigit()) {
                    while (k < n && s[k].isDigit())
                        ++k;
                    j = k;
                }
            }
            kind = Tok::Number;
        } else if (isWordStart(c)) {
            while (j < n && isWordChar(s[j]))
                ++j;
            kind = Tok::Word;
        } else if (i + 1 < n) {
            const QString two = s.mid(i, 2);
            if (two == u"<>" || two == u"<=" || two == u">=" || two == u"!=" || two == u"||" || two == u"==")
                j = i + 2;
        }
        out.push_back({kind, s.mid(i, j - i)});
        i = j;
    }
    return out;
}

bool isWord(const Tok &t, const char *w) { return t.kind == Tok::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0; }

// Index of the next token after i that is not blank, or the size.
size_t nextSolid(const std::vector<Tok> &toks, size_t i)
{
    ++i;
    while (i < toks.size() && toks[i].kind == Tok::Space)
        ++i;
    return i;
}

QString stringContent(const Tok &t)
{
    const QChar q = t.text[0];
    QString inner = t.text.mid(1, t.text.size() >= 2 && t.text.endsWith(q) ? t.text.size() - 2 : t.text.size() - 1);
    inner.replace(QString(2, q), QString(q));
    return inner;
}

QString singleQuoted(const QString &content)
{
    QString inner = content;
    inner.replace(u'\'', QStringLiteral("''"));
    return u'\'' + inner + u'\'';
}

// #m/d/yyyy# (the old engine's US order) or #yyyy-mm-dd#, with an optional time.
QString dateLiteral(const QString &tok)
{
    const QString body = tok.mid(1, tok.size() - 2).trimmed();
    static const QRegularExpression us(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2,4})(?:\\s+(\\d{1,2}:\\d{2}(?::\\d{2})?))?$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:\\s+(\\d{1,2}:\\d{2}(?::\\d{2})?))?$"));
    int y = 0, m = 0, d = 0;
    QString time;
    if (auto mt = us.match(body); mt.hasMatch()) {
        m = mt.captured(1).toInt();
        d = mt.captured(2).toInt();
        y = mt.captured(3).toInt();
        if (mt.captured(3).size() <= 2)
            y += y < 30 ? 2000 : 1900;
        time = mt.captured(4);
    } else if (auto mt2 = iso.match(body); mt2.hasMatch()) {
        y = mt2.captured(1).toInt();
        m = mt2.captured(2).toInt();
        d = mt2.captured(3).toInt();
        time = mt2.captured(4);
    } else {
        return tok;
    }
    const QDate date(y, m, d);
    if (!date.isValid())
        return tok;
    QString out = date.toString(Qt::ISODate);
    if (!time.isEmpty()) {
        QStringList p = time.split(u':');
        while (p.size() < 3)
            p << QStringLiteral("00");
        out += QStringLiteral(" %1:%2:%3").arg(p[0].toInt(), 2, 10, QChar(u'0')).arg(p[1]).arg(p[2]);
    }
    return u'\'' + out + u'\'';
}

// The old engine's wildcards in SQLite's terms. Returns the new pattern and
// whether it needs an ESCAPE clause for a literal % or _.
QString likePattern(const QString &p, bool canEscape, bool *escaped)
{
    const bool needEscape = canEscape && (p.contains(u'%') || p.contains(u'_'));
    *escaped = needEscape;
    QString out;
    out.reserve(p.size() + 4);
    for (int i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'*') {
            out += u'%';
        } else if (c == u'?' || c == u'#') {
            out += u'_';
        } else if (c == u'[' && i + 2 < p.size() && p[i + 2] == u']' && p[i + 1] != u'!') {
            // [x] quotes one character, the way a literal * or ? is written.
            const QChar lit = p[i + 1];
            if (needEscape && (lit == u'%' || lit == u'_' || lit == u'\\'))
                out += u'\\';
            out += lit;
            i += 2;
        } else if (needEscape && (c == u'%' || c == u'_' || c == u'\\')) {
            out += u'\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

bool isSqlText(const QString &source)
{
    static const char *const kStarts[] = {"SELECT", "WITH", "INSERT", "UPDATE", "DELETE", "VALUES",
                                          "PRAGMA", "EXPLAIN", "CREATE", "DROP", "ALTER", "REPLACE"};
    const QString t = source.trimmed();
    int i = 0;
    while (i < t.size() && t[i] == u'(')
        ++i;
    int j = i;
    while (j < t.size() && isWordChar(t[j]))
        ++j;
    if (j == i || (j < t.size() && !t[j].isSpace() && t[j] != u'*' && t[j] != u'(' && t[j] != u'['
                   && t[j] != u'"' && t[j] != u'\'' && t[j] != u';'))
        return false;
    const QStringView first = QStringView(t).mid(i, j - i);
    for (const char *k : kStarts)
        if (first.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString bareTableName(const QString &source)
{
    QString t = source.trimmed();
    while (t.endsWith(u';'))
        t = t.chopped(1).trimmed();
    if ((t.startsWith(u'[') && t.endsWith(u']')) || (t.startsWith(u'`') && t.endsWith(u'`'))
        || (t.startsWith(u'"') && t.endsWith(u'"') && t.size() >= 2))
        t = t.mid(1, t.size() - 2).trimmed();
    return t;
}

QString adaptSql(const QString &sql)
{
    std::vector<Tok> toks = tokenize(sql);
    QString out;
    out.reserve(sql.size() + 16);
    // Closing parentheses still to pass before an ESCAPE clause goes in.
    int escapeAfterParens = -1;
    for (size_t i = 0; i < toks.size(); ++i) {
        Tok &t = toks[i];
        switch (t.kind) {
        case Tok::Number:
            out += t.text;
            if (i + 1 < toks.size() && toks[i + 1].kind == Tok::Word)
                out += u' ';
            continue;
        case Tok::Word:
            if (isWord(t, "True") || isWord(t, "False")) {
                const bool qualified = i > 0 && toks[i - 1].text == u".";
                out += qualified ? t.text : (isWord(t, "True") ? QStringLiteral("-1") : QStringLiteral("0"));
                continue;
            }
            if (isWord(t, "LIKE")) {
                // LIKE 'p', LIKE('p'), LIKE (('p')): find the pattern and count the parentheses.
                size_t k = nextSolid(toks, i);
                int parens = 0;
                while (k < toks.size() && toks[k].text == u"(") {
                    ++parens;
                    k = nextSolid(toks, k);
                }
                if (k < toks.size() && (toks[k].kind == Tok::Str || toks[k].kind == Tok::DqStr)) {
                    // The ESCAPE clause must follow the whole operand, after its parentheses.
                    size_t m = nextSolid(toks, k);
                    int closing = 0;
                    while (closing < parens && m < toks.size() && toks[m].text == u")") {
                        ++closing;
                        m = nextSolid(toks, m);
                    }
                    const bool canEscape = closing == parens;
                    bool escaped = false;
                    toks[k] = {Tok::Str, singleQuoted(likePattern(stringContent(toks[k]), canEscape, &escaped))};
                    if (escaped)
                        escapeAfterParens = parens;
                    if (escaped && parens == 0) {
                        // Emit up to the pattern now so the clause lands right after it.
                        out += t.text;
                        for (size_t q = i + 1; q <= k; ++q)
                            out += toks[q].text;
                        out += QStringLiteral(" ESCAPE '\\'");
                        escapeAfterParens = -1;
                        i = k;
                        continue;
                    }
                    if (escaped) {
                        out += t.text;
                        for (size_t q = i + 1; q <= k; ++q)
                            out += toks[q].text;
                        i = k;
                        continue;
                    }
                }
            }
            out += t.text;
            continue;
        case Tok::DqStr:
            out += singleQuoted(stringContent(t));
            continue;
        case Tok::Date:
            out += dateLiteral(t.text);
            continue;
        case Tok::Punct:
            if (t.text == u"!" && i > 0 && i + 1 < toks.size()
                && (toks[i - 1].kind == Tok::Bracket || toks[i - 1].kind == Tok::Word)
                && (toks[i + 1].kind == Tok::Bracket || toks[i + 1].kind == Tok::Word)) {
                out += u'.';
                continue;
            }
            out += t.text;
            if (t.text == u")" && escapeAfterParens > 0 && --escapeAfterParens == 0) {
                out += QStringLiteral(" ESCAPE '\\'");
                escapeAfterParens = -1;
            }
            continue;
        default:
            out += t.text;
        }
    }
    return out;
}

QString withStoredOrder(const QString &sql)
{
    const std::vector<Tok> toks = tokenize(sql);
    size_t first = 0;
    while (first < toks.size() && toks[first].kind == Tok::Space)
        ++first;
    if (first >= toks.size() || !isWord(toks[first], "SELECT"))
        return sql;
    int depth = 0;
    size_t from = toks.size();
    for (size_t i = first; i < toks.size(); ++i) {
        const Tok &t = toks[i];
        if (t.text == u"(")
            ++depth;
        else if (t.text == u")")
            --depth;
        else if (depth == 0 && t.kind == Tok::Word) {
            for (const char *k : {"ORDER", "GROUP", "HAVING", "UNION", "INTERSECT", "EXCEPT", "LIMIT", "DISTINCT", "DISTINCTROW", "TOP"})
                if (isWord(t, k))
                    return sql;
            if (from == toks.size() && isWord(t, "FROM"))
                from = i;
        }
    }
    if (from == toks.size())
        return sql;
    const size_t ti = nextSolid(toks, from);
    if (ti >= toks.size() || (toks[ti].kind != Tok::Word && toks[ti].kind != Tok::Bracket))
        return sql;
    QString qualifier = toks[ti].text;
    size_t ai = nextSolid(toks, ti);
    if (ai < toks.size() && toks[ai].text == u".") // schema-qualified: main.Table
        return sql;
    if (ai < toks.size() && isWord(toks[ai], "AS"))
        ai = nextSolid(toks, ai);
    if (ai < toks.size() && (toks[ai].kind == Tok::Word || toks[ai].kind == Tok::Bracket)) {
        bool keyword = false;
        for (const char *k : {"WHERE", "INNER", "LEFT", "RIGHT", "OUTER", "CROSS", "NATURAL", "JOIN", "ON", "FULL"})
            keyword = keyword || isWord(toks[ai], k);
        if (!keyword)
            qualifier = toks[ai].text;
    }
    QString body = sql;
    while (!body.isEmpty() && (body.back().isSpace() || body.back() == u';'))
        body.chop(1);
    return body + QStringLiteral(" ORDER BY ") + qualifier + QStringLiteral(".rowid");
}

} // namespace dao
