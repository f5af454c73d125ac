#include "frame/ModGeneral.h"

#include "frame/DataFiles.h"
#include "frame/ErrorReporter.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QDir>

#include <csignal>
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

void AnswerFileSizeLimit()
{
    ::signal(SIGXFSZ, SIG_IGN);
}

QString ProgramTitle()
{
    QString title;
    if (Strings::TryLoad(1104, &title) && !title.isEmpty())
        return title;
    return QStringLiteral("Quorvane");
}

namespace {
// The box names the file that could not be opened: the player can then look
// for it, or put back a damaged one.
QString NamingTheFile(const vb::Error &e, const QString &file)
{
    QString named;
    if (!Strings::TryLoad(9248, &named))
        named = QStringLiteral("%1");
    return ShownText(e) + QLatin1Char('\n') + named.arg(QDir::toNativeSeparators(file));
}
} // namespace

void OpenDB()
{
    RulesUnavailable.clear();
    QString file;
    try {
        dao::DBEngine &engine = dao::DBEngine::instance();
        engine.SystemDB = AppFolder() + QStringLiteral("/mind.dat");

        file = engine.SystemDB;
        datafiles::CheckOpenable(file, vb::ErrWorkgroup);
        WsMaster = engine.CreateWorkspace(kMasterWorkspace, kMasterUser, kMasterPassword);
        engine.AppendWorkspace(WsMaster);

        // Nothing ever writes the rules, so each source's rows are read once.
        file = MasterPath;
        dao::OpenOptions options;
        options.readOnly = true;
        options.cacheRows = true;
        datafiles::CheckOpenable(MasterPath);
        DbMaster = WsMaster.OpenDatabase(MasterPath, options);
        try {
            datafiles::CheckRules(DbMaster);
        } catch (...) {
            // Rules that cannot be trusted are not used at all: each later
            // query then names this file instead of failing in its own words.
            DbMaster = dao::Database();
            throw;
        }

        file = engine.SystemDB;
        WsPlayer = engine.CreateWorkspace(kPlayerWorkspace, kPlayerUser, kPlayerPassword);
        engine.AppendWorkspace(WsPlayer);
    } catch (const vb::Error &e) {
        const QString text = NamingTheFile(e, file);
        if (!DbMaster.isOpen())
            RulesUnavailable = text;
        ShowErrorMessage(e.number(), text, QStringLiteral("OpenDB"));
    } catch (...) {
        ReportCurrentException(QStringLiteral("OpenDB"));
    }
    // Every save starts from the template: a bad one is said now, once,
    // rather than at each save.
    try {
        datafiles::CheckTemplate(PlayerPath);
    } catch (const vb::Error &e) {
        ShowErrorMessage(e.number(), NamingTheFile(e, PlayerPath), QStringLiteral("OpenDB"));
    } catch (...) {
        ReportCurrentException(QStringLiteral("OpenDB"));
    }
}

} // namespace ModGeneral
