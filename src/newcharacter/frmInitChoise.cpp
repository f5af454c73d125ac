#include "newcharacter/frmInitChoise.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

frmInitChoise::frmInitChoise(QWidget *parent)
    : CharacterWindow(QStringLiteral("frmInitChoise"), parent)
{
    setProperty("Tag", QStringLiteral("3006"));
    setWindowTitle(QStringLiteral("Culture"));

    auto *fraSex = new QGroupBox(this);
    fraSex->setObjectName(QStringLiteral("fraSex"));
    auto *group = new QButtonGroup(this);
    auto *sexLayout = new QVBoxLayout(fraSex);
    const char *const tags[2] = {"3016", "3017"};
    const char *const texts[2] = {"Male", "Femelle"};
    for (int i = 0; i < 2; ++i) {
        optSex[i] = new QRadioButton(QString::fromUtf8(texts[i]), fraSex);
        optSex[i]->setObjectName(QStringLiteral("optSex_%1").arg(i));
        optSex[i]->setProperty("Tag", QString::fromLatin1(tags[i]));
        group->addButton(optSex[i], i);
        sexLayout->addWidget(optSex[i]);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraSex);
    layout->addStretch();

    FinishLoad();
}
