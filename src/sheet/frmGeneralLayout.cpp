// The sheet's layout: every control where the layout puts it, in twips turned
// into pixels (15 twips a pixel), with the string number of its caption in
// its Tag for the localiser and its layout text for a language that lacks it.
#include "sheet/frmGeneral.h"

#include "frame/ui/Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(TwipsRect(left, top, width, height));
}

QLabel *label(QWidget *parent, const QString &name, const char *tag, const QString &text, int left, int top,
              int width, int height = 255)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    if (tag)
        l->setProperty("Tag", QString::fromLatin1(tag));
    place(l, left, top, width, height);
    return l;
}

// A value label: no string behind it, filled by the load.
QLabel *valueLabel(QWidget *parent, const QString &name, int left, int top, int width)
{
    auto *l = label(parent, name, nullptr, QString(), left, top, width);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

QLineEdit *box(QWidget *parent, const QString &name, int left, int top, int width, int height)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    place(e, left, top, width, height);
    return e;
}

// A figure box the program writes and the user only reads.
void makeReadOnly(QLineEdit *e)
{
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    QPalette pal = e->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    e->setPalette(pal);
}

QFrame *vline(QWidget *parent, const QString &name, int x, int top, int bottom)
{
    auto *f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Plain);
    f->setGeometry(TwipsToPixels(x) - 1, TwipsToPixels(top), 3, TwipsToPixels(bottom - top));
    return f;
}

QGroupBox *frame(QWidget *parent, const QString &name, const char *tag, const QString &text, int left, int top,
                 int width, int height)
{
    auto *g = new QGroupBox(text, parent);
    g->setObjectName(name);
    g->setProperty("Tag", QString::fromLatin1(tag));
    place(g, left, top, width, height);
    return g;
}

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// A figure box wide enough for any 16-bit figure with its sign ("-32768"),
// the widest that a record's field, a rules column or a total can give it.
constexpr int kFigureWidth = 690, kBoxHeight = 255;
// Boxes of one row stand a pixel over each other, so that their borders meet.
constexpr int kFigurePitch = kFigureWidth - 15;
// Left edges of the figure columns shared by the statistics and resistances,
// and the lines that set the bonuses and the total apart.
constexpr int kTempLeft = 1620, kPotLeft = kTempLeft + kFigurePitch;
constexpr int kBonusLine = 3030;
constexpr int kBonusLeft = 3105, kRaceLeft = kBonusLeft + kFigurePitch, kSpecialLeft = kRaceLeft + kFigurePitch;
constexpr int kTotalLine = 5205;
constexpr int kTotalLeft = 5265;
// The three frames on the right hold the statistics' seven columns.
constexpr int kRightFramesWidth = 6015;
// A fraction with seven digits and its sign ("-0,0001234567").
constexpr int kPhysiqueWidth = 1350;

// Four headings share columns 32 pixels apart: at 7 points the longest
// ("Spécial") still leaves its neighbours two blanks clear.
QFont headingFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(7);
    return f;
}

QLabel *heading(QWidget *parent, const QString &name, const char *tag, const QString &text, int left,
               int width = kFigureWidth)
{
    // A little wider than the box below it, so that the longer words fit.
    auto *l = label(parent, name, tag, text, left - 45, 240, width + 90);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    l->setFont(headingFont());
    return l;
}

} // namespace

void frmGeneral::BuildLayout()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    setFont(font);

    // The page keeps its designed size; a smaller frame scrolls it.
    QWidget *page = Page();
    page->setFixedSize(TwipsSize(13350, 8520));

    Cadre_Personnage = frame(page, QStringLiteral("Cadre_Personnage"), "5013",
                             QStringLiteral("Informations diverses"), 120, 120, 6975, 8280);
    fraCaracteristique = frame(page, QStringLiteral("fraCaractéristique"), "3040",
                               QStringLiteral("Caractéristiques"), 7215, 120, kRightFramesWidth, 3075);
    fraResistance = frame(page, QStringLiteral("fraResistance"), "3023", QStringLiteral("Résistance"), 7215, 3315,
                          kRightFramesWidth, 2775);
    Cadre_Divers = frame(page, QStringLiteral("Cadre_Divers"), "3512", QStringLiteral("%Protection"), 7215, 6210,
                         kRightFramesWidth, 2190);

    BuildIdentity();
    BuildStatistics();
    BuildResistances();
    BuildProtection();
}

