#include "background/frmWeaponChoises.h"

#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"
#include "frame/ui/Twips.h"
#include "platform/Strings.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

namespace {
} // namespace

frmWeaponChoises::frmWeaponChoises(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWeaponChoises"));
    setModal(true);
    setFixedSize(TwipsSize(5895, 3375));
    QFont arial(QStringLiteral("Arial"));
    setFont(arial);

    labCostWeapon = new QLabel(QStringLiteral("Coûts"), this);
    labCostWeapon->setObjectName(QStringLiteral("labCostWeapon"));
    setTag(labCostWeapon, QStringLiteral("3518"));
    labCostWeapon->setGeometry(TwipsRect(4560, 240, 1200, 255));

    lstCategorie = new QListWidget(this);
    lstCategorie->setObjectName(QStringLiteral("lstCategorie"));
    lstCategorie->setGeometry(TwipsRect(840, 600, 3615, 1950));

    // The cost labels stand beside the list rows they price.
    const int rowHeight = lstCategorie->fontMetrics().height() + 2;
    for (int k = 0; k < 7; ++k) {
        labCost[k] = new QLabel(this);
        labCost[k]->setObjectName(QStringLiteral("labCost_%1").arg(k));
        labCost[k]->setGeometry(TwipsToPixels(4560), TwipsToPixels(600) + 3 + k * rowHeight, TwipsToPixels(1200), rowHeight);
    }
    const QStyle::StandardPixmap icons[2] = {QStyle::SP_ArrowUp, QStyle::SP_ArrowDown};
    const int tops[2] = {TwipsToPixels(720), TwipsToPixels(2040)};
    for (int i = 0; i < 2; ++i) {
        btnUp[i] = new QPushButton(this);
        btnUp[i]->setObjectName(QStringLiteral("btnUp_%1").arg(i));
        btnUp[i]->setIcon(style()->standardIcon(icons[i]));
        btnUp[i]->setGeometry(TwipsToPixels(240), tops[i], TwipsToPixels(495), TwipsToPixels(375));
        connect(btnUp[i], &QPushButton::clicked, this, [this, i] { btnUp_Click(i); });
    }
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    setTag(btnOk, QStringLiteral("1045"));
    btnOk->setGeometry(TwipsRect(4560, 2760, 1095, 375));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &frmWeaponChoises::btnOk_Click);

    try {
        LoadFormStrings(this);
    } catch (...) {
        // the layout's own texts stay
    }
}

void frmWeaponChoises::SkillCost()
{
    if (tag(this).trimmed().isEmpty())
        return;
    try {
        Personnage &p = ModGeneral::Players(TagNumber(this));
        dao::Recordset costs = rules::Open(QStringLiteral("SELECT * FROM [Skill Category DP Cost] WHERE Profession_ID= ")
                                               + QString::number(p.Profession_ID));
        dao::Recordset cats = rules::Open(QStringLiteral("Skill Category"));
        const QString nameCol = rules::LangCol(QStringLiteral("Skill_Category"));
        const QSignalBlocker block(lstCategorie);
        lstCategorie->clear();
        for (qint16 cat = 49; cat <= 55; ++cat) {
            const int k = cat - 49;
            p.AddCategorieWeapon(static_cast<qint16>(k), cat);
            // A profession without a price for the category shows that it has none.
            labCost[k]->setText(rules::Find(costs, QStringLiteral("Skill_Category_ID"), cat)
                                    ? rulesread::Text(costs, QStringLiteral("Cost"))
                                    : QStringLiteral("---"));
            lstCategorie->addItem(rules::Find(cats, QStringLiteral("Skill_Category_ID"), cat)
                                      ? rulesread::Text(cats, nameCol)
                                      : QString::number(cat));
        }
        costs.Close();
        cats.Close();
        lstCategorie->setCurrentRow(0);
        alignCosts();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmWeaponChoises.SkillCost"));
    }
}

void frmWeaponChoises::alignCosts()
{
    // Each cost stands level with the list row it prices.
    lstCategorie->doItemsLayout();
    const int top = lstCategorie->y() + lstCategorie->viewport()->y();
    for (int k = 0; k < 7 && k < lstCategorie->count(); ++k) {
        const QRect r = lstCategorie->visualItemRect(lstCategorie->item(k));
        labCost[k]->setGeometry(labCost[k]->x(), top + r.y(), labCost[k]->width(), r.height());
    }
}

void frmWeaponChoises::btnUp_Click(int Index)
{
    const int i = lstCategorie->currentRow();
    // Without a selected row there is nothing to move (the order must stay
    // a permutation of the seven categories).
    if (i < 0 || i > 6 || lstCategorie->count() != 7)
        return;
    const int j = Index == 0 ? i - 1 : i + 1;
    if (j < 0 || j > 6)
        return;
    Personnage &p = ModGeneral::Players(TagNumber(this));
    const qint16 kept = p.DirCategorieWeapon(static_cast<qint16>(i));
    p.AddCategorieWeapon(static_cast<qint16>(i), p.DirCategorieWeapon(static_cast<qint16>(j)));
    p.AddCategorieWeapon(static_cast<qint16>(j), kept);
    const QString text = lstCategorie->item(i)->text();
    lstCategorie->item(i)->setText(lstCategorie->item(j)->text());
    lstCategorie->item(j)->setText(text);
    lstCategorie->setCurrentRow(j);
}

void frmWeaponChoises::btnOk_Click()
{
    accept();
}

namespace background {

void OpenWeaponCategoryOrder(int n)
{
    ShowModalFor<frmWeaponChoises>(n, [](frmWeaponChoises &dlg) {
        dlg.setWindowTitle(Strings::Load(3538));
        dlg.SkillCost();
    });
}

} // namespace background
