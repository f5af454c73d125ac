#include "print/frmPrintOption.h"

#include "frame/ErrorReporter.h"
#include "platform/ports.h"
#include "print/ModPrint.h"

frmPrintOption::frmPrintOption(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrintOption"));
}

QString frmPrintOption::Tag() const
{
    return property("Tag").toString();
}

void frmPrintOption::setTag(const QString &tag)
{
    setProperty("Tag", tag);
}

int frmPrintOption::exec()
{
    const bool printed = Form_Load();
    setResult(printed ? Accepted : Rejected);
    return result();
}

bool frmPrintOption::Form_Load()
{
    try {
        // A cancelled print dialog prints nothing.
        if (!ports::ui().PrintDialog())
            return false;
        const int before = ModPrint::PrinterLog().jobs;
        {
            ModPrint::PrinterTarget toPrinter;
            ModPrint::Setup_Page(QStringLiteral("01"), Tag());
        }
        return ModPrint::PrinterLog().jobs > before;
    } catch (...) {
        ReportCurrentException(objectName() + QStringLiteral(".Form.Load"));
        return false;
    }
}