void frmGeneral::BuildIdentity()
{
    QWidget *f = Cadre_Personnage;
    constexpr int L = 240, V = 1680;

    labNom = label(f, QStringLiteral("labNom"), "3050", QStringLiteral("Nom"), L, 360, 1335);
    txtNom = box(f, QStringLiteral("txtNom"), V, 345, 3480, 285);
    labRace[0] = label(f, indexed("labRace", 0), "3002", QStringLiteral("Race"), L, 720, 1335);
    txtRace = valueLabel(f, QStringLiteral("txtRace"), V, 720, 3480);
    labProfession = label(f, QStringLiteral("labProfession"), "3004", QStringLiteral("Profession"), L, 1050, 1335);
    txtProfession = valueLabel(f, QStringLiteral("txtProfession"), V, 1050, 3480);
    labRoyaume = label(f, QStringLiteral("labRoyaume"), "2008", QStringLiteral("Royaume"), L, 1380, 1335);
    txtRoyaume = valueLabel(f, QStringLiteral("txtRoyaume"), V, 1380, 3480);

    labPdeC = label(f, QStringLiteral("labPdeC"), "3055", QStringLiteral("PdeC"), L, 1710, 1335);
    txtPdeC = valueLabel(f, QStringLiteral("txtPdeC"), V, 1710, kFigureWidth);
    labPdeP = label(f, QStringLiteral("labPdeP"), "2021", QStringLiteral("PdeP"), 2760, 1710, 1200);
    txtPdeP = valueLabel(f, QStringLiteral("txtPdeP"), 4080, 1710, kFigureWidth);

    labExperience = label(f, QStringLiteral("labExperience"), "3053", QStringLiteral("Expérience"), L, 2055, 1335);
    txtExperience = box(f, QStringLiteral("txtExperience"), V, 2040, 1215, 285);
    labNiveau = label(f, QStringLiteral("labNiveau"), "3052", QStringLiteral("Niveau"), 3120, 2055, 900);
    txtNiveau = valueLabel(f, QStringLiteral("txtNiveau"), 4080, 2055, kFigureWidth);

    labAge = label(f, QStringLiteral("labAge"), "3051", QStringLiteral("Âge"), L, 2415, 1335);
    txtAge = box(f, QStringLiteral("txtAge"), V, 2400, kPhysiqueWidth, 285);
    labApparence = label(f, QStringLiteral("labApparence"), "3027", QStringLiteral("Apparence"), 3120, 2415, 945);
    txtApparence = box(f, QStringLiteral("txtApparence"), 4080, 2400, kFigureWidth, 285);

    labCheveux = label(f, QStringLiteral("labCheveux"), "3085", QStringLiteral("Cheveux"), L, 2775, 1335);
    txtCheveux = box(f, QStringLiteral("txtCheveux"), V, 2760, 1215, 285);
    labYeux = label(f, QStringLiteral("labYeux"), "3086", QStringLiteral("Yeux"), 3120, 2775, 900);
    txtYeux = box(f, QStringLiteral("txtYeux"), 4080, 2760, 1215, 285);

    // Height and weight each on a row of their own: with their units beside
    // them, two boxes as wide as their figures do not fit on one.
    labGrandeur = label(f, QStringLiteral("labGrandeur"), "3019", QStringLiteral("Taille"), L, 3135, 1335);
    txtGrandeur = box(f, QStringLiteral("txtGrandeur"), V, 3120, kPhysiqueWidth, 285);
    labPieds = label(f, QStringLiteral("labPieds"), "3033", QStringLiteral("mètres"), 3120, 3135, 900);
    labPoids = label(f, QStringLiteral("labPoids"), "3018", QStringLiteral("Poids"), L, 3495, 1335);
    txtPoids = box(f, QStringLiteral("txtPoids"), V, 3480, kPhysiqueWidth, 285);
    labLivres = label(f, QStringLiteral("labLivres"), "3028", QStringLiteral("kg"), 3120, 3495, 900);

    // The sheet shows the sex; nothing on it changes it.
    auto *sexGroup = new QButtonGroup(this);
    const char *const sexTags[2] = {"3016", "3017"};
    const char *const sexTexts[2] = {"Male", "Femelle"};
    for (int i = 0; i < 2; ++i) {
        optSex[i] = new QRadioButton(QString::fromUtf8(sexTexts[i]), f);
        optSex[i]->setObjectName(indexed("optSex", i));
        optSex[i]->setProperty("Tag", QString::fromLatin1(sexTags[i]));
        optSex[i]->setEnabled(false);
        place(optSex[i], V + i * 1440, 3870, 1335, 285);
        sexGroup->addButton(optSex[i], i);
    }

    picPhoto = new QLabel(f);
    picPhoto->setObjectName(QStringLiteral("picPhoto"));
    picPhoto->setFrameShape(QFrame::Box);
    place(picPhoto, 5400, 345, 1335, 1695);

    // Money: the coin boxes and their coin names beneath them.
    labArgent = label(f, QStringLiteral("labArgent"), "3091", QStringLiteral("Argent"), L, 4680, 855, 285);
    const char *const coinTags[5] = {"3547", "3548", "3549", "3550", "3551"};
    const char *const coinTexts[5] = {"po", "pa", "pb", "pc", "pe"};
    for (int k = 0; k < 5; ++k) {
        // The first box holds everything above the four coins, so it grows
        // to the left to show a large fortune whole.
        const int left = k == 0 ? 1140 : 1680 + 600 * k;
        txtMoney[k] = box(f, indexed("txtMoney", k), left, 4680, 1680 + 600 * k + 495 - left, 285);
        txtMoney[k]->setAlignment(Qt::AlignRight);
        labMoney[k] = label(f, indexed("labMoney", k), coinTags[k], QString::fromLatin1(coinTexts[k]),
                            1680 + 600 * k, 4980, 495, 255);
        labMoney[k]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    labHistorique = label(f, QStringLiteral("labHistorique"), "3062", QStringLiteral("Historique"), L, 5400, 1335);
    txtHistorique = new QPlainTextEdit(f);
    txtHistorique->setObjectName(QStringLiteral("txtHistorique"));
    place(txtHistorique, L, 5670, 6495, 2460);
}

void frmGeneral::BuildStatistics()
{
    QWidget *f = fraCaracteristique;
    labTemp = heading(f, QStringLiteral("labTemp"), "3045", QStringLiteral("Temp"), kTempLeft);
    labPot = heading(f, QStringLiteral("labPot"), "3047", QStringLiteral("Pot"), kPotLeft);
    labBonus[0] = heading(f, indexed("labBonus", 0), "3048", QStringLiteral("Bonus"), kBonusLeft);
    labRace[1] = heading(f, indexed("labRace", 1), "3002", QStringLiteral("Race"), kRaceLeft);
    labSpecial[0] = heading(f, indexed("labSpecial", 0), "3504", QStringLiteral("Spécial"), kSpecialLeft);
    labTotal[0] = heading(f, indexed("labTotal", 0), "3503", QStringLiteral("Total"), kTotalLeft);

    constexpr std::array<int, 6> lefts = {kTempLeft, kPotLeft, kBonusLeft, kRaceLeft, kSpecialLeft, kTotalLeft};
    QFont bold = font();
    bold.setBold(true);
    for (int s = 0; s < 10; ++s) {
        const int top = 480 + 240 * s;
        labCar[s] = label(f, indexed("labCar", s), nullptr, QString(), 240, top, 1335);
        for (int c = 0; c < 6; ++c) {
            QLineEdit *e = box(f, QStringLiteral("Stat_ID%1_%2").arg(s + 1).arg(c), lefts[c], top, kFigureWidth,
                               kBoxHeight);
            e->setAlignment(Qt::AlignCenter);
            if (c != 4)
                makeReadOnly(e);
            if (c == 5)
                e->setFont(bold);
            Stat_ID[s][c] = e;
        }
    }
    Ligne2 = vline(f, QStringLiteral("Ligne2"), kBonusLine, 480, 2880);
    Ligne1 = vline(f, QStringLiteral("Ligne1"), kTotalLine, 480, 2880);
}

void frmGeneral::BuildResistances()
{
    QWidget *f = fraResistance;
    labBonus[1] = heading(f, indexed("labBonus", 1), "3048", QStringLiteral("Bonus"), kBonusLeft);
    labRace[2] = heading(f, indexed("labRace", 2), "3002", QStringLiteral("Race"), kRaceLeft);
    labSpecial[1] = heading(f, indexed("labSpecial", 1), "3504", QStringLiteral("Spécial"), kSpecialLeft);
    labTotal[1] = heading(f, indexed("labTotal", 1), "3503", QStringLiteral("Total"), kTotalLeft);

    struct Row {
        int kind;
        const char *box;
        const char *label;
        const char *tag;
        const char *text;
        QLabel **member;
    };
    // Top to bottom as the rows stand in the frame.
    const Row rows[9] = {
        {2, "txtTheurgie", "labTheurgie", "2001", "Théurgie", &labTheurgie},
        {5, "txtEssence", "labEssence", "2002", "Essence", &labEssence},
        {7, "txtMentalisme", "labMentalisme", "2003", "Mentalisme", &labMentalisme},
        {3, "txtTheuEss", "labTheuEss", "2005", "Théurgie/Essence", &labTheuEss},
        {4, "txtTheuMent", "labTheuMent", "2006", "Théurgie/Mentalisme", &labTheuMent},
        {6, "txtEssMent", "labEssMent", "2007", "Essence/Mentalisme", &labEssMent},
        {1, "txtArcane", "labArcane", "2004", "Arcane", &labArcane},
        {8, "txtPoisons", "labPoisons", "3058", "Poisons/Maladie", &labPoisons},
        {9, "txtPeur", "labPeur", "3061", "Peur", &labPeur},
    };
    constexpr std::array<int, 4> lefts = {kBonusLeft, kRaceLeft, kSpecialLeft, kTotalLeft};
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < 9; ++i) {
        const Row &r = rows[i];
        const int top = 480 + 240 * i;
        *r.member = label(f, QString::fromLatin1(r.label), r.tag, QString::fromUtf8(r.text), 240, top, 2700);
        for (int e = 0; e < 4; ++e) {
            QLineEdit *b = box(f, indexed(r.box, e), lefts[e], top, kFigureWidth, e == 3 ? 240 : kBoxHeight);
            b->setAlignment(Qt::AlignCenter);
            if (e != 2)
                makeReadOnly(b);
            if (e == 3)
                b->setFont(bold);
            Resistance[r.kind][e] = b;
        }
    }
    Ligne3 = vline(f, QStringLiteral("Ligne3"), kTotalLine, 480, 2640);
}

