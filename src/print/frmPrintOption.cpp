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
        ModPrint::PrinterTarget toPrinter;
        return ModPrint::Setup_Page(QStringLiteral("01"), Tag());
    } catch (...) {
        ReportCurrentException(objectName() + QStringLiteral(".Form.Load"));
        return false;
    }
}
