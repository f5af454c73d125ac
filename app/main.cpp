#include "frame/ui/Startup.h"
#include "platform/qt/QtPorts.h"

#include <QApplication>
#include <QStyle>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setWindowIcon(app.style()->standardIcon(QStyle::SP_ComputerIcon));
    QtPorts userPorts;
    ports::install(&userPorts);
    if (!Startup::Main())
        return 1;
    const int rc = app.exec();
    ports::install(nullptr);
    return rc;
}
