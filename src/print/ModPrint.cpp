#include "print/ModPrint.h"

#include "frame/ErrorReporter.h"
#include "platform/qt/QtPorts.h"
#include "platform/vb.h"

#include <QPainter>
#include <QPrinter>

namespace ModPrint {
namespace {
int g_printedPages = 0;
constexpr int kPrinterError = 482;
} // namespace

int PrintedPageCount()
{
    return g_printedPages;
}

void Setup_Page(const QString &pages, const QString &player)
{
    Q_UNUSED(pages);
    Q_UNUSED(player);
    try {
        if (PrintToPrinter != 1)
            return;   // the preview draws its own page
        QPainter painter;
        if (!painter.begin(&SharedPrinter()))
            throw vb::Error(kPrinterError);
        // The sheet's pages are drawn here; until then the printer gets a blank page.
        if (!painter.end())
            throw vb::Error(kPrinterError);
        ++g_printedPages;
    } catch (const vb::Error &e) {
        ShowErrorMessage(e.number(), e.text(), QStringLiteral("Setup_Page"));
    }
}

} // namespace ModPrint
