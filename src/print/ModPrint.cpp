#include "print/ModPrint.h"

#include "frame/ErrorReporter.h"
#include "platform/qt/QtPorts.h"
#include "platform/vb.h"

#include <QPainter>
#include <QPrinter>

namespace ModPrint {
namespace {
PrintLog g_log;
constexpr int kPrinterError = 482;
} // namespace

const PrintLog &PrinterLog()
{
    return g_log;
}

void Setup_Page(const QString &pages, const QString &player)
{
    try {
        if (PrintToPrinter != 1)
            return;   // the preview draws its own page
        QPainter painter;
        if (!painter.begin(&SharedPrinter()))
            throw vb::Error(kPrinterError);
        // The sheet's pages are drawn here; until then the printer gets a blank page.
        if (!painter.end())
            throw vb::Error(kPrinterError);
        ++g_log.jobs;
        g_log.pages = pages;
        g_log.player = player;
    } catch (...) {
        ReportCurrentException(QStringLiteral("Setup_Page"));
    }
}

} // namespace ModPrint
