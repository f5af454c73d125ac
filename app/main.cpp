#include "mainwindow/Startup.h"

#include "frame/ui/ProgramIcon.h"
#include "mainwindow/QtPorts.h"
#include "platform/Strings.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char **argv)
{
    Startup::ReadFontsAhead();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setWindowIcon(ProgramIcon());
    // Qt's own words (Oui, Non, Annuler...) in the interface's language.
    QTranslator qtWords;
    if (Strings::current() == Strings::Language::French
        && qtWords.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtWords);
    QtPorts userPorts;
    ports::install(&userPorts);
    if (!Startup::Main())
        return 1;
    const int rc = app.exec();
    ports::install(nullptr);
    return rc;
}
