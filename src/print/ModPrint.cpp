#include "print/ModPrint.h"

#include "platform/Strings.h"
#include "print/SharedPrinter.h"

#include "frame/ErrorReporter.h"
#include "platform/vb.h"

#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <algorithm>
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

// `text` between `before` and `after` as it fits in `width` cm: whole when it
// fits, otherwise its longest head that fits ended with the cut mark.
QString FitBetween(const QString &before, const QString &text, const QString &after, double width)
{
    const QString &ellipsis = CutMark();
    // The first n characters, never half of a surrogate pair.
    const auto head = [&](qsizetype n) {
        if (n > 0 && n < text.size() && text.at(n - 1).isHighSurrogate())
            --n;
        return text.left(n);
    };
    const auto fits = [&](qsizetype n) { return TextWidth(before + head(n) + ellipsis + after) <= width; };
    // A name may be as long as a record holds (tens of thousands of
    // characters): the cut is looked for in doubling, then halving steps,
    // measuring only texts about as long as what fits.
    qsizetype lo = 0, hi = 16;
    while (hi < text.size() && fits(hi)) {
        lo = hi;
        hi *= 2;
    }
    // The whole text may fit where a shorter head and the ellipsis do not, its
    // last letters being narrower than "..."; a text more than twice as long
    // as a head that does not fit has too many letters left for that.
    if (hi >= text.size() || text.size() <= 2 * hi) {
        if (TextWidth(before + text + after) <= width)
            return before + text + after;
        hi = std::min(hi, text.size());
    }
    while (hi - lo > 1) {
        const qsizetype mid = lo + (hi - lo) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid;
    }
    return before + head(lo).trimmed() + ellipsis + after;
}

} // namespace

QString Fit(const QString &text, double width)
{
    return FitBetween(QString(), text, QString(), width);
}

QString FitSubSkill(const QString &skill, const QString &sub, double width)
{
    const QString own = QStringLiteral(" (") + sub + QStringLiteral(")");
    const QString markedOwn = CutMark() + own;
    // The sub-skill's own part is measured first on its own: a name of
    // thousands of letters is not measured whole again for every cut of
    // the skill's name.
    if (Fit(markedOwn, width) == markedOwn)
        return FitBetween(QString(), skill, own, width);
    // A skill's name narrower than the cut mark may still leave room.
    const QString whole = skill + own;
    if (Fit(whole, width) == whole)
        return whole;
    // The sub-skill's name does not fit by itself: it is cut in turn, behind
    // the mark that stands for the skill.
    return FitBetween(CutMark() + QStringLiteral(" ("), sub, QStringLiteral(")"), width);
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
