#include "frame/ModGeneral.h"

#include "frame/ErrorReporter.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QDir>

#include <limits>

namespace ModGeneral {

namespace {
QString g_appFolder;
}

QString AppFolder()
{
    return g_appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_appFolder;
}

void SetAppFolder(const QString &folder)
{
    g_appFolder = folder;
}

namespace {
// The accounts of the security file. The rules are read under the reader's
// account; character files are opened under the player's.
const char *const kMasterWorkspace = "wsArea";
const char *const kMasterUser = "Lecteur";
const char *const kMasterPassword = "qfw271";
const char *const kPlayerWorkspace = "wsAreaPalyer";
const char *const kPlayerUser = "Player";
const char *const kPlayerPassword = "pLRtx8vqanhbzo";
} // namespace

QString ProgramTitle()
{
    QString title;
    if (Strings::TryLoad(1104, &title) && !title.isEmpty())
        return title;
    return QStringLiteral("Quorvane");
}

void OpenDB()
{
    // The box names the file that could not be opened: the player can then
    // look for it, or put back a damaged one.
    QString file;
    try {
        dao::DBEngine &engine = dao::DBEngine::instance();
        engine.SystemDB = AppFolder() + QStringLiteral("/mind.dat");

        file = engine.SystemDB;
        WsMaster = engine.CreateWorkspace(kMasterWorkspace, kMasterUser, kMasterPassword);
        engine.AppendWorkspace(WsMaster);

        // Nothing ever writes the rules, so each source's rows are read once.
        file = MasterPath;
        dao::OpenOptions options;
        options.readOnly = true;
        options.cacheRows = true;
        DbMaster = WsMaster.OpenDatabase(MasterPath, options);

        file = engine.SystemDB;
        WsPlayer = engine.CreateWorkspace(kPlayerWorkspace, kPlayerUser, kPlayerPassword);
        engine.AppendWorkspace(WsPlayer);
    } catch (const vb::Error &e) {
        QString named;
        if (!Strings::TryLoad(9248, &named))
            named = QStringLiteral("%1");
        ShowErrorMessage(e.number(), ShownText(e) + QLatin1Char('\n') + named.arg(QDir::toNativeSeparators(file)),
                         QStringLiteral("OpenDB"));
    } catch (...) {
        ReportCurrentException(QStringLiteral("OpenDB"));
    }
}

} // namespace ModGeneral
