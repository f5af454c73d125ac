#pragma once
// The printed character sheet: the main page and the skill pages, drawn in
// centimetres of a 21.8 x 28.2 cm logical page, on the printer or on the
// preview's picture. Every page routine draws through the primitives below,
// so one drawing code serves paper, preview and tests.
#include "print/PageTarget.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace ModPrint {

// Where Setup_Page draws when it is given no target: 1 the printer, anything
// else the preview picture.
inline int PrintToPrinter = 0;

// ---------------------------------------------------------------- page geometry
inline double PreviewZoom = 1;
inline double PrinterOffsetX = 0.6;   // the printable area's corner on the logical page
inline double PrinterOffsetY = 0.4;
inline double PageWidth = 21.8;
inline double PageHeight = 28.2;
inline double PageTop = 2.2;          // y of row 0
inline float LineHeight = 0.407f;     // row pitch

// y of row n (n may be a half row).
double RowY(double n);
// Text on page row `row` at x: from x (giving the page's x where it ends),
// ending at x, or centred on x.
double TextFrom(double x, double row, const QString &text);
void TextEndingAt(double x, double row, const QString &text);
void TextCenteredOn(double x, double row, const QString &text);
// A string of the table in use, and a whole number as the sheet prints it.
QString TableString(int id);
QString NumberText(qint64 v);

// ---------------------------------------------------------------- entry points
// Draws the pages chosen by the mask ("01" the main page, "10" the skill
// pages, "11" both) of character `player` (its number as text) on the target
// that PrintToPrinter names. Reports its own errors (location "Setup_Page");
// true when the run ended normally.
bool Setup_Page(const QString &mask, const QString &player);
// The same on the given target; true when the run ended normally.
bool Setup_Page(const QString &mask, const QString &player, print::PageTarget &target);

// The page routines (they report their own errors and return).
void Page_Principal(const QString &player);
void Page_Skill(const QString &player);
void PrintSkillHeader(const QString &player);
void PrintFooter();

// The footer's two lines.
QString FooterNotice();
QString FooterContact();

// The emblem painted in the main page's corner.
QImage LogoPicture();

// ---------------------------------------------------------------- primitives
// The target of the run under way; null outside a run.
print::PageTarget *Target();
// Prepares the target: margins, the page's scale, the default font; the
// preview's surface is fitted to the page's proportions and cleared, the
// printer's document begun.
void SetupTarget(print::PageTarget &target, double pageWidth, double pageHeight);
void SetCurrentX(double x);
void SetCurrentY(double y);
double CurrentX();
double CurrentY();
void EndPrint();
void SetFontName(const QString &name);
void SetFontSize(double size);
void SetBold(bool on);
void SetUnderline(bool on);
// Pen width on the printer and on the picture, each in its own units.
void SetDrawWidth(int printer, int picture);
void SetDrawStyle(int style);
void DrawLine(double x1, double y1, double x2, double y2);
void NewPage();
// Paints the image in the box; nothing when the box leaves the drawable area.
void DrawPicture(const QImage &image, double x, double y, double w, double h);
void PrintText(const QString &text);
void PrintCentered(const QString &text);
void PrintRight(const QString &text);
// A figure is never cut: these print it as PrintText and PrintRight do, but
// one wider than `width` cm in the current font is drawn whole in the
// largest smaller size of that font that holds it, on the same baseline. The
// font and the current line are as before afterwards.
void PrintWhole(const QString &text, double width);
void PrintRightWhole(const QString &text, double width);
// Width of the text in the current font, in the target's centimetres.
double TextWidth(const QString &text);
// The text as it fits in `width` cm in the current font: whole when it fits,
// otherwise cut and ended with "...", so that it never runs into what stands
// beside it.
QString Fit(const QString &text, double width);
// The rows "skill (sub-skill)" of the named sub-skills of one skill, as each
// fits in `width` cm: the skill's name is cut first; a sub-skill's name too
// wide by itself is cut in its middle, keeping enough of it that no two rows
// read alike while their names differ.
QStringList FitSubSkills(const QString &skill, const QStringList &subs, double width);

// Sets PrintToPrinter to 1 for its lifetime and back to 0 however the scope
// is left, so a later preview never goes to the printer.
class PrinterTarget {
public:
    PrinterTarget() { PrintToPrinter = 1; }
    ~PrinterTarget() { PrintToPrinter = 0; }
    PrinterTarget(const PrinterTarget &) = delete;
    PrinterTarget &operator=(const PrinterTarget &) = delete;
};

} // namespace ModPrint
