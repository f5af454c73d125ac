#include "frame/ModGeneral.h"

#include "frame/ErrorReporter.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <QDir>

#include <limits>

namespace ModGeneral {

Personnage &PlayerTable::operator()(int n)
{
    if (n < 0)
        n = 0;
    if (n > size())
        vb::Raise(vb::ErrSubscript);
    auto &slot = m_slots[n];
    if (!slot)
        slot = std::make_unique<Personnage>();
    return *slot;
}

void PlayerTable::resize(int count)
{
    count = std::max(count, 0);
    // No character is ever numbered past what PlayerCount can count.
    if (count > std::numeric_limits<qint16>::max())
        vb::Raise(vb::ErrSubscript);
    for (int n = count + 1; n <= size(); ++n)
        if (m_slots[n])
            vb::Raise(vb::ErrSubscript);
    m_slots.resize(count + 1);
}

void PlayerTable::dropNewest(int n)
{
    if (n < 1 || n != size())
        vb::Raise(vb::ErrSubscript);
    m_slots.pop_back();
}

void PlayerTable::clear()
{
    m_slots.clear();
    m_slots.resize(1);
}

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

void RedimPlayer()
{
    try {
        const qint16 count = vb::Add16(PlayerCount, 1);
        PlayerCount = count;
        if (PlayerCount > CompressionWarningCount)
            ports::ui().MsgBox(QStringLiteral("Compression des personnage"), ports::OkOnly, ProgramTitle());
        Players.resize(PlayerCount);
    } catch (...) {
        ReportCurrentException(QStringLiteral("RedimPlayer"));
    }
}

void GiveBackPlayer(int n)
{
    if (n < 1 || n != PlayerCount || n != Players.size())
        return;
    Players.dropNewest(n);
    PlayerCount = qint16(n - 1);
}

void ResetSharedState()
{
    WsMaster = {};
    WsPlayer = {};
    DbMaster = {};
    DbPlayer = {};
    MasterPath.clear();
    PlayerPath.clear();
    Sql.clear();
    Criteria.clear();
    RsShared = {};
    DataLanguage = 0;
    PlayerCount = 0;
    SkillDevMode.clear();
    WeaponChoiceArgs = {};
    WeaponAdolescenceShown = false;
    MsgText = QVariant();
    MsgTitle.clear();
    Players.clear();
}

} // namespace ModGeneral
