// What the sheet draws, checked on the recorder: positions, fonts, page
// breaks, the footer, and the target's own rules (margins, zoom, pictures).
#include "PrintFixture.h"
#include "character/Players.h"
#include "platform/vb.h"

#include <QSet>

using print::RecordingTarget;
using Kind = RecordingTarget::Kind;

namespace {

// What on a page crosses a ruled line or another text, by the glyphs' own boxes.
QStringList Crossings(const RecordingTarget &rec, int page)
{
    QStringList out;
    const auto texts = rec.Texts(page);
    const auto lines = rec.Lines(page);
    constexpr double halfPen = 0.02;
    for (int i = 0; i < texts.size(); ++i) {
        const QRectF a = texts[i].ink;
        if (a.isEmpty())
            continue;
        for (const auto &l : lines) {
            const QRectF rule = QRectF(QPointF(std::min(l.x, l.x2), std::min(l.y, l.y2)),
                                       QPointF(std::max(l.x, l.x2), std::max(l.y, l.y2)))
                                    .adjusted(-halfPen, -halfPen, halfPen, halfPen);
            if (a.intersects(rule))
                out << QStringLiteral("%1 / rule (%2, %3)-(%4, %5)")
                           .arg(texts[i].text)
                           .arg(l.x)
                           .arg(l.y)
                           .arg(l.x2)
                           .arg(l.y2);
        }
        // A box to tick stays inside its row.
        if (texts[i].font.name == QStringLiteral("Wingdings") && (a.top() < texts[i].y || a.bottom() > texts[i].y + 0.407))
            out << texts[i].text + QStringLiteral(" leaves its row");
        for (int j = i + 1; j < texts.size(); ++j)
            if (a.intersects(texts[j].ink))
                out << texts[i].text + QStringLiteral(" / ") + texts[j].text;
    }
    return out;
}

// The ids of a rules table in order of their name's length, longest first, in
// the data language in use.
QVector<qint16> Longest(const QString &table, const QString &id, const QString &name, const QString &where = {})
{
    const QString column = rules::LangCol(name);
    dao::Recordset rs = rules::Open(QStringLiteral("SELECT * FROM [%1] %2 ORDER BY length(%3) DESC, %4")
                                        .arg(table, where, column, id));
    QVector<qint16> ids;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        ids << vb::CInt(rs.Value(id));
    return ids;
}

// A text of n letters as wide and as deep as a player can type: wide capitals
// between letters and a comma that reach below the line.
QString WideAndDeep(int n)
{
    static const QString kCycle = QStringLiteral("Wgy,Wpj");
    QString out;
    for (int i = 0; i < n; ++i)
        out += kCycle.at(i % kCycle.size());
    return out;
}

// The developed character with the k-th longest name of every table it draws
// from, and texts typed as wide as a player can make them.
void GiveLongestNames(Personnage &p, int k)
{
    const auto pick = [k](const QVector<qint16> &ids, int offset = 0) { return ids.at((k + offset) % ids.size()); };
    p.Race_ID = pick(Longest(QStringLiteral("Race Abilities"), QStringLiteral("Race_ID"), QStringLiteral("Race")));
    p.Profession_ID = pick(Longest(QStringLiteral("Profession"), QStringLiteral("Profession_ID"), QStringLiteral("Profession")));
    p.Royaume_ID = pick(Longest(QStringLiteral("Realms of Power"), QStringLiteral("Realm_ID"), QStringLiteral("Realm")));
    p.Armure = pick(Longest(QStringLiteral("Armor Modification"), QStringLiteral("Armor_ID"), QStringLiteral("Armor")));
    p.Bouclier = pick(Longest(QStringLiteral("Shield"), QStringLiteral("Shield_ID"), QStringLiteral("Shield")));
    p.Casque = 11;
    p.Nom = QStringLiteral("Wilhelmina Wendeline Wolfsmantel-Wardenhollow ") + WideAndDeep(30);
    p.Cheveux = QStringLiteral("mouillés, noués et teints de brou de noix");
    p.Yeux = WideAndDeep(28);
    p.Age = 123456.75f;
    p.Grandeur = 2.15f;
    p.Poids = 145.5f;
    QStringList history;
    for (int i = 0; i < 9; ++i)
        history << WideAndDeep(63);
    p.Historique = history.join(QStringLiteral("\r\n"));

    const auto weapons = Longest(QStringLiteral("Weapons"), QStringLiteral("Weapon_ID"), QStringLiteral("Weapon"));
    while (p.NbWeaponSkills < 7)
        PersonnageAccess::RedimWeaponSkills(p);
    for (qint16 r = 1; r <= 7; ++r) {
        p.AddSkill(Personnage::fId, r, RankKind::WeaponSkill, qint16(226 + (r + k) % 7));
        p.AddSkill(Personnage::fRank, r, RankKind::WeaponSkill, 25);
        p.AddSkill(Personnage::fKey, r, RankKind::WeaponSkill, pick(weapons, r - 1));
    }
    const auto lists = Longest(QStringLiteral("List"), QStringLiteral("List_ID"), QStringLiteral("List"));
    while (p.NbSpellSkills < 21)
        PersonnageAccess::RedimSpellSkills(p);
    for (qint16 r = 1; r <= 21; ++r) {
        p.AddSkill(Personnage::fId, r, RankKind::SpellList, 161);
        p.AddSkill(Personnage::fRank, r, RankKind::SpellList, qint16(50 - r));
        p.AddSkill(Personnage::fKey, r, RankKind::SpellList, pick(lists, r - 1));
    }
    p.AddSubSkills(48, WideAndDeep(40), 12);
}

// The sample character with figures as wide as the sheet lets them be (the
// widest a 16-bit bonus can print, six characters, are what counts, a digit
// being as wide as any other). Race 1, realm 5, armour 10 (maneuver -35 to
// -5, skill 235), statistics as Develop leaves them unless said. `heavy`
// gives strength +10922 instead, so that the allowance covers thousands of
// load steps.
void GiveWidestFigures(Personnage &p, bool heavy)
{
    p.Experience = -300000000;   // below 0 a level every 10,000 points: -30000
    p.Apparence = -32768;
    p.Age = -999998.9f;
    p.Grandeur = -999999;
    p.Poids = -999999;
    // CO and Me: (-21824 - 20) / 2 = -10922, and the race's 2 to CO: -10920.
    p.AddStat(0, 1, -21824);
    p.AddStat(0, 2, -21824);
    // AG 2, Qu 3 and ST 2 (with the race) to -3334, tripled -10002; heavy ST 10922.
    p.AddStat(2, 0, -3336);
    p.AddStat(2, 8, -3337);
    p.AddStat(2, 9, heavy ? 10920 : -3336);
    // Poison: 3 x (-10922) = -32766; the others have 21 at most before theirs.
    for (qint16 k = 1; k <= 9; ++k)
        p.AddResistanceSpecial(k, k == 8 ? -2 : -32768);
    const auto skill = [&p](qint16 id, qint16 ranks, qint16 special1, qint16 special2) {
        const auto row = qint16(p.RankRow(RankKind::Skill, id));
        p.AddSkill(Personnage::fRank, row, RankKind::Skill, ranks);
        p.AddSkill(Personnage::fSpecial1, row, RankKind::Skill, special1);
        p.AddSkill(Personnage::fSpecial2, row, RankKind::Skill, special2);
    };
    // Hit points: 3 ranks of 0•5•3•2•1 15, category CO + CO + SD -21837: -21822.
    skill(23, 3, -10946, 0);
    // Power points: 1 rank of 0•3•2•1•1 3, category 3 x EM 21: 24.
    skill(270, 1, -32768, -24);
    // The others, one rank of -20•4•2•1•½ 4 each, and their category: adrenal
    // defence SD + Pr + SD 7 and no rank -10: 1; the movement skills AG + Qu
    // + ST -10002 and a rank of -10•2 2: -9996; chain mail ST + AG + ST -10002
    // and three ranks 6: -9992.
    skill(159, 1, -32768, -1);
    skill(256, 1, -22772, 0);
    skill(259, 1, -22772, 0);
    skill(235, 1, -22776, 0);
    // The first weapon, blades: 8 ranks 32, category ST + AG + ST -10002 and
    // a rank of -30•5 5: -9965.
    p.AddSkill(Personnage::fSpecial, 1, RankKind::WeaponSkill, -22803);
    // The first spell list: 30000 ranks of 0•1•1•½•¼ make 10 + 10 + 5 +
    // 29970 / 4 = 7517.5, to the even 7518, on a category that gives nothing.
    p.AddSkill(Personnage::fRank, 1, RankKind::SpellList, 30000);
    p.AddSkill(Personnage::fItem, 1, RankKind::SpellList, -32768);
    p.AddSkill(Personnage::fSpecial, 1, RankKind::SpellList, -7518);
    // The tenth, whose long name gives way to its ranks.
    p.AddSkill(Personnage::fRank, 10, RankKind::SpellList, 30000);
}

} // namespace

