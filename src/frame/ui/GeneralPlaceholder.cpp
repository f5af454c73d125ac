#include "frame/ui/GeneralPlaceholder.h"

#include "frame/ModGeneral.h"
#include "frame/ui/frmMain.h"

#include <QLabel>
#include <QVBoxLayout>

GeneralPlaceholder::GeneralPlaceholder(QWidget *parent)
    : CharacterWindow(QStringLiteral("frmGeneral"), parent)
{
    setProperty("Tag", QStringLiteral("3514"));
    setWindowTitle(QStringLiteral("Général"));
    txtName = new QLabel(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtName);
    layout->addStretch();
    FinishLoad();
}

void GeneralPlaceholder::LoadData()
{
    const int n = Number();
    if (n < 1 || n > ModGeneral::PlayerCount)
        return;
    const QString name = ModGeneral::Players(n).Nom;
    txtName->setText(name);
    setWindowTitle(name);
}

void GeneralPlaceholder::Tableau()
{
    if (frmMain *main = frmMain::instance()) {
        main->setTag(Tag());
        main->SetButtons({3, 5, 8, 10}, {7});
    }
}

void GeneralPlaceholder::Form_Activate()
{
    Tableau();
}

void GeneralPlaceholder::Form_Unload()
{
    if (frmMain *main = frmMain::instance()) {
        main->setTag(QString());
        main->MDIForm_Activate();
    }
}
