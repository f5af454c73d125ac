#include "background/frmArmeAdolescence.h"

#include "character/OneListChoices.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

frmArmeAdolescence::frmArmeAdolescence(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmArmeAdolescence"));
    setModal(true);
    setFixedSize(4230 / 15, 1650 / 15);
    lstArme = new QComboBox(this);
    lstArme->setObjectName(QStringLiteral("lstArme"));
    lstArme->setEditable(false);   // only a row of the list is a choice
    lstArme->setGeometry(240 / 15, 360 / 15, 3735 / 15, lstArme->sizeHint().height());
    btnOk = new QPushButton(this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(3120 / 15, 960 / 15, 855 / 15, 375 / 15);
    btnOk->setDefault(true);
    btnOk->setText(QStringLiteral("OK"));
    setTag(btnOk, QStringLiteral("1045"));
    LoadFormStrings(this);
    connect(btnOk, &QPushButton::clicked, this, &frmArmeAdolescence::btnOk_Click);
}

void frmArmeAdolescence::LoadItems(const std::vector<ports::ChooserItem> &items)
{
    {
        const QSignalBlocker block(lstArme);
        for (const ports::ChooserItem &item : items) {
            lstArme->addItem(item.text);
            ItemNumber.push_back(item.id);
        }
    }
    lstArme->setCurrentIndex(lstArme->count() > 0 ? 0 : -1);
}

void frmArmeAdolescence::LoadData()
{
    try {
        const Personnage &p = ModGeneral::Players(tag(this).toInt());
        LoadItems(onelist::Items(p, p.PointsBO, ModGeneral::WeaponChoiceArgs[0]));
        if (lstArme->count() == 0)
            vb::Raise(vb::ErrInvalidCall);   // nothing to select
        if (onelist::IsSpellListMode(p.PointsBO))
            setWindowTitle(Strings::Load(2024));
        else if (p.PointsBO == 999)
            setWindowTitle(Strings::Load(3505));
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmArmeAdolescence.LoadData"));
    }
}

void frmArmeAdolescence::btnOk_Click()
{
    try {
        const int row = lstArme->currentIndex();
        if (row < 0 || row >= static_cast<int>(ItemNumber.size()))
            vb::Raise(vb::ErrSubscript);   // no row chosen: the dialog stays for a choice
        const qint32 id = ItemNumber[static_cast<size_t>(row)];
        if (AppliesChoice) {
            Personnage &p = ModGeneral::Players(tag(this).toInt());
            const qint32 mode = p.PointsBO;
            if (onelist::IsWeaponMode(mode))
                p.AddDevelopment(RankKind::WeaponSkill, ModGeneral::WeaponChoiceArgs[0], id,
                                 ModGeneral::WeaponChoiceArgs[2], 0);
            else if (onelist::IsSpellListMode(mode))
                p.AddDevelopment(RankKind::SpellList, ModGeneral::WeaponChoiceArgs[0], id,
                                 ModGeneral::WeaponChoiceArgs[2], 0);
            else
                p.PointsBO = vb::CInt(id);
        }
        m_chosen = id;
        accept();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmArmeAdolescence.btnOk.Click"));
    }
}