// ---------------------------------------------------------------- the target's rules

class PrimitivesTest : public PrintFixture {
protected:
    // A run of our own on the recorder, without the page routines.
    void Start(RecordingTarget &rec)
    {
        ModPrint::PageTop = 2.2;
        ModPrint::LineHeight = 0.407f;
        ModPrint::SetupTarget(rec, 21.8, 28.2);
    }
};

TEST_F(PrimitivesTest, PrinterCoordinatesLoseTheMarginsThePreviewKeepsThePagesOwn)
{
    RecordingTarget printer(true);
    Start(printer);
    ModPrint::SetCurrentY(5);
    ModPrint::SetCurrentX(20.1);
    ModPrint::PrintRight(QStringLiteral("Total"));
    ModPrint::DrawLine(2, 1.4, 20.1, 1.4);
    const auto text = printer.Texts().at(0);
    EXPECT_NEAR(text.x + text.width, 19.5, 1e-5);
    EXPECT_NEAR(text.y, 4.6, 1e-5);
    const auto line = printer.Lines().at(0);
    EXPECT_NEAR(line.x, 1.4, 1e-5);
    EXPECT_NEAR(line.y, 1.0, 1e-5);
    EXPECT_NEAR(line.x2, 19.5, 1e-5);

    RecordingTarget picture;
    Start(picture);
    ModPrint::SetCurrentY(5);
    ModPrint::SetCurrentX(11.1);
    ModPrint::PrintCentered(QStringLiteral("Feuille"));
    const auto centred = picture.Texts().at(0);
    EXPECT_NEAR(centred.x + centred.width / 2, 11.1, 1e-5);
    EXPECT_DOUBLE_EQ(centred.y, 5);
    // The position moves on past the text, on the same line.
    EXPECT_NEAR(ModPrint::CurrentX(), centred.x + centred.width, 1e-9);
}

TEST_F(PrimitivesTest, ThePreviewFitsThePageIntoItsPictureAndScalesTheFonts)
{
    // Twice as wide as the page's proportions: the height decides.
    RecordingTarget wide(false, QSizeF(2 * 21.8, 28.2));
    Start(wide);
    EXPECT_DOUBLE_EQ(ModPrint::PreviewZoom, 1.0);
    EXPECT_DOUBLE_EQ(wide.SizeCm().width(), 21.8);
    // The page's own proportions at half size: the width decides and sets the height.
    RecordingTarget half(false, QSizeF(10.9, 14.1));
    Start(half);
    EXPECT_DOUBLE_EQ(ModPrint::PreviewZoom, 0.5);
    EXPECT_DOUBLE_EQ(half.SizeCm().height(), 14.1);
    ModPrint::SetFontSize(10);
    ModPrint::PrintText(QStringLiteral("x"));
    EXPECT_DOUBLE_EQ(half.Texts().at(0).font.size, 5);

    RecordingTarget printer(true);
    Start(printer);
    ModPrint::SetFontSize(10);
    ModPrint::PrintText(QStringLiteral("x"));
    EXPECT_DOUBLE_EQ(printer.Texts().at(0).font.size, 10);
}

