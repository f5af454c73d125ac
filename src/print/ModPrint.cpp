#include "print/ModPrint.h"

#include "platform/Strings.h"
#include "print/SharedPrinter.h"

#include "frame/ErrorReporter.h"
#include "platform/vb.h"

#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <algorithm>
#include <iterator>
#include <memory>

namespace ModPrint {
namespace {

print::PageTarget *g_target = nullptr;
print::FontState g_font;        // the size as the page routines set it, before the zoom
int g_penPrinter = 1, g_penPicture = 1, g_style = print::StyleSolid;
double g_x = 0, g_y = 0;

print::PageTarget &T()
{
    if (!g_target)
        throw vb::Error(vb::ErrObjectRequired);
    return *g_target;
}

bool OnPrinter()
{
    return T().IsPrinter();
}

void ApplyFont()
{
    print::FontState f = g_font;
    if (!OnPrinter())
        f.size = g_font.size * PreviewZoom;
    T().SetFont(f);
}

void ApplyPen()
{
    T().SetPen(OnPrinter() ? g_penPrinter : g_penPicture, g_style);
}

// The preview picture the run draws on when the caller names none.
std::unique_ptr<print::ImagePageTarget> &DefaultPicture()
{
    static std::unique_ptr<print::ImagePageTarget> picture;
    return picture;
}

} // namespace

double RowY(double n)
{
    return LineHeight * n + PageTop;
}

double TextFrom(double x, double row, const QString &text)
{
    SetCurrentY(RowY(row));
    SetCurrentX(x);
    const double start = CurrentX();
    PrintText(text);
    return x + (CurrentX() - start);
}

void TextEndingAt(double x, double row, const QString &text)
{
    SetCurrentY(RowY(row));
    SetCurrentX(x);
    PrintRight(text);
}

void TextCenteredOn(double x, double row, const QString &text)
{
    SetCurrentY(RowY(row));
    SetCurrentX(x);
    PrintCentered(text);
}

QString TableString(int id)
{
    return Strings::Load(id);
}

QString NumberText(qint64 v)
{
    return vb::NumText(v);
}

print::PageTarget *Target()
{
    return g_target;
}

QString FooterNotice()
{
    return QStringLiteral("Quorvane, générateur de personnages - tous droits réservés, 1998-2026");
}

QString FooterContact()
{
    return QStringLiteral("quorvane.example  -  contact@quorvane.example");
}

QImage LogoPicture()
{
    static const QImage logo = [] {
        QImage img(128, 128, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(40, 40, 40), 6));
        p.setBrush(QColor(235, 235, 235));
        QPainterPath shield;
        shield.moveTo(64, 8);
        shield.lineTo(116, 26);
        shield.cubicTo(116, 80, 92, 106, 64, 122);
        shield.cubicTo(36, 106, 12, 80, 12, 26);
        shield.closeSubpath();
        p.drawPath(shield);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(64);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(40, 40, 40));
        p.drawText(QRect(0, 14, 128, 100), Qt::AlignCenter, QStringLiteral("Q"));
        return img;
    }();
    return logo;
}

// ---------------------------------------------------------------- primitives

void SetupTarget(print::PageTarget &target, double pageWidth, double pageHeight)
{
    PageWidth = pageWidth;
    PageHeight = pageHeight;
    g_target = &target;
    PrinterOffsetX = 0.6;
    PrinterOffsetY = 0.4;
    g_x = g_y = 0;
    // The sheet starts in 10-point Arial in black; the preview no longer
    // borrows these from a printer, so it works where none is installed.
    g_font = print::FontState();
    g_penPrinter = g_penPicture = 1;
    g_style = print::StyleSolid;
    if (target.IsPrinter()) {
        PreviewZoom = 1;
        target.Begin();
    } else {
        const QSizeF size = target.SizeCm();
        const double h = size.height() / PageHeight;
        const double w = size.width() / PageWidth;
        if (h < w) {
            PreviewZoom = h;
            target.Resize(QSizeF(PreviewZoom * PageWidth, size.height()));
        } else {
            PreviewZoom = w;
            target.Resize(QSizeF(size.width(), PreviewZoom * PageHeight));
        }
        target.SetScale(QSizeF(PageWidth, PageHeight));
        target.Begin();
    }
    ApplyFont();
    ApplyPen();
}

