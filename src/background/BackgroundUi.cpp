#include "background/BackgroundUi.h"

#include "background/frmBackground.h"
#include "background/frmTraining.h"
#include "background/frmWeaponChoises.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/CharacterWindow.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/frmMain.h"
#include "platform/Strings.h"
#include "platform/vb.h"
#include "newcharacter/frmStatGainRolls.h"
#include "skilldev/frmSkillDev.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

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

void OpenWeaponCategoryOrder(int n)
{
    frmWeaponChoises dlg(ModalParent());
    setTag(&dlg, QString::number(n));
    dlg.setWindowTitle(Strings::Load(3538));
    dlg.SkillCost();
    dlg.exec();
}

void OpenStatGainRolls(int n)
{
    frmStatGainRolls dlg(ModalParent());
    setTag(&dlg, QString::number(n));
    dlg.setWindowTitle(ModGeneral::Players(n).Nom + QStringLiteral(" (") + Strings::Load(5006) + QStringLiteral(")"));
    dlg.LoadData();
    dlg.exec();
}

Links defaultLinks()
{
    Links l;
    l.StatGainRolls = OpenStatGainRolls;
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

void InstallHooks()
{
    skilldev::StageHooks &h = skilldev::Hooks();
    h.WeaponCategoryOrder = OpenWeaponCategoryOrder;
    h.BackgroundOptions = OpenBackgroundOptions;
    h.TrainingPackages = OpenTrainingPackages;
    h.StatGainRolls = OpenStatGainRolls;
}

} // namespace background