TEST_F(PrimitivesTest, BoldAndFontSurviveSizeChangesAndFollowTheFooter)
{
    RecordingTarget printer(true);
    Start(printer);
    ModPrint::SetBold(true);
    ModPrint::SetFontSize(14);
    ModPrint::PrintText(QStringLiteral("gras"));
    ModPrint::SetBold(false);
    ModPrint::SetFontSize(10);
    ModPrint::PrintText(QStringLiteral("maigre"));
    ModPrint::PrintFooter();
    ModPrint::PrintText(QStringLiteral("après"));
    EXPECT_TRUE(printer.Find(QStringLiteral("gras"))->font.bold);
    EXPECT_FALSE(printer.Find(QStringLiteral("maigre"))->font.bold);
    const auto *after = printer.Find(QStringLiteral("après"));
    EXPECT_EQ(after->font.name, QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(after->font.size, 10);
}

TEST_F(PrimitivesTest, PicturesOutsideTheDrawableAreaAreLeftOut)
{
    RecordingTarget picture;
    Start(picture);
    const QImage img = ModPrint::LogoPicture();
    ModPrint::DrawPicture(img, 20.2, 1, 1.0, 1);    // right edge exactly at 21.8 - 0.6
    ModPrint::DrawPicture(img, 20.21, 1, 1.0, 1);   // 0.01 further
    ModPrint::DrawPicture(img, 0.59, 1, 1, 1);
    ModPrint::DrawPicture(img, 1, 0.39, 1, 1);
    ModPrint::DrawPicture(img, 1, 1, -1, 1);
    ModPrint::DrawPicture(img, 1, 26.8, 1, 1);      // bottom edge exactly at 28.2 - 0.4
    ModPrint::DrawPicture(img, 1, 26.81, 1, 1);
    int images = 0;
    for (const auto &item : picture.Items())
        images += item.kind == Kind::Image;
    EXPECT_EQ(images, 2);
}

TEST_F(PrimitivesTest, ACutTextKeepsNoBlankBeforeItsEllipsis)
{
    RecordingTarget printer(true);
    Start(printer);
    ModPrint::SetFontSize(10);
    // Room for the first two words and the ellipsis, not for the next letter.
    const double room = ModPrint::TextWidth(QStringLiteral("Épée longue ..."));
    EXPECT_EQ(ModPrint::Fit(QStringLiteral("Épée longue Wolfsmantel"), room), QStringLiteral("Épée longue..."));
}

TEST_F(PrimitivesTest, ATextExactlyAsWideAsItsRoomIsKeptWhole)
{
    RecordingTarget printer(true);
    Start(printer);
    ModPrint::SetFontSize(10);
    // Short and long texts; the last ends in letters narrower than "...".
    for (const QString text : {QStringLiteral("Épée"), QStringLiteral("Épée longue Wolfsmantel"),
                               QStringLiteral("Épée longue de fil")}) {
        const double room = ModPrint::TextWidth(text);
        EXPECT_EQ(ModPrint::Fit(text, room), text);
    }
}

TEST_F(PrimitivesTest, AFailingPrinterIsReportedOnceAndItsDocumentDropped)
{
    RecordingTarget printer(true);
    printer.FailAfter(40);
    // The page routine that meets the failure reports it; the run then
    // cannot finish either, and the half-made document is dropped, without a
    // second box for the same failure.
    ui->expectError(QStringLiteral("Page_Principal"), 482);
    EXPECT_FALSE(ModPrint::Setup_Page(QStringLiteral("11"), QStringLiteral("1"), printer));
    EXPECT_EQ(printer.Aborts(), 1);
    EXPECT_EQ(printer.Ends(), 0);
    EXPECT_EQ(ModPrint::Target(), nullptr);
}

// ---------------------------------------------------------------- pages and footer

class PageAssemblyTest : public PrintFixture {};

TEST_F(PageAssemblyTest, TheMaskChoosesThePagesAndOnlyBothTogetherAddAPageBreak)
{
    const auto main = Record(QStringLiteral("01"));
    EXPECT_EQ(main->Pages(), 1);
    EXPECT_NE(main->Find(QStringLiteral("Feuille de personnage")), nullptr);
    EXPECT_EQ(main->Find(QStringLiteral("Compétences")), nullptr);
    EXPECT_EQ(main->Ends(), 1);

    // The skill pages start on the first sheet.
    const auto skills = Record(QStringLiteral("10"));
    EXPECT_EQ(skills->Pages(), 2);
    EXPECT_NE(skills->Find(QStringLiteral("Compétences"), 1), nullptr);
    EXPECT_EQ(skills->Find(QStringLiteral("Feuille de personnage")), nullptr);

    const auto both = Record(QStringLiteral("11"));
    EXPECT_EQ(both->Pages(), 3);
    EXPECT_NE(both->Find(QStringLiteral("Feuille de personnage"), 1), nullptr);
    EXPECT_NE(both->Find(QStringLiteral("Compétences"), 2), nullptr);
    EXPECT_NE(both->Find(QStringLiteral("Compétences"), 3), nullptr);
}

TEST_F(PageAssemblyTest, EveryPageEndsWithTheFooterInSixPointArial)
{
    const auto rec = Record(QStringLiteral("11"));
    for (int page = 1; page <= rec->Pages(); ++page) {
        const auto *notice = rec->Find(ModPrint::FooterNotice(), page);
        const auto *contact = rec->Find(ModPrint::FooterContact(), page);
        ASSERT_NE(notice, nullptr) << page;
        ASSERT_NE(contact, nullptr) << page;
        EXPECT_DOUBLE_EQ(notice->x, 2);
        EXPECT_NEAR(notice->y, 25.6025, 1e-5);
        EXPECT_NEAR(contact->x + contact->width, 20.1, 1e-5);
        EXPECT_DOUBLE_EQ(contact->y, notice->y);
        EXPECT_DOUBLE_EQ(notice->font.size, 6);
        EXPECT_EQ(notice->font.name, QStringLiteral("Arial"));
    }
    // On paper the same items stand 0.6 cm left and 0.4 cm up.
    const auto paper = Record(QStringLiteral("01"), true);
    const auto *notice = paper->Find(ModPrint::FooterNotice());
    EXPECT_NEAR(notice->x, 1.4, 1e-5);
    EXPECT_NEAR(notice->y, 25.2025, 1e-5);
}

TEST_F(PageAssemblyTest, NoTextCrossesARuledLineOrAnotherText)
{
    for (auto language : {Strings::Language::French, Strings::Language::English}) {
        Strings::setLanguage(language);
        ModGeneral::DataLanguage = language == Strings::Language::French ? 5000 : 1000;
        for (int k = -1; k < 6; ++k) {
            ModGeneral::Players(1) = Personnage();
            printsamples::Develop(Hero());
            if (k >= 4)
                GiveWidestFigures(Hero(), k == 5);
            else if (k >= 0)
                GiveLongestNames(Hero(), k);
            const auto rec = Record(QStringLiteral("11"));
            for (int page = 1; page <= rec->Pages(); ++page) {
                const QStringList crossings = Crossings(*rec, page);
                EXPECT_TRUE(crossings.isEmpty()) << int(language) << " sample " << k << " page " << page << ": "
                                                 << crossings.join(QStringLiteral(", ")).toStdString();
            }
        }
    }
}

// ---------------------------------------------------------------- main page

class MainPageTest : public PrintFixture {
protected:
    // The text drawn with its left edge at x on row n of the main page.
    QString At(const RecordingTarget &rec, double x, double row)
    {
        for (const auto &t : rec.Row(Row(row), 1))
            if (std::abs(t.x - x) < 1e-6)
                return t.text;
        return QStringLiteral("<none>");
    }
    // The text whose right edge is at x on row n.
    QString RightAt(const RecordingTarget &rec, double x, double row, double dy = 0)
    {
        for (const auto &t : rec.Row(Row(row) + dy, 1))
            if (std::abs(t.x + t.width - x) < 1e-5)
                return t.text;
        return QStringLiteral("<none>");
    }
};

TEST_F(MainPageTest, IdentityAndStatisticsStandOnTheirRows)
{
    const auto rec = Record(QStringLiteral("01"));
    EXPECT_EQ(At(*rec, 2.32, 3), QStringLiteral("Nom :"));
    EXPECT_EQ(At(*rec, 4.54, 3), QStringLiteral("Aëlis Morvenne"));
    EXPECT_TRUE(rec->Find(QStringLiteral("Aëlis Morvenne"))->font.bold);
    EXPECT_EQ(At(*rec, 4.54, 4), QStringLiteral("Brannois"));
    EXPECT_EQ(At(*rec, 4.54, 5), QStringLiteral("Tisseur de trame"));
    EXPECT_EQ(At(*rec, 4.54, 6), QStringLiteral("Essence"));
    EXPECT_EQ(At(*rec, 4.54, 8), QStringLiteral("4"));   // 47,500 points, 10,000 a level
    EXPECT_EQ(At(*rec, 4.54, 11), QStringLiteral("Femelle"));
    EXPECT_EQ(At(*rec, 4.54, 16), QStringLiteral("1,72m"));
    EXPECT_EQ(At(*rec, 4.54, 17), QStringLiteral("61,5kg"));
    // The statistics in the order of the rules' table, with the record's values.
    EXPECT_EQ(At(*rec, 8.35, 3), QStringLiteral("Agilité"));
    EXPECT_EQ(At(*rec, 8.35, 12), QStringLiteral("Force"));
    EXPECT_EQ(RightAt(*rec, 12.79, 3), QStringLiteral("78"));
    EXPECT_EQ(RightAt(*rec, 12.79, 12), QStringLiteral("55"));
    EXPECT_EQ(RightAt(*rec, 13.75, 11), QStringLiteral("3"));   // Qu 82: (164 - 129) / 10
    // Resistances in their printed order: Channeling first, Arcane seventh.
    // Race 1 adds nothing to them: Channeling 3 x In 60 (0), Arcane EM 95 (7)
    // + In (0) + Pr 74 (1), Fear 3 x SD 71 (1).
    EXPECT_EQ(RightAt(*rec, 19.78, 3), QStringLiteral("0"));
    EXPECT_EQ(RightAt(*rec, 19.78, 9), QStringLiteral("8"));
    EXPECT_EQ(RightAt(*rec, 19.78, 12), QStringLiteral("3"));

    // A race, profession and realm the rules do not know leave the value empty.
    Hero().Race_ID = 999;
    Hero().Profession_ID = 999;
    Hero().Royaume_ID = 999;
    const auto unknown = Record(QStringLiteral("01"));
    EXPECT_EQ(At(*unknown, 2.32, 4), QStringLiteral("Race :"));
    EXPECT_EQ(At(*unknown, 4.54, 4), QStringLiteral("<none>"));
    EXPECT_EQ(At(*unknown, 4.54, 5), QStringLiteral("<none>"));
    EXPECT_EQ(At(*unknown, 4.54, 6), QStringLiteral("<none>"));
    // No realm: the rest recovery prints 0.
    EXPECT_EQ(RightAt(*unknown, 19.78, 20), QStringLiteral("0 PdeP/hre"));
}

TEST_F(MainPageTest, HitAndPowerPointsWithTheirFractionsAndRecoveries)
{
    // Race 1 adds 2 to CO and SD. Totals: CO 65 (0) + 2 + a special 1 = 3,
    // SD 71 (1) + 2 = 3, EM 95 (7), In 60 (0), Pr 74 (1).
    Personnage &p = Hero();
    p.AddStat(2, 1, 1);
    const auto skill = [&p](qint16 id, qint16 ranks, qint16 special) {
        const qint32 row = p.RankRow(RankKind::Skill, id);
        ASSERT_GE(row, 0) << id;
        p.AddSkill(Personnage::fRank, qint16(row), RankKind::Skill, ranks);
        p.AddSkill(Personnage::fSpecial1, qint16(row), RankKind::Skill, special);
        p.AddSkill(Personnage::fSpecial2, qint16(row), RankKind::Skill, 0);
    };
    // Hit points: category 12 (CO, CO, SD, no rank bonus) 9, three ranks of
    // the race's body development 0•5•3•2•1 15, special 2: 26.
    skill(23, 3, 2);
    // Power points: category 28 on the realm's statistics (realm 5: EM three
    // times) 21, one rank of 0•3•2•1•1 3, special 1: 25.
    skill(270, 1, 1);
    const auto rec = Record(QStringLiteral("01"));
    // 26 x 0.75 = 19.5 and 26 x 0.25 = 6.5 go to the even neighbour.
    EXPECT_EQ(RightAt(*rec, 9.3, 16) + ' ' + RightAt(*rec, 10.25, 16) + ' ' + RightAt(*rec, 11.21, 16) + ' '
                  + RightAt(*rec, 12.16, 16) + ' ' + RightAt(*rec, 13.43, 16),
              QStringLiteral("26 20 13 6 65"));   // the last: temporary CO
    EXPECT_EQ(RightAt(*rec, 13.75, 20), QStringLiteral("2 PdeC/hre"));   // 3 / 2 = 1.5
    EXPECT_EQ(RightAt(*rec, 13.75, 21), QStringLiteral("3 PdeC/3hre"));
    EXPECT_TRUE(rec->Find(QStringLiteral("Guérison"))->font.underline);
    EXPECT_FALSE(rec->Find(QStringLiteral("Actif"))->font.underline);
    // 25 x 0.75 = 18.75, 25 x 0.5 = 12.5, 25 x 0.25 = 6.25.
    EXPECT_EQ(RightAt(*rec, 15.33, 16) + ' ' + RightAt(*rec, 16.29, 16) + ' ' + RightAt(*rec, 17.24, 16) + ' '
                  + RightAt(*rec, 18.19, 16),
              QStringLiteral("25 19 12 6"));
    EXPECT_EQ(RightAt(*rec, 19.78, 20), QStringLiteral("7 PdeP/hre"));     // (EM 7 + EM 7) / 2
    EXPECT_EQ(RightAt(*rec, 19.78, 21), QStringLiteral("12 PdeP/3hre"));   // 25 / 2 = 12.5
    // Realm 1 stands on EM, In and Pr: 7 + 0 + 1 = 8, so power points 8 + 3
    // + 1 = 12 and a rest of 8 / 3 = 2.67.
    p.Royaume_ID = 1;
    const auto arcane = Record(QStringLiteral("01"));
    EXPECT_EQ(RightAt(*arcane, 15.33, 16), QStringLiteral("12"));
    EXPECT_EQ(RightAt(*arcane, 19.78, 20), QStringLiteral("3 PdeP/hre"));
}

TEST_F(MainPageTest, HelmetShieldAndArmourMarks)
{
    const auto marks = [&](int casque) {
        Hero().Casque = casque;
        const auto rec = Record(QStringLiteral("01"));
        return RightAt(*rec, 7.71, 26) + RightAt(*rec, 7.71, 27);
    };
    EXPECT_EQ(marks(0), QStringLiteral("oo"));
    EXPECT_EQ(marks(10), QStringLiteral("\u00FEo"));
    EXPECT_EQ(marks(1), QStringLiteral("o\u00FE"));
    EXPECT_EQ(marks(11), QStringLiteral("\u00FE\u00FE"));

    Hero().Armure = 6;   // a hide coat: missile penalty 5
    auto rec = Record(QStringLiteral("01"));
    EXPECT_EQ(At(*rec, 2.32, 21), QStringLiteral("Manteau de peau (TA 6)"));
    EXPECT_EQ(RightAt(*rec, 7.08, 23), QStringLiteral("-5"));
    EXPECT_EQ(RightAt(*rec, 7.71, 24), QStringLiteral("-5"));
    EXPECT_EQ(rec->Find(QStringLiteral("o"))->font.name, QStringLiteral("Wingdings"));
    // The shield's missile bonus left of its melee bonus.
    EXPECT_EQ(At(*rec, 2.32, 28), QStringLiteral("Bouclier rond"));
    EXPECT_EQ(RightAt(*rec, 7.08, 28), QStringLiteral("5"));
    EXPECT_EQ(RightAt(*rec, 7.71, 28), QStringLiteral("10"));
    EXPECT_EQ(RightAt(*rec, 7.71, 31), QStringLiteral("9"));   // 3 x Qu 82 (3)

    // No armour chosen yet: no other armour's name or values, no leg mark,
    // and no maneuver penalty.
    Hero().Armure = 0;
    Hero().Casque = 0;
    rec = Record(QStringLiteral("01"));
    EXPECT_EQ(At(*rec, 2.32, 21), QStringLiteral(" (TA 0)"));
    EXPECT_EQ(RightAt(*rec, 7.71, 22), QStringLiteral("<none>"));
    EXPECT_EQ(RightAt(*rec, 7.08, 23), QStringLiteral("0"));
    EXPECT_EQ(RightAt(*rec, 7.71, 44), QStringLiteral("<none>"));
}

TEST_F(MainPageTest, AtMostTheFirstSevenWeaponRowsPrintAndMissingWeaponsTakeNoLine)
{
    Personnage &p = Hero();
    while (p.NbWeaponSkills < 10)
        PersonnageAccess::RedimWeaponSkills(p);
    for (qint16 r = 1; r <= 10; ++r) {
        p.AddSkill(Personnage::fId, r, RankKind::WeaponSkill, 227);
        p.AddSkill(Personnage::fRank, r, RankKind::WeaponSkill, 1);
        p.AddSkill(Personnage::fKey, r, RankKind::WeaponSkill, qint16(r == 3 ? 999 : r + 6));   // weapons 7.., one unknown
    }
    const auto rec = Record(QStringLiteral("01"));
    QStringList names;
    for (double row = 25; row <= 32; ++row)
        names << At(*rec, 8.35, row);
    // Rows 1, 2, 4 to 7 of the table; rows 8 to 10 never.
    EXPECT_EQ(names, (QStringList{"Dague", "Épée courte", "Sabre", "Hachette", "Rapière", "Cimeterre", "<none>",
                                  "<none>"}));
    // The type stands 0.05 cm lower in 8 points; the total on the row.
    EXPECT_EQ(RightAt(*rec, 12.79, 25, 0.05), QStringLiteral("T1"));
    // Blades: ST (2) + AG (2) + ST (2) and one category rank of -30•5 make
    // 11; one rank of -20•4 adds 4.
    EXPECT_EQ(RightAt(*rec, 13.75, 25), QStringLiteral("15"));
}

TEST_F(MainPageTest, SpellListsWithLongNamesCutAndTheirRanks)
{
    const auto rec = Record(QStringLiteral("01"));
    EXPECT_EQ(At(*rec, 14.38, 25), QStringLiteral("Mains invisibles"));
    EXPECT_DOUBLE_EQ(rec->Find(QStringLiteral("Mains invisibles"))->font.size, 8);
    EXPECT_EQ(RightAt(*rec, 19, 25), QStringLiteral("10"));
    // Ten ranks of 0•1 on a category that gives nothing.
    EXPECT_EQ(RightAt(*rec, 19.78, 25), QStringLiteral("10"));
    // "Fils de la défaite et de la refonte", tenth of the table.
    EXPECT_EQ(At(*rec, 14.38, 34), QStringLiteral("Fils de la défaite et ..."));
}

TEST_F(MainPageTest, MovementEncumbranceAndHistory)
{
    // 1.80 m is 5.9 feet: no stride. No armour, so no maneuver penalty; ST 55
    // (0) + race 2 gives 3 x 2 = 6, no movement penalty and an allowance of 6.
    // Qu 82 (3) gives 3 x 3 = 9: base (50 + 9) / 3.28 = 17.99 m.
    Hero().Armure = 0;
    Hero().Grandeur = 1.8f;
    const auto rec = Record(QStringLiteral("01"));
    EXPECT_EQ(RightAt(*rec, 3.59, 35), QStringLiteral("18 m"));
    EXPECT_EQ(RightAt(*rec, 3.59, 36), QStringLiteral("27 m"));
    EXPECT_EQ(RightAt(*rec, 6.44, 40), QStringLiteral("Ruer"));
    EXPECT_EQ(RightAt(*rec, 8.03, 38), QStringLiteral("2/rd"));
    EXPECT_EQ(RightAt(*rec, 10.25, 35), QStringLiteral("Aucune \u2020"));
    EXPECT_EQ(RightAt(*rec, 10.25, 38), QStringLiteral("Routine \u2021"));
    EXPECT_EQ(RightAt(*rec, 10.25, 41), QStringLiteral("(0)"));
    EXPECT_EQ(At(*rec, 2.32, 42), QStringLiteral("\u2020 Sprint"));
    EXPECT_EQ(At(*rec, 2.32, 43), QStringLiteral("\u2021 Pas de course"));
    // Weight 61.5 kg: steps of 6 kg; the allowance of 6 leaves 6 - 8 on the
    // first step and 6 - 80 on the tenth.
    EXPECT_EQ(RightAt(*rec, 12.48, 35) + ' ' + RightAt(*rec, 13.75, 35), QStringLiteral("6 kg -2"));
    EXPECT_EQ(RightAt(*rec, 12.48, 44) + ' ' + RightAt(*rec, 13.75, 44), QStringLiteral("60 kg -74"));
    // The history, line by line from just above row 48, the empty line kept.
    EXPECT_EQ(At(*rec, 2.32, 48.75), QStringLiteral("Formée à la forge de son oncle jusqu'à sa quinzième année."));
    EXPECT_EQ(At(*rec, 2.32, 49.75), QString());
    EXPECT_EQ(At(*rec, 2.32, 50.75), QStringLiteral("A rejoint la compagnie du Gué Rouge après l'hiver des loups."));

    // In feet and pounds: 6.5 feet is one half foot above 6, a stride of 5:
    // base 50 + 5 + 9 = 64 feet.
    ModGeneral::DataLanguage = 1000;
    Hero().Grandeur = 6.5f;
    Hero().Poids = 150;
    const auto feet = Record(QStringLiteral("01"));
    // The units follow the data, whatever the interface language.
    EXPECT_EQ(RightAt(*feet, 3.59, 35), QStringLiteral("64 '"));
    EXPECT_EQ(RightAt(*feet, 12.48, 35), QStringLiteral("15 lbs"));
    EXPECT_EQ(At(*feet, 4.54, 4), QStringLiteral("Brannish"));
}

TEST_F(MainPageTest, FiguresAtTheSheetsExtremesPrintWholeInsideTheirPlace)
{
    // Figure, its left or right edge at x on the row, and the place it must keep to.
    struct Case {
        bool heavy, right;
        double x, row;
        const char *text;
        double left, end;
    };
    static const Case cases[] = {
        {false, false, 4.54, 8, "-30000", 4.54, 7.85},
        {false, false, 4.54, 9, "-300000000", 4.54, 7.85},
        {false, false, 4.54, 12, "-999998,9", 4.54, 7.85},
        {false, false, 4.54, 13, "-32768", 4.54, 7.85},
        {false, false, 4.54, 16, "-999999m", 4.54, 7.85},
        {false, false, 4.54, 17, "-999999kg", 4.54, 7.85},
        {false, true, 12.79, 4, "-21824", 8.35, 12.79},   // CO, temporary and total
        {false, true, 13.75, 4, "-10920", 12.89, 13.75},
        {false, true, 12.79, 5, "-21824", 8.35, 12.79},   // Me
        {false, true, 13.75, 5, "-10922", 12.89, 13.75},
        {false, true, 13.75, 12, "-3334", 12.89, 13.75},
        {false, true, 19.78, 3, "-32768", 14.38, 19.78},  // Channeling: 0 - 32768
        {false, true, 19.78, 4, "-32747", 14.38, 19.78},  // Essence: 21 - 32768
        {false, true, 19.78, 11, "-32768", 14.38, 19.78},
        // Hit points -21822 - 10946, three quarters, half, a quarter; the
        // temporary CO under "dead".
        {false, true, 9.3, 16, "-32768", 8.35, 9.3},
        {false, true, 10.25, 16, "-24576", 9.4, 10.25},
        {false, true, 11.21, 16, "-16384", 10.35, 11.21},
        {false, true, 12.16, 16, "-8192", 11.31, 12.16},
        {false, true, 13.43, 16, "-21824", 12.26, 13.43},
        {false, true, 13.75, 20, "-5460 PdeC/hre", 8.35, 13.75},
        {false, true, 13.75, 21, "-10920 PdeC/3hre", 8.35, 13.75},
        {false, true, 15.33, 16, "-32768", 14.38, 15.33},   // 24 - 32768 - 24
        {false, true, 16.29, 16, "-24576", 15.43, 16.29},
        {false, true, 17.24, 16, "-16384", 16.39, 17.24},
        {false, true, 18.19, 16, "-8192", 17.34, 18.19},
        {false, true, 19.78, 21, "-16384 PdeP/3hre", 14.38, 19.78},
        {false, true, 7.71, 30, "-32768", 2.32, 7.71},    // 1 - 32768 - 1
        {false, true, 7.71, 31, "-10002", 2.32, 7.71},
        {false, true, 13.75, 25, "-32768", 12.89, 13.75},   // -9965 - 22803
        {false, true, 19, 25, "30000", 14.38, 19},
        {false, true, 19.78, 25, "-32768", 19.1, 19.78},    // 7518 - 32768 - 7518
        {false, true, 19, 34, "30000", 14.38, 19},
        // Movement: stride 5 x (-999999 x 3.28 - 6) / 0.5 = -32800025; armour
        // -35 - 32768 = -32803; penalty -32803 + 3 x (-3334) = -42805; base
        // (50 - 32800025 - 10002 - 42805) / 3.28 = -10016092.07.
        {false, true, 3.59, 35, "-10016092 m", 2.32, 3.59},
        {false, true, 3.59, 36, "-15024138 m", 2.32, 3.59},
        {false, true, 3.59, 40, "-50080460 m", 2.32, 3.59},
        {false, true, 10.25, 41, "(-42805)", 8.13, 10.25},
        {false, true, 7.71, 42, "-10002", 2.32, 7.71},   // 3 x AG above -9996 - 22772
        {false, true, 7.71, 43, "-32768", 2.32, 7.71},
        {false, true, 7.71, 44, "-32803", 2.32, 7.71},
        // Steps of -999999 / 10 = -100000 kg; no allowance: -8 a step.
        {false, true, 12.48, 35, "-100000 kg", 10.89, 12.48},
        {false, true, 13.75, 35, "-8", 12.58, 13.75},
        {false, true, 12.48, 44, "-1000000 kg", 10.89, 12.48},
        // Heavy: chain mail -9992 + 2 x 14256 - 22776 = -4256, maneuver -4291,
        // allowance -4291 + 32766 = 28475: the steps from 3560 (-5) to 3569 (-77).
        {true, true, 12.48, 35, "-356000000 kg", 10.89, 12.48},
        {true, true, 13.75, 35, "-5", 12.58, 13.75},
        {true, true, 12.48, 44, "-356900000 kg", 10.89, 12.48},
        {true, true, 13.75, 44, "-77", 12.58, 13.75},
    };
    const auto rowOf = [](const RecordingTarget::Item &t) { return std::floor((t.y - 2.2) / 0.407 + 1e-3); };
    std::unique_ptr<RecordingTarget> recs[2];
    for (const bool heavy : {false, true}) {
        ModGeneral::Players(1) = Personnage();
        printsamples::Develop(Hero());
        GiveWidestFigures(Hero(), heavy);
        recs[heavy] = Record(QStringLiteral("01"));
    }
    for (const Case &c : cases) {
        const auto texts = recs[c.heavy]->Texts(1);
        const RecordingTarget::Item *f = nullptr;
        for (const auto &t : texts)
            if (rowOf(t) == c.row && std::abs((c.right ? t.x + t.width : t.x) - c.x) < 1e-5)
                f = &t;
        ASSERT_NE(f, nullptr) << c.text;
        EXPECT_EQ(f->text, QString::fromUtf8(c.text));
        EXPECT_GE(f->x, c.left - 1e-5) << c.text;
        EXPECT_LE(f->x + f->width, c.end + 1e-5) << c.text;
        // A figure printed smaller keeps the line's baseline: Arial rises
        // 1854/2048 of its size above it, so the smaller one's top lies lower
        // by that share of the points it lost (within the recorder's dot of
        // 1/1200 inch, to which it rounds each size's rise).
        EXPECT_NEAR(f->y, Row(c.row) + 1854.0 / 2048 * (10 - f->font.size) * 2.54 / 72, 2.54 / 1200) << c.text;
        for (const auto &t : texts)
            if (&t != f && rowOf(t) == c.row)
                EXPECT_TRUE(t.x + t.width <= f->x || f->x + f->width <= t.x)
                    << c.text << " touches " << t.text.toStdString();
    }
}

// ---------------------------------------------------------------- skill pages

class SkillPagesTest : public PrintFixture {
protected:
    // The skill names printed on a page, in order.
    QStringList Names(const RecordingTarget &rec, int page)
    {
        QStringList out;
        for (int row = 7; row <= 54; ++row)
            for (const auto &t : rec.Row(Row(row), page))
                if (std::abs(t.x - 2.32) < 1e-6)
                    out << t.text;
        return out;
    }
    void Fresh()
    {
        ModGeneral::Players.clear();
        ModGeneral::Players.resize(1);
        Hero().Nom = QStringLiteral("Niko");
        Hero().Profession_ID = 1;
    }
};

TEST_F(SkillPagesTest, ACharacterWithoutRanksGetsOnePageWithHeaderAndFooter)
{
    Fresh();
    const auto rec = Record(QStringLiteral("10"));
    EXPECT_EQ(rec->Pages(), 1);
    EXPECT_NE(rec->Find(QStringLiteral("Compétences")), nullptr);
    EXPECT_NE(rec->Find(QStringLiteral("Niko")), nullptr);
    EXPECT_NE(rec->Find(ModPrint::FooterNotice()), nullptr);
    EXPECT_TRUE(Names(*rec, 1).isEmpty());
    // The frame ends on row 56.
    bool frame = false;
    for (const auto &l : rec->Lines())
        frame |= std::abs(l.y - Row(56)) < 1e-6 && std::abs(l.y2 - Row(56)) < 1e-6 && l.pen == 3;
    EXPECT_TRUE(frame);
}

TEST_F(SkillPagesTest, FortyEightRowsFillAPageAndTheNextStartsOnRowSevenUnderAFreshHeader)
{
    // The six skills always given include hit points and a power reserve,
    // which are never printed: 44 + 6 entries make 48 rows.
    Fresh();
    ASSERT_EQ(printsamples::GiveSkills(Hero(), 44, 1), 50);
    auto rec = Record(QStringLiteral("10"));
    EXPECT_EQ(rec->Pages(), 1);
    EXPECT_EQ(Names(*rec, 1).size(), 48);
    EXPECT_EQ(rec->Find(QStringLiteral("Points de coup")), nullptr);
    EXPECT_EQ(rec->Find(QStringLiteral("Réserve de dévotion")), nullptr);

    Fresh();
    printsamples::GiveSkills(Hero(), 45, 1);
    rec = Record(QStringLiteral("10"));
    ASSERT_EQ(rec->Pages(), 2);
    EXPECT_EQ(Names(*rec, 1).size(), 48);
    ASSERT_EQ(Names(*rec, 2).size(), 1);
    EXPECT_EQ(rec->Row(Row(7), 2).first().x, 2.32);
    EXPECT_NE(rec->Find(QStringLiteral("Compétences"), 2), nullptr);
    EXPECT_NE(rec->Find(QStringLiteral("Niko"), 2), nullptr);
    // The first page's footer comes before the second page begins.
    int footerAt = -1, breakAt = -1;
    for (int i = 0; i < rec->Items().size(); ++i) {
        const auto &item = rec->Items()[i];
        if (item.kind == Kind::Text && item.text == ModPrint::FooterNotice() && footerAt < 0)
            footerAt = i;
        if (item.kind == Kind::NewPage && breakAt < 0)
            breakAt = i;
    }
    EXPECT_LT(footerAt, breakAt);
    EXPECT_NE(rec->Find(ModPrint::FooterNotice(), 2), nullptr);
}

TEST_F(SkillPagesTest, ColumnsOfASkillRow)
{
    const auto rec = Record(QStringLiteral("10"));
    const auto *name = rec->Find(QStringLiteral("Apnée"));
    ASSERT_NE(name, nullptr);
    const auto row = rec->Row(name->y, name->page);
    ASSERT_EQ(row.size(), 10);
    const auto centre = [](const RecordingTarget::Item &t) { return t.x + t.width / 2; };
    const auto right = [](const RecordingTarget::Item &t) { return t.x + t.width; };
    EXPECT_NEAR(centre(row[1]), 8.7, 1e-5);    // cost
    EXPECT_NEAR(centre(row[2]), 10, 1e-5);     // statistic, 8 points
    EXPECT_DOUBLE_EQ(row[2].font.size, 8);
    EXPECT_NEAR(centre(row[3]), 11, 1e-5);     // ranks
    EXPECT_EQ(row[4].text, QStringLiteral("ooo"));
    EXPECT_EQ(row[4].font.name, QStringLiteral("Wingdings"));
    EXPECT_NEAR(right(row[5]), 13.8, 1e-5);
    EXPECT_NEAR(right(row[9]), 19.8, 1e-5);    // total
    EXPECT_EQ(row[5].font.name, QStringLiteral("Arial"));
}

TEST_F(SkillPagesTest, EverySubSkillWithRanksHasItsOwnRowAndTotal)
{
    const auto rec = Record(QStringLiteral("10"));
    const auto *forge = rec->Find(QStringLiteral("Métier (au choix) (Forge)"));
    const auto *weaving = rec->Find(QStringLiteral("Métier (au choix) (Tissage)"));
    ASSERT_NE(forge, nullptr);
    ASSERT_NE(weaving, nullptr);
    EXPECT_GT(weaving->y, forge->y);
    // Ranks 2 and the total of the sub-skill's own row: the crafts' AG (2) +
    // Me (5) + Re (4) and one category rank of -10•2 make 13; two ranks of
    // -20•4 add 8, where the forge's six add 24.
    const auto row = rec->Row(weaving->y, weaving->page);
    EXPECT_EQ(row[3].text, QStringLiteral("2"));
    EXPECT_EQ(row.last().text, QStringLiteral("21"));
    EXPECT_EQ(rec->Row(forge->y, forge->page).last().text, QStringLiteral("37"));

    // A sub-skill without ranks is left out; one rank is enough.
    Hero().AddSubSkills(56, QStringLiteral("Marais"), 0);
    Hero().AddSubSkills(176, QStringLiteral("Luth"), 1);
    const auto again = Record(QStringLiteral("10"));
    EXPECT_EQ(again->Find(QStringLiteral("Connaissance d'une région (Marais)")), nullptr);
    EXPECT_NE(again->Find(QStringLiteral("Instrument (au choix) (Luth)")), nullptr);
    // A skill's sub-skills keep their rows' order, whatever lies between them.
    Hero().AddSubSkills(48, QStringLiteral("Bourrellerie"), 1);
    const auto third = Record(QStringLiteral("10"));
    const auto *saddlery = third->Find(QStringLiteral("Métier (au choix) (Bourrellerie)"));
    ASSERT_NE(saddlery, nullptr);
    EXPECT_GT(saddlery->y, third->Find(QStringLiteral("Métier (au choix) (Tissage)"))->y);
}

TEST_F(SkillPagesTest, TwoSubSkillsOfOneSkillNeverPrintAlikeAndStayInTheirColumn)
{
    // A sub-skill, and how its row begins, what it holds and how it ends.
    struct Case {
        qint32 skill;
        QString name;
        const char *head, *middle, *tail;
    };
    const Case cases[] = {
        // The skill's name gives way first and the sub-skill's stays whole.
        {56, QStringLiteral("Montagnes du Nord"), "Connaiss", "", "... (Montagnes du Nord)"},
        {56, QStringLiteral("Montagnes du Sud"), "Connaiss", "", "... (Montagnes du Sud)"},
        {48, QStringLiteral("Forgeron d'armes"), "Métier", "", "... (Forgeron d'armes)"},
        // A sub-skill's name too wide by itself is cut in its middle: both ends show.
        {48, WideAndDeep(60), "... (Wgy,Wpj", "...", "Wgy,)"},
        {56, QStringLiteral("Forêts profondes de la frontière du Nord"), "... (Forêts", "...", " du Nord)"},
        {56, QStringLiteral("Forêts profondes de la frontière du Sud"), "... (Forêts", "...", " du Sud)"},
        {56, QStringLiteral("Grandes plaines fluviales de l'Ouest lointain et sauvage"), "... (Grandes", "...", " sauvage)"},
        {56, QStringLiteral("Grandes plaines fluviales de l'Ouest lointain et sauvage II"), "... (Grandes", "...",
         " sauvage II)"},
        // Alike over more than half the room from one end: that end shows up
        // to where they part, the other end what is left.
        {56, QStringLiteral("Les marais salants de la côte des Brumes, au-delà des dunes"), "... (Les", "...",
         "es, au-delà des dunes)"},
        {56, QStringLiteral("Les marais salants de la côte des Vents, au-delà des dunes"), "... (Les", "...",
         "ts, au-delà des dunes)"},
        {176, QStringLiteral("Les chants de la Brume, au-delà des dunes grises du rivage"),
         "... (Les chants de la B...", "", ")"},
        {176, QStringLiteral("Les chants de la Lune, au-delà des dunes grises du rivage"), "... (Les chants de la L...",
         "", ")"},
        // Alike from both ends beyond the room: the part where they part shows.
        {48, QStringLiteral("Enluminure des grands livres du temple de l'Est, copiés à la main par les moines"),
         "... (...", "l'Est, copiés", "...)"},
        {48, QStringLiteral("Enluminure des grands livres du temple de l'Ouest, copiés à la main par les moines"),
         "... (...", "l'Ouest, copiés", "...)"},
        // The same with letters outside the basic plane, which part in the
        // second of their two halves.
        {176, QStringLiteral("🂡").repeated(30) + QStringLiteral("🂱") + QStringLiteral("🂡").repeated(30), "... (...",
         "🂡🂱🂡", "...)"},
        {176, QStringLiteral("🂡").repeated(30) + QStringLiteral("🂲") + QStringLiteral("🂡").repeated(30), "... (...",
         "🂡🂲🂡", "...)"},
        // Such letters parting near one end, just past what the plain cut
        // shows there: in the first half of a letter, near the start...
        {176, QStringLiteral("𝐖").repeated(5) + QStringLiteral("𐌰") + QStringLiteral("𝐖").repeated(60),
         "... (𝐖𝐖𝐖𝐖𝐖𐌰...", "", "𝐖)"},
        {176, QStringLiteral("𝐖").repeated(66), "... (𝐖𝐖𝐖𝐖𝐖𝐖...", "", "𝐖)"},
        // ... and in the second half, near the end.
        {176, QStringLiteral("𝕎").repeated(60) + QStringLiteral("🂱") + QStringLiteral("𝕎").repeated(6), "... (𝕎", "",
         "...🂱𝕎𝕎𝕎𝕎𝕎𝕎)"},
        {176, QStringLiteral("𝕎").repeated(60) + QStringLiteral("🂲") + QStringLiteral("𝕎").repeated(6), "... (𝕎", "",
         "...🂲𝕎𝕎𝕎𝕎𝕎𝕎)"},
    };
    for (const Case &c : cases)
        Hero().AddSubSkills(c.skill, c.name, 1);
    for (const bool paper : {false, true}) {
        const double left = 2.32 - (paper ? 0.6 : 0);
        const auto rec = Record(QStringLiteral("10"), paper);
        QSet<QString> printed;
        for (const Case &c : cases) {
            int matches = 0;
            for (const auto &t : rec->Texts())
                if (std::abs(t.x - left) < 1e-5 && t.text.startsWith(QString::fromUtf8(c.head))
                    && t.text.contains(QString::fromUtf8(c.middle)) && t.text.endsWith(QString::fromUtf8(c.tail))) {
                    ++matches;
                    printed << t.text;
                    EXPECT_TRUE(t.text.isValidUtf16()) << t.text.toStdString();   // no half of a letter
                    EXPECT_LE(t.x + t.width, left + 5.7 + 1e-9) << t.text.toStdString();
                }
            EXPECT_EQ(matches, 1) << c.name.toStdString();
        }
        EXPECT_EQ(printed.size(), std::size(cases));
    }
}