void SetCurrentX(double x)
{
    g_x = OnPrinter() ? double(float(x - PrinterOffsetX)) : x;
}

void SetCurrentY(double y)
{
    g_y = OnPrinter() ? double(float(y - PrinterOffsetY)) : y;
}

double CurrentX()
{
    return g_x;
}

double CurrentY()
{
    return g_y;
}

void EndPrint()
{
    T().End();
}

void SetFontName(const QString &name)
{
    g_font.name = name;
    ApplyFont();
}

void SetFontSize(double size)
{
    g_font.size = OnPrinter() ? double(float(size)) : size;
    ApplyFont();
}

void SetBold(bool on)
{
    g_font.bold = on;
    ApplyFont();
}

void SetUnderline(bool on)
{
    g_font.underline = on;
    ApplyFont();
}

void SetDrawWidth(int printer, int picture)
{
    g_penPrinter = printer;
    g_penPicture = picture;
    ApplyPen();
}

void SetDrawStyle(int style)
{
    g_style = style;
    ApplyPen();
}

void DrawLine(double x1, double y1, double x2, double y2)
{
    if (OnPrinter())
        T().DrawLine(float(x1 - PrinterOffsetX), float(y1 - PrinterOffsetY), float(x2 - PrinterOffsetX),
                     float(y2 - PrinterOffsetY));
    else
        T().DrawLine(x1, y1, x2, y2);
}

void NewPage()
{
    T().NewPage();
    ApplyFont();
    ApplyPen();
}

void DrawPicture(const QImage &image, double x, double y, double w, double h)
{
    if (x < PrinterOffsetX || y < PrinterOffsetY)
        return;
    if (w < 0 || h < 0)
        return;
    // A hair of tolerance: a box that ends exactly on the edge is inside.
    constexpr double eps = 1e-9;
    if (x + w > PageWidth - PrinterOffsetX + eps)
        return;
    if (y + h > PageHeight - PrinterOffsetY + eps)
        return;
    if (OnPrinter())
        T().DrawImage(image, float(x - PrinterOffsetX), float(y - PrinterOffsetY), w, h);
    else
        T().DrawImage(image, x, y, w, h);
}

void PrintText(const QString &text)
{
    T().DrawText(g_x, g_y, text);
    g_x += T().TextWidth(text);
}

double TextWidth(const QString &text)
{
    return T().TextWidth(text);
}

