#include "frame/ui/Startup.h"
#include "platform/qt/QtPorts.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QtPorts userPorts;
    ports::install(&userPorts);
    if (!Startup::Main())
        return 1;
    const int rc = app.exec();
    ports::install(nullptr);
    return rc;
}
