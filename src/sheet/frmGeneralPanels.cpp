// The sheet's figure panels: money, statistics, resistances, and armour,
// shield and helmet. Each fill sets the boxes in the order the sheet has
// always used, and every setting runs the box's handler on the spot.
#include "sheet/frmGeneral.h"

#include "frame/Rules.h"

#include "character/Personnage.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "platform/ports.h"
#include "platform/vb.h"
#include "sheet/SheetNumbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

using namespace ModGeneral;

namespace {

// Race columns of the statistics, by statistic index.
constexpr const char *kRaceStatColumns[10] = {"AG", "CO", "Me", "Re", "SD", "EM", "It", "Pr", "Qu", "ST"};

enum : qint16 { CO = 1, SD = 4, EM = 5, In = 6, Pr = 7 };

// Rows of the resistances in the order the panel is filled.
constexpr int kResistanceFillOrder[9] = {5, 7, 2, 3, 4, 6, 1, 8, 9};

double RulesNumber(const dao::Recordset &rs, const char *column)
{
    const QVariant v = rs.Value(QString::fromLatin1(column));
    if (!v.isValid() || v.isNull())
        vb::Raise(vb::ErrInvalidUseOfNull);
    return vb::CDbl(v);
}

} // namespace

// ------------------------------------------------------------------ money

void frmGeneral::FillMoney()
{
    for (int k = 0; k < 5; ++k)
        txtMoney[k]->setText(QString::number(sheet::CoinPart(Record().Money, k)));
}

void frmGeneral::txtMoney_Change(int Index)
{
    if (Index < 0 || Index > 4)
        return;
    // A count that would take the fortune past what the record holds is not
    // taken; leaving the box says so.
    StoreTyped(txtMoney[Index]);
}

// ------------------------------------------------------------------ statistics

void frmGeneral::FillStatistics()
{
    for (qint16 k = 0; k <= 1; ++k)
        for (qint16 s = 0; s < 10; ++s)
            Stat_ID[s][k]->setText(QString::number(Record().DirStats(k, s)));
    ports::ui().ProgressValue(60);
    for (qint16 s = 0; s < 10; ++s)
        Stat_ID[s][2]->setText(QString::number(Record().BonusStats(Record().DirStats(0, s))));
    ports::ui().ProgressValue(70);
    // Without a row for the race there is no race bonus to show.
    for (int s = 0; s < 10; ++s)
        Stat_ID[s][3]->setText(m_raceFound ? sheet::ValueText(RsRace.Value(QLatin1String(kRaceStatColumns[s])))
                                           : QString());
    ports::ui().ProgressValue(80);
    for (qint16 s = 0; s < 10; ++s)
        Stat_ID[s][4]->setText(QString::number(Record().DirStats(2, s)));
    ports::ui().ProgressValue(90);
    for (qint16 s = 0; s < 10; ++s)
        Stat_ID[s][5]->setText(QString::number(Record().TotalStatBonus(s)));
}

void frmGeneral::Stat_Change(int stat, int Index)
{
    const OneErrorBox once;   // one action, one box
    if (stat < 0 || stat > 9)
        return;
    Personnage &p = Record();
    // A bonus the record cannot hold is not taken; the text stays as typed
    // until the player leaves the box.
    if (Index == 4)
        StoreTyped(Stat_ID[stat][4]);
    Stat_ID[stat][5]->setText(QString::number(p.TotalStatBonus(static_cast<qint16>(stat))));
}

// ------------------------------------------------------------------ resistances

QString frmGeneral::ResistanceStatPart(int kind)
{
    Personnage &p = Record();
    const auto B = [&p](qint16 s) { return p.BonusStats(p.DirStats(0, s)); };
    qint16 part = 0;
    switch (kind) {
    case 1: part = vb::Add16(vb::Add16(B(EM), B(In)), B(Pr)); break;
    case 2: part = vb::Mul16(3, B(In)); break;
    case 3: part = vb::Add16(B(EM), B(In)); break;
    case 4: part = vb::Add16(B(In), B(Pr)); break;
    case 5: part = vb::Mul16(3, B(EM)); break;
    case 6: part = vb::Add16(B(EM), B(Pr)); break;
    case 7: part = vb::Mul16(3, B(Pr)); break;
    case 8: part = vb::Mul16(3, B(CO)); break;
    default: part = vb::Mul16(3, B(SD)); break;
    }
    return QString::number(part);
}

QString frmGeneral::ResistanceRacePart(int kind)
{
    if (!m_raceFound)
        return QString();
    const auto single = [this](const char *c) { return sheet::ValueText(RsRace.Value(QLatin1String(c))); };
    const auto col = [this](const char *c) { return RulesNumber(RsRace, c); };
    switch (kind) {
    case 1: return QString::number(vb::IDiv(col("Ess") + col("Ment") + col("Chan"), 3));
    case 2: return single("Chan");
    case 3: return QString::number(vb::IDiv(col("Ess") + col("Chan"), 2));
    case 4: return QString::number(vb::IDiv(col("Ment") + col("Chan"), 2));
    case 5: return single("Ess");
    case 6: return QString::number(vb::IDiv(col("Ess") + col("Ment"), 2));
    case 7: return single("Ment");
    case 8: return single("Pois");
    default: return single("Fear");
    }
}

void frmGeneral::FillResistances()
{
    for (int kind : kResistanceFillOrder) {
        auto &row = Resistance[kind];
        row[0]->setText(ResistanceStatPart(kind));
        row[1]->setText(ResistanceRacePart(kind));
        row[2]->setText(QString::number(Record().DirResistanceSpecial(static_cast<qint16>(kind))));
        row[3]->setText(QString::number(Record().TotalResistanceBonus(static_cast<qint16>(kind))));
    }
}