namespace {

const QString &CutMark()
{
    static const QString mark = QStringLiteral("...");
    return mark;
}

// The largest n up to `limit` for which fits(n) holds, fits being true for 0
// and false from some n on. A name may be as long as a record holds (tens of
// thousands of characters): n is looked for in doubling, then halving steps,
// measuring only texts about as long as what fits.
template <class Fits>
qsizetype Longest(qsizetype limit, const Fits &fits)
{
    qsizetype lo = 0, hi = 16;
    while (hi < limit && fits(hi)) {
        lo = hi;
        hi *= 2;
    }
    if (hi >= limit) {
        if (fits(limit))
            return limit;
        hi = limit;
    }
    while (hi - lo > 1) {
        const qsizetype mid = lo + (hi - lo) / 2;
        (fits(mid) ? lo : hi) = mid;
    }
    return lo;
}

// The characters of `text` from `from` up to `to`, never half of a surrogate pair.
QString Slice(const QString &text, qsizetype from, qsizetype to)
{
    if (from > 0 && from < text.size() && text.at(from).isLowSurrogate())
        ++from;
    if (to > from && to < text.size() && text.at(to - 1).isHighSurrogate())
        --to;
    return text.mid(from, to - from);
}

// `text` between `before` and `after` as it fits in `width` cm: whole when it
// fits, otherwise its longest head that fits ended with the cut mark.
QString FitBetween(const QString &before, const QString &text, const QString &after, double width)
{
    const QString &ellipsis = CutMark();
    // Most texts fit whole and are short: those are measured whole first.
    constexpr qsizetype kShort = 64;
    const QString whole = before + text + after;
    if (text.size() <= kShort && TextWidth(whole) <= width)
        return whole;
    const qsizetype n = Longest(text.size(), [&](qsizetype k) {
        return TextWidth(before + Slice(text, 0, k) + ellipsis + after) <= width;
    });
    // The whole text may fit where a shorter head and the ellipsis do not, its
    // last letters being narrower than "..."; a text much longer than the head
    // that fits has too many letters left for that.
    if (text.size() > kShort && text.size() <= 2 * (n + 16) && TextWidth(whole) <= width)
        return whole;
    return before + Slice(text, 0, n).trimmed() + ellipsis + after;
}

// How many characters a name shares from its start with the nearest other
// name of a sorted list without repeats: in such a list it stands next to it.
qsizetype SameStart(const QStringList &sorted, const QString &name)
{
    const auto shared = [&](const QString &other) {
        qsizetype i = 0;
        while (i < std::min(name.size(), other.size()) && name.at(i) == other.at(i))
            ++i;
        return i;
    };
    auto at = std::lower_bound(sorted.begin(), sorted.end(), name);
    const qsizetype before = at != sorted.begin() ? shared(*std::prev(at)) : 0;
    if (at != sorted.end() && *at == name)
        ++at;
    return std::max(before, at != sorted.end() ? shared(*at) : 0);
}

QString Backwards(QString text)
{
    std::reverse(text.begin(), text.end());
    return text;
}

// A sub-skill's name too wide to stand whole behind the mark that stands for
// its skill, cut in its middle so that both of its ends show. `sameHead` and
// `sameTail` are how far it runs alike with another name of its skill from
// its start and from its end: a row must show more than that at one end to
// read unlike every other. Failing that, the end where it parts sooner gets
// what tells it apart and the other end the room left; where neither end can
// hold that, the row shows, from the word where it departs, where it parts.
QString MiddleCut(const QString &sub, qsizetype sameHead, qsizetype sameTail, double width)
{
    const QString &mark = CutMark();
    const QString open = mark + QStringLiteral(" (");
    const qsizetype n = sub.size();
    const auto cut = [&](qsizetype h, qsizetype t) {
        return open + Slice(sub, 0, h).trimmed() + mark + Slice(sub, n - t, n) + QStringLiteral(")");
    };
    const auto fits = [&](qsizetype h, qsizetype t) { return TextWidth(cut(h, t)) <= width; };

    const double half = (width + TextWidth(cut(0, 0))) / 2;
    const qsizetype h = Longest(n, [&](qsizetype k) { return TextWidth(cut(k, 0)) <= half; });
    const qsizetype t = Longest(n - h, [&](qsizetype k) { return fits(h, k); });
    if (Slice(sub, 0, h).size() > sameHead || Slice(sub, n - t, n).size() > sameTail)
        return cut(h, t);

    const auto keep = [&](bool head) -> QString {
        const qsizetype same = head ? sameHead : sameTail;
        if (same >= n - 1)
            return {};
        // A letter outside the basic plane counts its two halves.
        const qsizetype need = same + 1 + (head ? sub.at(same).isHighSurrogate() : sub.at(n - 1 - same).isLowSurrogate());
        const auto with = [&](qsizetype k) { return head ? fits(need, k) : fits(k, need); };
        if (need >= n || !with(0))
            return {};
        const qsizetype rest = Longest(n - need, with);
        return head ? cut(need, rest) : cut(rest, need);
    };
    const bool tailFirst = sameTail < sameHead;
    for (const bool head : {!tailFirst, tailFirst})
        if (const QString row = keep(head); !row.isEmpty())
            return row;

    // The window starts from what the name shares with its neighbour alone
    // (the word of the first letter that differs, or as much of it as half the
    // room holds), so that two names parting at one place show it at one place.
    const qsizetype parting = std::min(sameHead, n - 1);
    const auto window = [&](qsizetype s, qsizetype e) {
        return open + (s > 0 ? mark : QString()) + Slice(sub, s, e) + (e < n ? mark : QString()) + QStringLiteral(")");
    };
    qsizetype from = parting;
    while (from > 0 && !sub.at(from - 1).isSpace())
        --from;
    from = std::max(from, parting - Longest(parting, [&](qsizetype k) {
                                 return TextWidth(window(parting - k, parting)) <= half;
                             }));
    return window(from, from + Longest(n - from, [&](qsizetype k) { return TextWidth(window(from, from + k)) <= width; }));
}

} // namespace

QString Fit(const QString &text, double width)
{
    return FitBetween(QString(), text, QString(), width);
}

