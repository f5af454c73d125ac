#include "print/SharedPrinter.h"

#include <QPrinter>

QPrinter &SharedPrinter()
{
    // Made on first use and kept for the run: it must outlive every page and
    // must not be torn down after the application object.
    static QPrinter *printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}
