#include "mainwindow/FormFactories.h"

#include "frame/ui/CharacterWindow.h"
#include "newcharacter/frmInitChoise.h"
#include "sheet/frmGeneral.h"
#include "skilldev/frmSkillDev.h"

void InstallFormFactories()
{
    InitForms.setFactory([] { return new frmInitChoise; });
    SkillDevForms.setFactory([] { return new frmSkillDev; });
    GeneralForms.setFactory([] { return new frmGeneral; });
}