QStringList FitSubSkills(const QString &skill, const QStringList &subs, double width)
{
    QStringList out, starts, ends;   // the names sorted by their start and by their end, once one must be cut
    for (const QString &sub : subs) {
        const QString own = QStringLiteral(" (") + sub + QStringLiteral(")");
        const QString markedOwn = CutMark() + own;
        // The sub-skill's own part is measured first on its own: a name of
        // thousands of letters is not measured whole again for every cut of
        // the skill's name.
        if (Fit(markedOwn, width) == markedOwn) {
            out << FitBetween(QString(), skill, own, width);
            continue;
        }
        // A skill's name narrower than the cut mark may still leave room.
        const QString whole = skill + own;
        if (Fit(whole, width) == whole) {
            out << whole;
            continue;
        }
        if (starts.isEmpty()) {
            for (const QString &name : subs)
                ends << Backwards(name);
            starts = subs;
            for (QStringList *sorted : {&starts, &ends}) {
                std::sort(sorted->begin(), sorted->end());
                sorted->erase(std::unique(sorted->begin(), sorted->end()), sorted->end());
            }
        }
        out << MiddleCut(sub, SameStart(starts, sub), SameStart(ends, Backwards(sub)), width);
    }
    return out;
}

namespace {

// Below a point a figure could not be read anyway; the size stops there.
constexpr double kSmallestSize = 1;

void PrintWithin(const QString &text, double width, bool right)
{
    double wide = TextWidth(text);
    const double size = g_font.size;
    const double top = g_y;
    const bool narrower = wide > width;
    if (narrower) {
        const double ascent = T().Ascent();
        // A text's width grows with its size nearly in proportion; the hinting
        // of small sizes on the screen may leave the first guess a hair too wide.
        double s = std::max(kSmallestSize, size * width / wide);
        SetFontSize(s);
        while (s > kSmallestSize && TextWidth(text) > width) {
            s = std::max(kSmallestSize, s * 0.98);
            SetFontSize(s);
        }
        wide = TextWidth(text);
        g_y = top + ascent - T().Ascent();
    }
    // As PrintRight and PrintText, with the width already measured.
    if (right)
        g_x = float(g_x - wide);
    T().DrawText(g_x, g_y, text);
    g_x += wide;
    if (narrower) {
        g_y = top;
        SetFontSize(size);
    }
}

} // namespace

void PrintWhole(const QString &text, double width)
{
    PrintWithin(text, width, false);
}

void PrintRightWhole(const QString &text, double width)
{
    PrintWithin(text, width, true);
}

void PrintCentered(const QString &text)
{
    g_x = float(g_x - T().TextWidth(text) / 2);
    PrintText(text);
}

void PrintRight(const QString &text)
{
    g_x = float(g_x - T().TextWidth(text));
    PrintText(text);
}

// ---------------------------------------------------------------- runs

bool Setup_Page(const QString &mask, const QString &player, print::PageTarget &target)
{
    const OneErrorBox once;   // one action, one box
    bool done = false;
    try {
        PageTop = 2.2;
        LineHeight = 0.407f;
        SetupTarget(target, 21.8, 28.2);
        SetFontSize(10);
        const bool main = mask.endsWith(QLatin1Char('1'));
        const bool skills = mask.startsWith(QLatin1Char('1'));
        if (main)
            Page_Principal(player);
        if (skills) {
            if (main)
                NewPage();
            Page_Skill(player);
        }
        EndPrint();
        done = true;
    } catch (...) {
        // The document that could not be finished is dropped rather than left open.
        try {
            target.Abort();
        } catch (...) {
        }
        ReportCurrentException(QStringLiteral("Setup_Page"));
    }
    g_target = nullptr;
    return done;
}

bool Setup_Page(const QString &mask, const QString &player)
{
    if (PrintToPrinter == 1) {
        print::PrinterPageTarget printer(SharedPrinter(), PrinterOffsetX, PrinterOffsetY);
        return Setup_Page(mask, player, printer);
    }
    auto &picture = DefaultPicture();
    if (!picture)
        picture = std::make_unique<print::ImagePageTarget>(QSize(818, 1058));
    return Setup_Page(mask, player, *picture);
}

void PrintFooter()
{
    const double y = RowY(57.5);
    SetCurrentY(y);
    SetCurrentX(2);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(6);
    PrintText(FooterNotice());
    SetCurrentY(y);
    SetCurrentX(20.1);
    SetFontName(QStringLiteral("Arial"));
    SetFontSize(6);
    PrintRight(FooterContact());
    SetFontSize(10);
}

} // namespace ModPrint
