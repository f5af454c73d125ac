#include "frame/ui/frmStatuBar.h"

#include "frame/ui/LoadFormStrings.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

frmStatuBar::frmStatuBar(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmStatuBar"));
    setProperty("Tag", QStringLiteral("3502"));
    setWindowTitle(QStringLiteral("Chargement"));

    prbData = new QProgressBar(this);
    prbData->setObjectName(QStringLiteral("prbData"));
    prbData->setRange(0, 100);
    prbData->setValue(0);
    prbData->setTextVisible(false);

    capStatus = new QLabel(this);
    capStatus->setObjectName(QStringLiteral("capStatus"));
    capStatus->setProperty("Tag", QStringLiteral("4001"));
    capStatus->setText(QStringLiteral("Chargement en court. Veuillez patienter..."));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prbData);
    layout->addWidget(capStatus);
    setFixedWidth(360);

    LoadFormStrings(this);
}

void frmStatuBar::Begin(const QString &caption, const QString &status, int max)
{
    if (!caption.isEmpty())
        setWindowTitle(caption);
    if (!status.isEmpty())
        capStatus->setText(status);
    prbData->setRange(0, max > 0 ? max : 100);
    prbData->setValue(0);
    if (!isVisible())
        show();
    raise();
    Flush();
}

void frmStatuBar::SetValue(int value)
{
    prbData->setValue(qBound(prbData->minimum(), value, prbData->maximum()));
    Flush();
}

void frmStatuBar::Flush()
{
    if (isVisible())
        repaint();
}