void frmGeneral::Resistance_Change(int kind, int Index)
{
    const OneErrorBox once;   // one action, one box
    if (kind < 1 || kind > 9)
        return;
    Personnage &p = Record();
    if (Index == 2)
        StoreTyped(Resistance[kind][2]);
    Resistance[kind][3]->setText(QString::number(p.TotalResistanceBonus(static_cast<qint16>(kind))));
}

// ------------------------------------------------------------------ armour, shield and helmet

void frmGeneral::FillArmour()
{
    {
        // Filling a list would make its first row current and run the pick
        // before the stored choice is read; the pick runs once, below.
        const QSignalBlocker quiet(lstArmor);
        lstArmor->clear();
        ArmorIDs.clear();
        RsArmor = rules::Open(QStringLiteral("Armor Modification"));
        for (; !RsArmor.Eof(); RsArmor.MoveNext()) {
            dao::DBEngine::instance().Idle();
            lstArmor->addItem(sheet::RulesName(RsArmor, "Armor"));
            ArmorIDs.push_back(vb::CLng(RsArmor.Value(QStringLiteral("Armor_ID"))));
        }
        lstArmor->setCurrentIndex(-1);
    }
    const qint64 stored = Record().Armure;
    const qint64 position = stored == 0 ? 0 : stored - 1;
    if (position >= 0 && position < static_cast<qint64>(ArmorIDs.size())) {
        lstArmor->setCurrentIndex(static_cast<int>(position));
    } else {
        // A choice the list does not have: show none, keep the record's.
        for (QLineEdit *e : txtArmure)
            e->clear();
        chkProtection->setChecked(false);
    }
}

void frmGeneral::FillShield()
{
    {
        const QSignalBlocker quiet(lstShield);
        lstShield->clear();
        ShieldIDs.clear();
        RsShield = rules::Open(QStringLiteral("Shield"));
        for (; !RsShield.Eof(); RsShield.MoveNext()) {
            dao::DBEngine::instance().Idle();
            lstShield->addItem(sheet::RulesName(RsShield, "Shield"));
            ShieldIDs.push_back(vb::CLng(RsShield.Value(QStringLiteral("Shield_ID"))));
        }
        lstShield->setCurrentIndex(-1);
    }
    const qint64 position = Record().Bouclier;
    if (position >= 0 && position < static_cast<qint64>(ShieldIDs.size())) {
        lstShield->setCurrentIndex(static_cast<int>(position));
    } else {
        for (QLineEdit *e : txtShield)
            e->clear();
    }
}

void frmGeneral::FillHelmet()
{
    const qint32 code = Record().Casque;
    const qint32 leather = code / 10;
    const qint32 metal = code % 10;
    if (code == 0 || code == 1 || code == 10 || code == 11) {
        chkCasque[0]->setChecked(leather != 0);
        chkCasque[1]->setChecked(metal != 0);
        return;
    }
    // A code the sheet never writes: show what it holds, and keep it until
    // the user ticks a box.
    const QSignalBlocker quiet0(chkCasque[0]);
    const QSignalBlocker quiet1(chkCasque[1]);
    chkCasque[0]->setChecked(leather != 0);
    chkCasque[1]->setChecked(metal != 0);
}

void frmGeneral::lstArmor_Click()
{
    const OneErrorBox once;   // one action, one box
    const int p = lstArmor->currentIndex();
    if (p < 0 || p >= static_cast<int>(ArmorIDs.size()))
        return;
    // The pick is the player's even when its figures cannot be shown.
    Record().Armure = p + 1;
    try {
        dao::Recordset rs = rules::Open(QStringLiteral("Armor Modification"));
        rs.FindFirst(QStringLiteral("Armor_ID LIKE('%1')").arg(ArmorIDs[p]));
        if (rs.NoMatch())
            return;
        chkProtection->setChecked(RulesNumber(rs, "Protection") != 0);
        const qint32 armour = vb::CLng(RulesNumber(rs, "Armor_ID"));
        qint16 m = rules::ManeuverSkill(armour) ? Record().ManeuverFigure(armour, RulesNumber(rs, "MaxManeuvre")) : 0;
        if (m > RulesNumber(rs, "MinManeuvre"))
            m = vb::CInt(RulesNumber(rs, "MinManeuvre"));
        txtArmure[0]->setText(QString::number(m));
        txtArmure[1]->setText(vb::NumText(0.0 - RulesNumber(rs, "MissileAttak")));
        txtArmure[2]->setText(sheet::ValueText(rs.Value(QStringLiteral("Quickness"))));
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmGeneral.lstArmor.Click"));
    }
}

void frmGeneral::lstShield_Click()
{
    const OneErrorBox once;   // one action, one box
    const int p = lstShield->currentIndex();
    if (p < 0 || p >= static_cast<int>(ShieldIDs.size()))
        return;
    Record().Bouclier = p;
    try {
        dao::Recordset rs = rules::Open(QStringLiteral("Shield"));
        rs.FindFirst(QStringLiteral("Shield_ID LIKE('%1')").arg(ShieldIDs[p]));
        if (rs.NoMatch())
            return;
        txtShield[0]->setText(sheet::ValueText(rs.Value(QStringLiteral("Melee"))));
        txtShield[1]->setText(sheet::ValueText(rs.Value(QStringLiteral("Missile"))));
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmGeneral.lstShield.Click"));
    }
}

void frmGeneral::chkCasque_Click(int)
{
    Record().Casque = vb::Add16(10 * (chkCasque[0]->isChecked() ? 1 : 0), chkCasque[1]->isChecked() ? 1 : 0);
}
