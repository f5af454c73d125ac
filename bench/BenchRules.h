#pragma once
// The sample rules as the program opens them (read-only, rows cached, French
// columns), for the benchmarks that measure what a player waits for.
#include "frame/ModGeneral.h"
#include "platform/dao.h"

namespace bench {

inline void OpenSampleRules()
{
    ModGeneral::DbMaster.Close();
    dao::OpenOptions options;
    options.readOnly = true;
    options.cacheRows = true;
    ModGeneral::DbMaster =
        dao::Workspace().OpenDatabase(ModGeneral::AppFolder() + QStringLiteral("/master.dat"), options);
    ModGeneral::DataLanguage = 5000;
}

} // namespace bench
