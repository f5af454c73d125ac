#include "print/frmPrint.h"

#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

frmPrint::frmPrint(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Aperçu"));
    picPage = new QLabel;
    picPage->setObjectName(QStringLiteral("picPage"));
    scrPage = new QScrollArea(this);
    scrPage->setObjectName(QStringLiteral("scrPage"));
    scrPage->setWidget(picPage);
    scrPage->setAlignment(Qt::AlignCenter);
    scrPage->setBackgroundRole(QPalette::Dark);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scrPage, 1);
    layout->addWidget(buttons);
    resize(560, 700);
}

QString frmPrint::Tag() const
{
    return property("Tag").toString();
}

void frmPrint::setTag(const QString &tag)
{
    setProperty("Tag", tag);
}

void frmPrint::Voir()
{
    // A blank page of the sheet's size (21.8 x 28.2 cm at 20 pixels a centimetre).
    QImage page(436, 564, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setPen(Qt::lightGray);
    p.drawRect(page.rect().adjusted(0, 0, -1, -1));
    p.end();
    picPage->setPixmap(QPixmap::fromImage(page));
    picPage->adjustSize();
}
