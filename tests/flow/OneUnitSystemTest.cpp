// One character, English interface, rules data in metres and kilograms: the
// culture page, the identity dialog, the sheet and the printed page all name
// the units the stored numbers are in.
#include "newcharacter/NewCharFixture.h"

#include "character/Players.h"
#include "frame/ui/LoadFormStrings.h"
#include "newcharacter/frmCharacter.h"
#include "newcharacter/frmInitChoise.h"
#include "print/ModPrint.h"
#include "print/PageTarget.h"
#include "sheet/frmGeneral.h"

#include <QComboBox>
#include <QLabel>

namespace {

class OneUnitSystemTest : public NewCharFixture {};

TEST_F(OneUnitSystemTest, EveryEnglishWindowAndThePaperSayMetresAndKilograms)
{
    Strings::setLanguage(Strings::Language::English);
    ASSERT_EQ(ModGeneral::DataLanguage, 5000);
    const int n = newCharacter();

    auto *init = new frmInitChoise;
    init->setTag(QString::number(n));
    init->lstCulture->setCurrentIndex(1);
    EXPECT_EQ(init->labRace[3]->text(), QStringLiteral("kg"));
    EXPECT_EQ(init->labRace[4]->text(), QStringLiteral("metres"));
    // The page's own words are English too.
    EXPECT_EQ(init->labRace[2]->text(), QStringLiteral("Lifespan"));
    delete init;
    Personnage &p = ModGeneral::Players(n);
    ASSERT_GT(p.Grandeur, 1.0f);
    ASSERT_LT(p.Grandeur, 2.5f);   // metres, as the page showed them

    {
        frmCharacter identity;
        setTag(&identity, QString::number(n));
        identity.LoadData();
        EXPECT_EQ(identity.labPieds->text(), QStringLiteral("metres"));
        EXPECT_EQ(identity.labLivres->text(), QStringLiteral("kg"));
        identity.bntOk_Click();
    }

    auto *sheet = new frmGeneral;
    sheet->setTag(QString::number(n));
    sheet->LoadData();
    EXPECT_EQ(sheet->labPieds->text(), QStringLiteral("metres"));
    EXPECT_EQ(sheet->labLivres->text(), QStringLiteral("kg"));
    delete sheet;

    print::RecordingTarget paper;
    ASSERT_TRUE(ModPrint::Setup_Page(QStringLiteral("01"), QString::number(n), paper));
    auto endsWith = [&](const QString &start, const QString &end) {
        for (const auto &t : paper.Texts())
            if (t.text.startsWith(start) && t.text.endsWith(end))
                return true;
        return false;
    };
    EXPECT_TRUE(endsWith(vb::NumText(p.Grandeur), QStringLiteral("m")));
    EXPECT_TRUE(endsWith(vb::NumText(p.Poids), QStringLiteral("kg")));
    // The paces in metres, the loads in kilograms; no foot or pound mark anywhere.
    EXPECT_TRUE(endsWith(QString(), QStringLiteral(" m")));
    EXPECT_TRUE(endsWith(QString(), QStringLiteral(" kg")));
    EXPECT_FALSE(endsWith(QString(), QStringLiteral("'")));
    EXPECT_FALSE(endsWith(QString(), QStringLiteral("lbs")));
}

} // namespace
