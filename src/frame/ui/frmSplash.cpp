#include "frame/ui/frmSplash.h"

#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/ProgramIcon.h"
#include "platform/Strings.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString Text(int n, const QString &fallback)
{
    QString s;
    return Strings::TryLoad(n, &s) && !s.isEmpty() ? s : fallback;
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &tag)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    if (!tag.isEmpty())
        l->setProperty("Tag", tag);
    l->setWordWrap(true);
    return l;
}
} // namespace

QString frmSplash::ProductName()
{
    return ModGeneral::ProgramTitle() + QStringLiteral(" (") + QString::number(QV_VERSION_MAJOR)
        + QLatin1Char('.') + QString::number(QV_VERSION_MINOR) + QLatin1Char('.')
        + QString::number(QV_VERSION_PATCH) + QLatin1Char(')');
}

frmSplash::frmSplash(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    setModal(true);

    Picture1 = MakeLabel(this, "Picture1", {});
    Picture1->setPixmap(ProgramIcon().pixmap(64, 64));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblProductName = MakeLabel(this, "lblProductName", {});
    QFont big = lblProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblProductName->setFont(big);
    lblCopyright = MakeLabel(this, "lblCopyright", {});
    lblCompany = MakeLabel(this, "lblCompany", QStringLiteral("1101"));
    lblContact = MakeLabel(this, "lblContact", QStringLiteral("1102"));
    lblWeb = MakeLabel(this, "lblWeb", QStringLiteral("1103"));
    lblWarning = MakeLabel(this, "lblWarning", QStringLiteral("1110"));
    labinfo = MakeLabel(this, "labinfo", QStringLiteral("1111"));
    QFont small = lblWarning->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblWarning->setFont(small);
    labinfo->setFont(small);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblProductName);
    texts->addWidget(lblCopyright);
    texts->addWidget(lblCompany);
    texts->addWidget(lblWeb);
    texts->addWidget(lblContact);
    texts->addSpacing(8);
    texts->addWidget(lblWarning);
    texts->addWidget(labinfo);
    auto *top = new QHBoxLayout;
    top->addWidget(Picture1);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setFixedWidth(480);

    LoadFormStrings(this);
    setWindowTitle(ModGeneral::ProgramTitle());
    lblProductName->setText(ProductName());
    lblCopyright->setText(QStringLiteral("Copyright \u00a9 %1 - %2.").arg(Text(1101, QStringLiteral("Quorvane")),
                                                                          QStringLiteral("2024")));

    // A key pressed anywhere in the box closes it, whichever control has the focus.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    accept();
}
