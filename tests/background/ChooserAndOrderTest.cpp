// The one-list chooser's realm and list modes, and the weapon category order.
#include "background/BackgroundFixture.h"

#include "background/frmArmeAdolescence.h"
#include "background/frmWeaponChoises.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

QStringList itemsOf(const QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

} // namespace

TEST_F(BackgroundTest, RealmModeWinsAndOkSetsTheRealmOfTheRow)
{
    Personnage &p = character(999);   // a weapon selector too: the realm flag wins
    p.Royaume_ID = 8;
    ModGeneral::WeaponAdolescenceShown = true;
    frmArmeAdolescence dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    EXPECT_TRUE(dlg.RealmMode());
    EXPECT_EQ(dlg.windowTitle(), Strings::Load(2022));
    EXPECT_EQ(itemsOf(dlg.lstArme), (QStringList{"Théurgie", "Essence", "Mentalisme"}));
    dlg.lstArme->setCurrentIndex(2);
    dlg.btnOk_Click();
    EXPECT_EQ(p.Royaume_ID, 7);
    EXPECT_FALSE(ModGeneral::WeaponAdolescenceShown);
    EXPECT_EQ(p.PointsBO, 999);   // the selector is the opener's to reset
}

TEST_F(BackgroundTest, RealmModeWithoutARowClearsTheFlagOnly)
{
    Personnage &p = character(0);
    p.Royaume_ID = 8;
    ModGeneral::WeaponAdolescenceShown = true;
    frmArmeAdolescence dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.show();
    dlg.close();   // a choice is due: the window stays
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(ModGeneral::WeaponAdolescenceShown);
    dlg.lstArme->setCurrentIndex(-1);
    dlg.btnOk_Click();
    EXPECT_FALSE(ModGeneral::WeaponAdolescenceShown);
    EXPECT_EQ(p.Royaume_ID, 8);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(BackgroundTest, SpellListsFollowTheRealmRule)
{
    Personnage &p = character(166);
    struct Case {
        qint32 realm;
        QList<qint32> realms;
    };
    const Case cases[] = {{5, {5}}, {9, {5, 2}}, {11, {2, 7}}, {10, {7, 5}}};
    for (const Case &c : cases) {
        p.Royaume_ID = c.realm;
        frmArmeAdolescence dlg;
        setTag(&dlg, QStringLiteral("1"));
        dlg.LoadData();
        EXPECT_EQ(dlg.windowTitle(), Strings::Load(2024));
        ASSERT_GT(dlg.lstArme->count(), 0) << c.realm;
        for (const qint32 list : dlg.ItemNumber) {
            dao::Recordset rs = ModGeneral::DbMaster.OpenRecordset(
                QStringLiteral("SELECT Realm_ID, [Classification_ ID] AS k FROM List WHERE List_ID=%1").arg(list));
            EXPECT_TRUE(c.realms.contains(rs.Value("Realm_ID").toInt())) << c.realm << " list " << list;
            EXPECT_EQ(rs.Value("k").toInt(), 1);
        }
    }
    // 888 lists the same; the choice goes into the development list as a spell list.
    p.PointsBO = 888;
    p.Royaume_ID = 5;
    ModGeneral::WeaponChoiceArgs[0] = 163;
    ModGeneral::WeaponChoiceArgs[2] = 2;
    frmArmeAdolescence dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    const qint32 first = dlg.ItemNumber[0];
    dlg.btnOk_Click();   // OK at once takes the first row
    EXPECT_EQ(p.DirRankDevelopment(6, 163, first, 0).toInt(), 2);

    // A realm of its own with no open lists: reported, and the empty window may be closed.
    p.PointsBO = 166;
    p.Royaume_ID = 1;
    ui->expectError(QStringLiteral("frmArmeAdolescence.LoadData"));
    frmArmeAdolescence none;
    setTag(&none, QStringLiteral("1"));
    none.LoadData();
    EXPECT_EQ(none.lstArme->count(), 0);
    none.show();
    none.close();
    EXPECT_FALSE(none.isVisible());
}

TEST_F(BackgroundTest, SelectorsAtTheEdgesOfTheirRanges)
{
    Personnage &p = character(0);
    auto load = [&](qint16 mode, frmArmeAdolescence &dlg) {
        p.PointsBO = mode;
        ModGeneral::WeaponChoiceArgs[0] = mode;
        setTag(&dlg, QStringLiteral("1"));
        dlg.LoadData();
    };
    frmArmeAdolescence cat55, cat48, w232;
    load(55, cat55);
    ASSERT_EQ(cat55.lstArme->count(), 7);             // the seven weapon categories
    cat55.lstArme->setCurrentIndex(2);
    const qint32 third = cat55.ItemNumber[2];
    cat55.btnOk_Click();
    EXPECT_EQ(p.PointsBO, third);
    load(48, cat48);                                  // a plain category: its skills
    ASSERT_GT(cat48.lstArme->count(), 0);
    cat48.btnOk_Click();
    EXPECT_EQ(p.PointsBO, cat48.ItemNumber[0]);
    load(232, w232);                                  // a weapon skill: its weapons
    ASSERT_GT(w232.lstArme->count(), 0);
    EXPECT_TRUE(w232.windowTitle().isEmpty() || w232.windowTitle() != Strings::Load(3505));
}

// ------------------------------------------------------------------ weapon category order

TEST_F(BackgroundTest, WeaponOrderStartsPlainAndMovesKeepCostsInPlace)
{
    Personnage &p = character(0);
    p.Profession_ID = 1;
    for (qint16 k = 0; k < 7; ++k)
        p.AddCategorieWeapon(k, static_cast<qint16>(55 - k));
    frmWeaponChoises dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.SkillCost();
    for (qint16 k = 0; k < 7; ++k)
        EXPECT_EQ(p.DirCategorieWeapon(k), 49 + k);
    EXPECT_EQ(dlg.lstCategorie->count(), 7);
    EXPECT_EQ(dlg.lstCategorie->item(1)->text(), QStringLiteral("Armes : lames"));
    QStringList costs;
    for (QLabel *l : dlg.labCost)
        costs << l->text();
    EXPECT_FALSE(costs.contains(QString()));

    dlg.lstCategorie->setCurrentRow(0);
    dlg.btnUp_Click(0);   // up on the first row: nothing
    dlg.lstCategorie->setCurrentRow(6);
    dlg.btnUp_Click(1);   // down on the last: nothing
    for (qint16 k = 0; k < 7; ++k)
        EXPECT_EQ(p.DirCategorieWeapon(k), 49 + k);

    const QString moved = dlg.lstCategorie->item(3)->text();
    dlg.lstCategorie->setCurrentRow(3);
    dlg.btnUp_Click(0);
    dlg.btnUp_Click(0);
    EXPECT_EQ(dlg.lstCategorie->currentRow(), 1);
    EXPECT_EQ(dlg.lstCategorie->item(1)->text(), moved);
    EXPECT_EQ(p.DirCategorieWeapon(1), 52);
    EXPECT_EQ(p.DirCategorieWeapon(2), 50);
    EXPECT_EQ(p.DirCategorieWeapon(3), 51);
    dlg.btnUp_Click(1);
    EXPECT_EQ(p.DirCategorieWeapon(2), 52);
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(dlg.labCost[k]->text(), costs[k]);

    // Without a selected row nothing moves: the order stays a permutation.
    dlg.lstCategorie->setCurrentRow(-1);
    dlg.btnUp_Click(0);
    dlg.btnUp_Click(1);
    QList<qint16> order;
    for (qint16 k = 0; k < 7; ++k)
        order << p.DirCategorieWeapon(k);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (QList<qint16>{49, 50, 51, 52, 53, 54, 55}));

    dlg.show();
    dlg.close();   // the order is in the record already, however the window goes
    EXPECT_EQ(p.DirCategorieWeapon(2), 52);
}

TEST_F(BackgroundTest, WeaponOrderWithoutACharacterDoesNothing)
{
    frmWeaponChoises dlg;
    dlg.SkillCost();
    EXPECT_EQ(dlg.lstCategorie->count(), 0);
    dlg.btnUp_Click(0);
}