void frmGeneral::BuildProtection()
{
    QWidget *f = Cadre_Divers;
    lstArmor = new QComboBox(f);
    lstArmor->setObjectName(QStringLiteral("lstArmor"));
    place(lstArmor, 120, 330, 3015, 330);

    chkCasque[1] = new QCheckBox(QStringLiteral("%Casque (métal)"), f);
    chkCasque[0] = new QCheckBox(QStringLiteral("%Casque (cuir)"), f);
    chkCasque[0]->setProperty("Tag", QStringLiteral("5018"));
    chkCasque[1]->setProperty("Tag", QStringLiteral("5019"));
    for (int i = 0; i < 2; ++i)
        chkCasque[i]->setObjectName(indexed("chkCasque", i));
    place(chkCasque[1], 3480, 360, 1815, 255);
    place(chkCasque[0], 3480, 600, 1815, 255);

    Label1 = label(f, QStringLiteral("Label1"), "5014", QStringLiteral("%Protection bras/jambes"), 120, 720, 2700);
    chkProtection = new QCheckBox(f);
    chkProtection->setObjectName(QStringLiteral("chkProtection"));
    // Shown, never set by the user.
    chkProtection->setAttribute(Qt::WA_TransparentForMouseEvents);
    chkProtection->setFocusPolicy(Qt::NoFocus);
    place(chkProtection, 2880, 720, 255, 255);

    Label2 = label(f, QStringLiteral("Label2"), "5015", QStringLiteral("%Manoeuvre en mouvement"), 120, 1080, 2460);
    txtArmure[0] = box(f, indexed("txtArmure", 0), 2640, 1080, kFigureWidth, kBoxHeight);
    // The shield list stands clear of the maneuver box beside it.
    lstShield = new QComboBox(f);
    lstShield->setObjectName(QStringLiteral("lstShield"));
    place(lstShield, 3480, 1050, 2055, 330);
    Label6 = label(f, QStringLiteral("Label6"), "5017", QStringLiteral("%BD Rapidité"), 120, 1440, 2040);
    txtArmure[2] = box(f, indexed("txtArmure", 2), 2160, 1440, kFigureWidth, kBoxHeight);
    Label4 = label(f, QStringLiteral("Label4"), "5016", QStringLiteral("%BO Projectile"), 120, 1680, 2040);
    txtArmure[1] = box(f, indexed("txtArmure", 1), 2160, 1680, kFigureWidth, kBoxHeight);

    txtShield[1] = box(f, indexed("txtShield", 1), 3600, 1560, kFigureWidth, kBoxHeight);
    txtShield[0] = box(f, indexed("txtShield", 0), 4440, 1560, kFigureWidth, kBoxHeight);
    // The two captions meet between their boxes: each ends (or starts) at the
    // outer edge of its own box, so that "Projectiles" and "Mêlée" stay apart.
    Label5 = label(f, QStringLiteral("Label5"), "3553", QStringLiteral("Projectiles"), 3000, 1800, 1290);
    Label3 = label(f, QStringLiteral("Label3"), "3552", QStringLiteral("Mêlée"), 4440, 1800, 975);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    for (QLineEdit *e : {txtArmure[0], txtArmure[1], txtArmure[2], txtShield[0], txtShield[1]}) {
        e->setAlignment(Qt::AlignCenter);
        makeReadOnly(e);
    }
}
