#pragma once
// Shared set-up of the character-file tests and benchmark: the template and
// the workspace character files are opened in, as start-up makes them.
#include "frame/ModGeneral.h"
#include "platform/dao.h"

#include <QCoreApplication>
#include <QString>

namespace filetest {

inline QString binFile(const char *name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

// Points the shared state at the built template and logs on the player's
// workspace once per run.
inline void useBuiltTemplate()
{
    ModGeneral::PlayerPath = binFile("player.dat");
    if (!ModGeneral::WsPlayer.isValid()) {
        dao::DBEngine &engine = dao::DBEngine::instance();
        engine.SystemDB = binFile("mind.dat");
        ModGeneral::WsPlayer = engine.CreateWorkspace(QStringLiteral("wsAreaPalyer"), QStringLiteral("Player"),
                                                      QStringLiteral("pLRtx8vqanhbzo"));
    }
}

} // namespace filetest
