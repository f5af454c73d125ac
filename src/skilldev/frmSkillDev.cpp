#include "skilldev/frmSkillDev.h"

#include "frame/ModGeneral.h"
#include "frame/ui/frmMain.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

frmSkillDev::frmSkillDev(QWidget *parent)
    : CharacterWindow(QStringLiteral("frmSkillDev"), parent)
{
    setProperty("Tag", QStringLiteral("3510"));
    setWindowTitle(QStringLiteral("Compétences"));

    auto *layout = new QGridLayout(this);
    for (int i = 0; i < static_cast<int>(labDevlopment.size()); ++i) {
        labDevlopment[i] = new QLabel(this);
        labDevlopment[i]->setObjectName(QStringLiteral("labDevlopment_%1").arg(i));
    }
    labDevlopment[0]->setProperty("Tag", QStringLiteral("3510"));
    layout->addWidget(labDevlopment[0], 0, 0, 1, 2);
    labPD = new QLabel(QStringLiteral("0"), this);
    labPD->setObjectName(QStringLiteral("labPD"));
    layout->addWidget(labPD, 1, 0);
    btnEnd = new QPushButton(QStringLiteral("OK"), this);
    btnEnd->setObjectName(QStringLiteral("btnEnd"));
    layout->addWidget(btnEnd, 1, 1);
    layout->setRowStretch(2, 1);

    FinishLoad();
}

QString frmSkillDev::StageMarker() const
{
    return labDevlopment[13]->property("Tag").toString();
}

void frmSkillDev::setStageMarker(const QString &marker)
{
    labDevlopment[13]->setProperty("Tag", marker);
}

void frmSkillDev::LoadData()
{
    const int n = Number();
    if (n < 1 || n > ModGeneral::PlayerCount)
        return;
    setWindowTitle(ModGeneral::Players(n).Nom);
}

void frmSkillDev::Tableau()
{
    frmMain *main = frmMain::instance();
    if (!main)
        return;
    main->setTag(Tag());
    main->ToolbarForSkillDev(StageMarker(), Number());
}

void frmSkillDev::Form_Activate()
{
    Tableau();
}

void frmSkillDev::Form_Unload()
{
    if (frmMain *main = frmMain::instance()) {
        main->setTag(QString());
        main->MDIForm_Activate();
    }
}
