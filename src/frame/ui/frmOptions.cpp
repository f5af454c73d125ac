#include "frame/ui/frmOptions.h"

#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "platform/ports.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmOptions::frmOptions(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));

    picOptions = new QFrame(this);
    picOptions->setObjectName(QStringLiteral("picOptions"));
    picOptions->setFrameShape(QFrame::StyledPanel);
    auto *samples = new QVBoxLayout(picOptions);
    fraSample2 = new QGroupBox(QStringLiteral("Sample 2"), picOptions);
    fraSample2->setObjectName(QStringLiteral("fraSample2"));
    fraSample3 = new QGroupBox(QStringLiteral("Sample 3"), picOptions);
    fraSample3->setObjectName(QStringLiteral("fraSample3"));
    fraSample4 = new QGroupBox(QStringLiteral("Sample 4"), picOptions);
    fraSample4->setObjectName(QStringLiteral("fraSample4"));
    samples->addWidget(fraSample2);
    samples->addWidget(fraSample3);
    samples->addWidget(fraSample4);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdApply = new QPushButton(QStringLiteral("Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdApply);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picOptions, 1);
    layout->addLayout(buttons);
    resize(400, 320);
}

void frmOptions::cmdApply_Click()
{
    ports::ui().MsgBox(QStringLiteral("Apply Code goes here to set options w/o closing dialog!"), ports::OkOnly,
                       ModGeneral::ProgramTitle());
}

void frmOptions::cmdOK_Click()
{
    ports::ui().MsgBox(QStringLiteral("Code goes here to set options and close dialog!"), ports::OkOnly, ModGeneral::ProgramTitle());
    close();
}

void frmOptions::cmdCancel_Click()
{
    close();
}
