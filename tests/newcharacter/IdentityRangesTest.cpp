// The identity dialog keeps age, height and weight within what a character
// file holds: what it stores can be saved and opened again.
#include "newcharacter/NewCharFixture.h"

#include "frame/ui/LoadFormStrings.h"
#include "newcharacter/frmCharacter.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class IdentityRangesTest : public NewCharFixture {};

TEST_F(IdentityRangesTest, AHeightPastWhatAFileHoldsIsNeitherKeptNorAccepted)
{
    const int n = newCharacter();
    Personnage &p = ModGeneral::Players(n);
    p.Age = 18;
    p.Grandeur = 1.8f;
    p.Poids = 70;
    Dice::setRolls({5, 5, 5, 5, 5});
    frmCharacter dlg;
    setTag(&dlg, QString::number(n));
    dlg.LoadData();
    dlg.show();

    dlg.txtGrandeur->clear();
    QTest::keyClicks(dlg.txtGrandeur, QStringLiteral("1e30"));
    EXPECT_EQ(p.Grandeur, 1000.0f);   // "1e3" was the last figure in range
    ui->answerMsgBox(ports::Ok, QStringLiteral("Cette case doit contenir un nombre de -999999 à 999999 : ")
                                    + dlg.labGrandeur->text());
    QTest::mouseClick(dlg.bntOk, Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(p.Grandeur, 1000.0f);

    dlg.txtGrandeur->clear();
    QTest::keyClicks(dlg.txtGrandeur, QStringLiteral("2"));
    QTest::mouseClick(dlg.bntOk, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(p.Grandeur, 2.0f);
}

} // namespace
