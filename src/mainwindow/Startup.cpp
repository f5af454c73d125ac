#include "mainwindow/Startup.h"

#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/CharacterWindow.h"
#include "frame/ui/frmSplash.h"
#include "mainwindow/FormFactories.h"
#include "mainwindow/frmMain.h"
#include "platform/vb.h"

namespace Startup {
namespace {
template <typename F>
bool Step(F &&f)
{
    try {
        f();
        return true;
    } catch (...) {
        ReportCurrentException(QStringLiteral("Main"));
    }
    return false;
}
} // namespace

frmMain *Main(const Options &options)
{
    using namespace ModGeneral;
    Step([] {
        MasterPath = AppFolder() + QStringLiteral("/master.dat");
        PlayerPath = AppFolder() + QStringLiteral("/player.dat");
        OpenDB();
        DataLanguage = 5000;
        InstallFormFactories();
    });
    if (options.splash)
        Step([] {
            frmSplash splash;
            splash.exec();
        });
    // The main window comes up even when an earlier step failed: without it the
    // program would run on with no window at all.
    frmMain *main = nullptr;
    Step([&main] {
        main = new frmMain;
        main->setAttribute(Qt::WA_DeleteOnClose);
        main->show();
    });
    return main;
}

} // namespace Startup
