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

// Pages sent to the printer since the start of the run (what a print produced).
int PrintedPageCount();

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
