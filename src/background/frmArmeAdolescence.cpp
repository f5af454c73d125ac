#include "background/frmArmeAdolescence.h"

#include "character/OneListChoices.h"
#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/Twips.h"
#include "platform/Strings.h"
#include "platform/vb.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

frmArmeAdolescence::frmArmeAdolescence(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmArmeAdolescence"));
    setModal(true);
    setFixedSize(TwipsSize(4230, 1650));
    lstArme = new QComboBox(this);
    lstArme->setObjectName(QStringLiteral("lstArme"));
    lstArme->setEditable(false);   // only a row of the list is a choice
    lstArme->setGeometry(TwipsToPixels(240), TwipsToPixels(360), TwipsToPixels(3735), lstArme->sizeHint().height());
    btnOk = new QPushButton(this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(TwipsRect(3120, 960, 855, 375));
    btnOk->setDefault(true);
    btnOk->setText(QStringLiteral("OK"));
    setTag(btnOk, QStringLiteral("1045"));
    try {
        LoadFormStrings(this);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmArmeAdolescence.load"));
    }
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
        Personnage &p = ModGeneral::Players(TagNumber(this));
        std::vector<ports::ChooserItem> items;
        if (ModGeneral::WeaponAdolescenceShown) {
            m_realmMode = true;
            setWindowTitle(Strings::Load(2022));
            // The realms are listed by their own number and each row keeps its
            // id, so OK gives the realm the row shows whatever the table's order.
            dao::Recordset rs = rules::Open(QStringLiteral("SELECT * FROM [Realms of Power] ORDER BY Realm_ID"));
            const QString col = rules::LangCol(QStringLiteral("Realm"));
            for (; !rs.Eof(); rs.MoveNext()) {
                dao::DBEngine::instance().Idle();
                const qint32 id = rulesread::Id(rs, QStringLiteral("Realm_ID"));
                if (id == 2 || id == 5 || id == 7)
                    items.push_back({rulesread::Text(rs, col), id});
            }
            rs.Close();
        } else {
            const qint32 mode = p.PointsBO;
            if (onelist::IsSpellListMode(mode))
                setWindowTitle(Strings::Load(2024));
            else if (mode == 999)
                setWindowTitle(Strings::Load(3505));
            items = onelist::Items(p, mode, ModGeneral::WeaponChoiceArgs[0]);
        }
        LoadItems(items);
        if (lstArme->count() == 0)
            vb::Raise(vb::ErrInvalidCall);   // nothing to select
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmArmeAdolescence.LoadData"));
    }
}

void frmArmeAdolescence::btnOk_Click()
{
    try {
        const int row = lstArme->currentIndex();
        const bool chosen = row >= 0 && row < static_cast<int>(ItemNumber.size());
        if (m_realmMode) {
            ModGeneral::WeaponAdolescenceShown = false;
            if (chosen) {
                m_chosen = ItemNumber[static_cast<size_t>(row)];
                if (AppliesChoice)
                    ModGeneral::Players(TagNumber(this)).Royaume_ID = m_chosen;
            }
            accept();
            return;
        }
        if (!chosen)
            vb::Raise(vb::ErrSubscript);   // no row chosen: the dialog stays for a choice
        const qint32 id = ItemNumber[static_cast<size_t>(row)];
        if (AppliesChoice) {
            Personnage &p = ModGeneral::Players(TagNumber(this));
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

bool frmArmeAdolescence::mayLeave() const
{
    return lstArme->count() == 0 || result() == QDialog::Accepted;
}

void frmArmeAdolescence::reject()
{
    if (mayLeave())
        QDialog::reject();
}

void frmArmeAdolescence::closeEvent(QCloseEvent *event)
{
    if (mayLeave())
        QDialog::closeEvent(event);
    else
        event->ignore();
}
