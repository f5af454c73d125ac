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
#include "skilldev/frmSkillDev.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace background {

QString AppTitle()
{
    QString title;
    if (Strings::TryLoad(1104, &title) && !title.isEmpty())
        return title;
    return QStringLiteral("Quorvane");
}

QWidget *ModalParent()
{
    if (QWidget *m = QApplication::activeModalWidget())
        return m;
    return frmMain::instance();
}

namespace {

// Opens a stage on a new skill development window of character n. The
// language stage is filled before its markers are set, the hobby stage after.
void DefaultOpenStage(int n, const QString &stage, qint16 ranks)
{
    if (!SkillDevForms.inRange(n))
        vb::Raise(vb::ErrSubscript);
    auto *w = new frmSkillDev;
    SkillDevForms.put(n, w);
    w->setTag(QString::number(n));
    const bool language = stage == QLatin1String("Historique");
    if (language) {
        w->LoadData();
        setTag(w->labPD, QStringLiteral("Ranks"));
        w->setStageMarker(stage);
        w->labDevlopment[13]->setText(Strings::Load(3075));
    } else {
        setTag(w->labPD, QStringLiteral("Ranks"));
        w->setStageMarker(stage);
        w->LoadData();
        w->labDevlopment[13]->setText(Strings::Load(3076));
    }
    w->labPD->setText(QString::number(ranks));
    w->btnEnd->setEnabled(true);
    for (const char *name : {"labTrainingCost", "labTraining", "btnTraning"})
        if (QWidget *c = w->findChild<QWidget *>(QString::fromLatin1(name)))
            c->setVisible(false);
    if (frmMain *main = frmMain::instance())
        main->Present(w);
    else
        w->showMaximized();
    w->setFocus();
}

Links defaultLinks()
{
    Links l;
    // The statistic gain rolls window is not part of this build yet: the
    // option is spent and nothing is rolled.
    l.StatGainRolls = [](int) {};
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
    // The skill development stages reach these dialogs once both sides are in
    // one build; until then the stages keep their own defaults.
}

} // namespace background
