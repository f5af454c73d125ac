#include "background/BackgroundUi.h"

#include "background/frmBackground.h"
#include "frame/ui/frmMain.h"
#include "newcharacter/frmStatGainRolls.h"
#include "platform/vb.h"
#include "skilldev/frmSkillDev.h"

#include <QApplication>

namespace background {

QWidget *ModalParent()
{
    if (QWidget *m = QApplication::activeModalWidget())
        return m;
    return frmMain::instance();
}

namespace {

// Opens a stage on a new skill development window of character n.
void DefaultOpenStage(int n, const QString &stage, qint16 ranks)
{
    const skilldev::Stage which = stage == QLatin1String("Historique") ? skilldev::Stage::BackgroundLanguages
                                                                       : skilldev::Stage::HobbyRanks;
    if (!skilldev::OpenStage(n, which, ranks))
        vb::Raise(vb::ErrSubscript);   // no window slot for this character
}

Links defaultLinks()
{
    Links l;
    l.StatGainRolls = newchar::OpenStatGainRolls;
    l.OpenStage = DefaultOpenStage;
    return l;
}

} // namespace

Links &links()
{
    static Links l = defaultLinks();
    return l;
}

void resetLinks()
{
    links() = defaultLinks();
}

} // namespace background
