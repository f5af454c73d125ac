#pragma once
// Drawing the character sheet's pages, on the printer or on the preview.
#include <QString>

namespace ModPrint {

// Where Setup_Page draws: 1 the printer, anything else the preview.
inline int PrintToPrinter = 0;

// Draws the pages of character `player` (its number as text) chosen by the
// page mask ("11": the main page and the skill pages). Reports its own errors
// (location "Setup_Page").
void Setup_Page(const QString &pages, const QString &player);

// What the printer got: the number of print jobs since the start of the run,
// and the page mask and character of the last one.
struct PrintLog {
    int jobs = 0;
    QString pages;
    QString player;
};
const PrintLog &PrinterLog();

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
