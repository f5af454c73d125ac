#include "background/frmBackground.h"

#include "background/frmSpecialItem.h"
#include "background/frmSpecialItemChoose.h"
#include "background/frmTalents.h"
#include "background/frmTalentsCost.h"
#include "character/BackgroundRules.h"
#include "character/Limits.h"
#include "character/Players.h"
#include "character/RulesRead.h"
#include "frame/Dice.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"
#include "frame/ui/Twips.h"
#include "newcharacter/frmStatGainRolls.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"
#include "skilldev/frmSkillDev.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>

using ModGeneral::Players;

namespace {

QHash<int, QPointer<frmBackground>> &forms()
{
    static QHash<int, QPointer<frmBackground>> table;
    return table;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QString &stringTag, int x, int y,
                  int w, int h = 255)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    if (!stringTag.isEmpty())
        setTag(l, stringTag);
    l->setGeometry(TwipsRect(x, y, w, h));
    return l;
}

QPushButton *makeArrow(QWidget *parent, const char *name, QStyle::StandardPixmap icon, int x, int y)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setGeometry(TwipsRect(x, y, 495, 345));
    return b;
}

// One row of a percentile table of talents or flaws.
struct BandRow {
    QString roll, name, note;
    qint32 id = 0;
};

std::vector<BandRow> readBands(const QString &sql, const QString &nameCol, const QString &idCol)
{
    std::vector<BandRow> rows;
    dao::Recordset rs = rules::Open(sql);
    for (; !rs.Eof(); rs.MoveNext())
        rows.push_back({rulesread::Text(rs, QStringLiteral("Roll")), rulesread::Text(rs, nameCol),
                        rs.HasField(QStringLiteral("NoteEn")) ? rulesread::Text(rs, QStringLiteral("NoteEn")) : QString(),
                        idCol.isEmpty() ? 0 : rulesread::Id(rs, idCol)});
    rs.Close();
    return rows;
}

QStringList rollsOf(const std::vector<BandRow> &rows)
{
    QStringList out;
    for (const BandRow &r : rows)
        out << r.roll;
    return out;
}

// Rolls on the table until the player accepts the row on offer.
const BandRow &rollAndConfirm(const std::vector<BandRow> &rows, bool talent)
{
    const QStringList bands = rollsOf(rows);
    const bool english = ModGeneral::DataLanguage == 1000;
    const QString words = talent ? (english ? QStringLiteral("Vous avez aquis l'aptitude")
                                            : QStringLiteral("Vous avec aquis l'aptitude"))
                                 : (english ? QStringLiteral("Vous avez aquis le défault")
                                            : QStringLiteral("Vous avec aquis le défault"));
    const QString title = Strings::Load(talent ? 3542 : 3543);
    for (;;) {
        const int idx = background::BandIndex(bands, JetDe(100).toInt());
        if (idx < 0)
            continue;   // a roll the table cannot place: roll again
        const BandRow &row = rows[static_cast<size_t>(idx)];
        const QString text = words + QLatin1Char(' ') + row.name + QStringLiteral(".\n") + QStringLiteral("Confirmer vous ce choix ?");
        if (ports::ui().MsgBox(text, ports::YesNo | ports::Question, title) == ports::Yes)
            return row;
    }
}

// The row the player has selected: a list keeps a current row even after its
// selection was cleared, and that row is no choice.
int selectedRow(const QListWidget *list)
{
    const int row = list->currentRow();
    return row >= 0 && list->item(row)->isSelected() ? row : -1;
}

} // namespace

// ======================================================================== window

frmBackground::frmBackground(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBackground"));
    setModal(true);
    setFixedSize(TwipsSize(7800, 6960));
    setFont(QFont(QStringLiteral("Arial")));
    setTag(this, QStringLiteral("3038"));
    setWindowTitle(QStringLiteral("Options d'historique"));

    Label8 = makeLabel(this, "Label8", QStringLiteral("Options d'historique"), QStringLiteral("3038"), 480, 240, 2100, 300);
    labOptionPoint = makeLabel(this, "labOptionPoint", QStringLiteral("0"), QString(), 2640, 240, 900, 360);
    QFont big(QStringLiteral("Arial"), 12);
    big.setBold(true);
    labOptionPoint->setFont(big);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    setTag(btnOk, QStringLiteral("1045"));
    btnOk->setGeometry(TwipsRect(6240, 240, 1215, 375));
    btnOk->setDefault(true);

    const int tops[4] = {840, 1200, 1560, 1920};
    const char *labelNames[4] = {"Label3", "Label5", "Label4", "Label2"};
    const int texts[4] = {5007, 5008, 5009, 5010};
    std::array<QLabel *, 4> optionLabels{};
    for (int i = 0; i < 4; ++i) {
        chkBackground[i] = new QCheckBox(this);
        chkBackground[i]->setObjectName(QStringLiteral("chkBackground_%1").arg(i));
        chkBackground[i]->setGeometry(TwipsRect(600, tops[i], 240, 300));
        optionLabels[i] = makeLabel(this, labelNames[i], QString::number(texts[i]), QString::number(texts[i]), 1200,
                                    tops[i], 6300, 300);
        connect(chkBackground[i], &QCheckBox::toggled, this, [this, i] { chkBackground_Click(i); });
        if (i >= 2) {
            chkBackground2[i] = new QCheckBox(this);
            chkBackground2[i]->setObjectName(QStringLiteral("chkBackground2_%1").arg(i));
            chkBackground2[i]->setGeometry(TwipsRect(840, tops[i], 240, 300));
            connect(chkBackground2[i], &QCheckBox::toggled, this, [this, i] { chkBackground2_Click(i); });
        }
    }
    Label3 = optionLabels[0];
    Label5 = optionLabels[1];
    Label4 = optionLabels[2];
    Label2 = optionLabels[3];

    labAptitudes = makeLabel(this, "labAptitudes", QStringLiteral("0"), QString(), 600, 2340, 540, 255);
    btnTalents = new QPushButton(QStringLiteral("..."), this);
    btnTalents->setObjectName(QStringLiteral("btnTalents"));
    btnTalents->setGeometry(TwipsRect(1200, 2280, 495, 375));
    Label7 = makeLabel(this, "Label7", QStringLiteral("Aptitude & Défauts"), QStringLiteral("5011"), 1800, 2340, 4000);
    labSpecialBonus = makeLabel(this, "labSpecialBonus", QStringLiteral("0"), QString(), 600, 2760, 540);
    Label6 = makeLabel(this, "Label6", QStringLiteral("Bonus Spécial"), QStringLiteral("5012"), 1200, 2760, 4000);

    Label12 = makeLabel(this, "Label12", QStringLiteral("+5"), QString(), 240, 3360, 360);
    Label10 = makeLabel(this, "Label10", QStringLiteral("Groupe de compétence"), QStringLiteral("3511"), 600, 3360, 3000);
    lstSkillCatBonus = new QListWidget(this);
    lstSkillCatBonus->setObjectName(QStringLiteral("lstSkillCatBonus"));
    lstSkillCatBonus->setGeometry(TwipsRect(240, 3720, 3255, 1140));
    btnSelectSkillCat = makeArrow(this, "btnSelectSkillCat", QStyle::SP_ArrowLeft, 3600, 3720);
    btnUnSelectSkillCat = makeArrow(this, "btnUnSelectSkillCat", QStyle::SP_ArrowRight, 3600, 4140);
    lstSkillCat = new QListWidget(this);
    lstSkillCat->setObjectName(QStringLiteral("lstSkillCat"));
    lstSkillCat->setGeometry(TwipsRect(4200, 3720, 3255, 1140));

    Label11 = makeLabel(this, "Label11", QStringLiteral("+10"), QString(), 120, 5160, 480);
    Label9 = makeLabel(this, "Label9", QStringLiteral("Compétence"), QStringLiteral("3509"), 600, 5160, 3000);
    lstSkillBonus = new QListWidget(this);
    lstSkillBonus->setObjectName(QStringLiteral("lstSkillBonus"));
    lstSkillBonus->setGeometry(TwipsRect(240, 5520, 3255, 1140));
    btnSelectSkill = makeArrow(this, "btnSelectSkill", QStyle::SP_ArrowLeft, 3600, 5520);
    btnUnSelectSkill = makeArrow(this, "btnUnSelectSkill", QStyle::SP_ArrowRight, 3600, 5940);
    lstSkill = new QListWidget(this);
    lstSkill->setObjectName(QStringLiteral("lstSkill"));
    lstSkill->setGeometry(TwipsRect(4200, 5520, 3255, 1140));

    connect(btnOk, &QPushButton::clicked, this, &frmBackground::btnOk_Click);
    connect(btnTalents, &QPushButton::clicked, this, &frmBackground::btnTalents_Click);
    connect(btnSelectSkill, &QPushButton::clicked, this, &frmBackground::btnSelectSkill_Click);
    connect(btnUnSelectSkill, &QPushButton::clicked, this, &frmBackground::btnUnSelectSkill_Click);
    connect(btnSelectSkillCat, &QPushButton::clicked, this, &frmBackground::btnSelectSkillCat_Click);
    connect(btnUnSelectSkillCat, &QPushButton::clicked, this, &frmBackground::btnUnSelectSkillCat_Click);

    Form_Load();
}

frmBackground::~frmBackground()
{
    for (auto it = forms().begin(); it != forms().end();) {
        if (it.value() == this || it.value().isNull())
            it = forms().erase(it);
        else
            ++it;
    }
}

int frmBackground::Number() const
{
    return TagNumber(this);
}

void frmBackground::Form_Load()
{
    try {
        LoadFormStrings(this);
        RedimSkillCatNumber();
        const QString catCol = rules::LangCol(QStringLiteral("Skill_Category"));
        dao::Recordset cats = rules::Open(QStringLiteral("SELECT * FROM [Skill Category] ORDER BY ") + catCol);
        qint32 count = 0;
        cats.MoveFirst();
        for (; !cats.Eof(); cats.MoveNext()) {
            dao::DBEngine::instance().Idle();
            ++count;
            if (count > NbSkillCatNumber)
                RedimSkillCatNumber();
            SkillCatNumber[static_cast<size_t>(count - 1)] = rulesread::Id(cats, QStringLiteral("Skill_Category_ID"));
            lstSkillCat->addItem(rulesread::Text(cats, catCol));
        }
        if (lstSkillCat->count() == 0)
            vb::Raise(vb::ErrInvalidCall);
        lstSkillCat->setCurrentRow(0);

        RedimSkillNumber();
        count = 0;
        const QString skillCol = rules::LangCol(QStringLiteral("Skill"));
        dao::Recordset skills = rules::Open(QStringLiteral("SELECT * FROM Skills  ORDER BY ") + skillCol + QStringLiteral(";"));
        skills.MoveFirst();
        for (; !skills.Eof(); skills.MoveNext()) {
            dao::DBEngine::instance().Idle();
            if (rulesread::Flag(skills, QStringLiteral("Subdivision")))
                continue;
            ++count;
            if (count > NbSkillNumber)
                RedimSkillNumber();
            SkillNumber[static_cast<size_t>(count - 1)] = rulesread::Id(skills, QStringLiteral("Skill_ID"));
            lstSkill->addItem(rulesread::Text(skills, skillCol));
        }
        if (lstSkill->count() == 0)
            vb::Raise(vb::ErrInvalidCall);
        lstSkill->setCurrentRow(0);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmBackground.Load"));
    }
    updateSelectButtons();
}

void frmBackground::RedimSkillNumber()
{
    try {
        NbSkillNumber = NbSkillNumber < 0 ? 10 : NbSkillNumber + 10;
        SkillNumber.resize(static_cast<size_t>(NbSkillNumber) + 1, 0);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmBackgroundRedimSkillNumber"));
    }
}

void frmBackground::RedimSkillCatNumber()
{
    try {
        NbSkillCatNumber = NbSkillCatNumber < 0 ? 10 : NbSkillCatNumber + 10;
        SkillCatNumber.resize(static_cast<size_t>(NbSkillCatNumber) + 1, 0);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmBackgroundRedimSkillCatNumber"));
    }
}

void frmBackground::LoadData()
{
    const int n = Number();
    forms().insert(n, this);
    showPoints(Players(n));
}

void frmBackground::showPoints(const Personnage &p)
{
    labOptionPoint->setText(QString::number(p.PointsBO));
}

qint16 frmBackground::Price() const
{
    int price = 0;
    for (int i = 0; i < 4; ++i)
        price += chkBackground[i]->isChecked() ? 1 : 0;
    for (int i = 2; i < 4; ++i)
        price += chkBackground2[i]->isChecked() ? 1 : 0;
    qint16 total = vb::Add16(price, vb::CInt(vb::Val(labAptitudes->text())));
    return vb::Add16(total, vb::CInt(vb::Val(labSpecialBonus->text())));
}

// ------------------------------------------------------------------ special bonus lists

void frmBackground::addBonus(QListWidget *source, QListWidget *target, const std::vector<qint32> &ids,
                             std::array<qint32, kBonusRows> &bonus)
{
    const int row = selectedRow(source);
    if (row < 0 || row >= static_cast<int>(ids.size()))
        return;
    // Each list keeps eleven entries at most, as many as its id table holds.
    if (target->count() >= kBonusRows)
        return;
    target->addItem(source->item(row)->text());
    bonus[static_cast<size_t>(target->count() - 1)] = ids[static_cast<size_t>(row)];
    labSpecialBonus->setText(QString::number(vb::Val(labSpecialBonus->text()) + 1));
    updateSelectButtons();
}

void frmBackground::removeBonus(QListWidget *target, std::array<qint32, kBonusRows> &bonus)
{
    const int k = selectedRow(target);
    const int c = target->count();
    if (k < 0 || k >= c)
        return;
    for (int i = k + 1; i < c; ++i)
        bonus[static_cast<size_t>(i - 1)] = bonus[static_cast<size_t>(i)];
    delete target->takeItem(k);
    // The list would select the next row by itself, and a second press would
    // remove an entry the player never chose.
    target->clearSelection();
    target->setCurrentRow(-1);
    bonus[static_cast<size_t>(c - 1)] = 0;
    const double count = vb::Val(labSpecialBonus->text());
    if (count >= 1)
        labSpecialBonus->setText(QString::number(count - 1));
    updateSelectButtons();
}

void frmBackground::updateSelectButtons()
{
    btnSelectSkill->setEnabled(lstSkillBonus->count() < kBonusRows);
    btnSelectSkillCat->setEnabled(lstSkillCatBonus->count() < kBonusRows);
}

void frmBackground::btnSelectSkill_Click()
{
    if (!bonusRefused(lstSkill, SkillNumber, 1))
        addBonus(lstSkill, lstSkillBonus, SkillNumber, BonusSkill);
}
void frmBackground::btnUnSelectSkill_Click() { removeBonus(lstSkillBonus, BonusSkill); }
void frmBackground::btnSelectSkillCat_Click()
{
    if (!bonusRefused(lstSkillCat, SkillCatNumber, 0))
        addBonus(lstSkillCat, lstSkillCatBonus, SkillCatNumber, BonusSkillCat);
}
void frmBackground::btnUnSelectSkillCat_Click() { removeBonus(lstSkillCatBonus, BonusSkillCat); }

bool frmBackground::bonusRefused(QListWidget *source, const std::vector<qint32> &ids, qint16 kind)
{
    const int row = selectedRow(source);
    const int n = Number();
    if (row < 0 || row >= static_cast<int>(ids.size()) || n < 1 || n > Players.size())
        return false;   // no choice, or no character yet: OK finds none either
    try {
        Personnage &p = Players(n);
        Personnage trial = p;
        // What is chosen already was taken when chosen; a refusal here would
        // only come from a record changed since, which OK checks again.
        if (anyBonusRefused(p, trial))
            return true;
        return refuseBonus(p, trial, source->item(row)->text(), ids[static_cast<size_t>(row)], kind);
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmBackground.btnSelect.Click"));
        return true;
    }
}

bool frmBackground::refuseBonus(Personnage &p, Personnage &trial, const QString &name, qint32 id, qint16 kind)
{
    // A bonus is taken while every total built on it that fits still fits: it
    // is refused while its point is still the player's.
    const character::limits::Range<qint32> room = trial.SpecialBonusRoom(id, kind);
    const qint64 after = trial.SpecialBonusAfter(id, kind, 1);
    if (after >= room.low && after <= room.high)
        return false;
    ports::ui().MsgBox(Strings::Load(9422).arg(name, QString::number(p.SpecialBonusAfter(id, kind, 0)),
                                               QString::number(after), QString::number(room.low),
                                               QString::number(room.high)),
                       ports::OkOnly | ports::Exclamation, ModGeneral::ProgramTitle());
    return true;
}

bool frmBackground::anyBonusRefused(Personnage &p, Personnage &trial)
{
    const auto listRefused = [&](QListWidget *list, const std::array<qint32, kBonusRows> &bonus, qint16 kind) {
        const int taken = std::min(list->count(), kBonusRows);
        for (int i = 0; i < taken; ++i) {
            const qint32 id = bonus[static_cast<size_t>(i)];
            if (refuseBonus(p, trial, list->item(i)->text(), id, kind))
                return true;
            trial.TransferBonusSkill(id, kind);
        }
        return false;
    };
    return listRefused(lstSkillCatBonus, BonusSkillCat, 0) || listRefused(lstSkillBonus, BonusSkill, 1);
}

bool frmBackground::anyBonusRefused()
{
    const int n = Number();
    if (n < 1 || n > Players.size())
        return false;
    Personnage &p = Players(n);
    Personnage trial = p;
    return anyBonusRefused(p, trial);
}

// ------------------------------------------------------------------ check boxes

void frmBackground::chkBackground_Click(int Index)
{
    if ((Index == 2 || Index == 3) && !chkBackground[Index]->isChecked())
        chkBackground2[Index]->setChecked(false);
}

void frmBackground::chkBackground2_Click(int Index)
{
    chkBackground[Index]->setChecked(chkBackground2[Index]->isChecked());
}

// ------------------------------------------------------------------ talents

void frmBackground::btnTalents_Click()
{
    const int n = Number();
    forms().insert(n, this);
    frmTalentsCost dlg(this);
    setTag(&dlg, tag(this));
    dlg.setWindowTitle(Players(n).Nom + QStringLiteral(" (") + Strings::Load(5011) + QStringLiteral(")"));
    dlg.exec();
}

// ------------------------------------------------------------------ OK

void frmBackground::checkPurchase(const Personnage &) const
{
    auto noRow = [] { vb::Raise(vb::ErrNoCurrentRecord); };
    if (chkBackground[3]->isChecked()) {
        std::vector<BandRow> items = readBands(QStringLiteral("Special Items"), QStringLiteral("Item1En"), QString());
        if (items.empty())
            noRow();
        if (!chkBackground2[3]->isChecked() && !background::BandsComplete(rollsOf(items)))
            noRow();
    }
    if (vb::Val(labAptitudes->text()) >= 1) {
        const background::TalentsCode code = background::ParseTalentsCode(tag(btnTalents));
        if (!code.valid())
            vb::Raise(vb::ErrTypeMismatch);
        const auto talents = readBands(QStringLiteral("SELECT * From Talents WHERE ((Type_ID=") + QString::number(code.degree)
                                           + QStringLiteral("));"),
                                       QStringLiteral("TalentEn"), QStringLiteral("Talents_ID"));
        if (talents.empty() || (code.rolled() && !background::BandsComplete(rollsOf(talents))))
            noRow();
        if (code.hasFlaw()) {
            const auto flaws = readBands(QStringLiteral("SELECT * From Flaws WHERE ((Type_ID=")
                                             + QString::number(code.flawType()) + QStringLiteral("));"),
                                         QStringLiteral("FlawEn"), QStringLiteral("Flaws_ID"));
            if (!background::BandsComplete(rollsOf(flaws)))
                noRow();
        }
    }
}

void frmBackground::btnOk_Click()
{
    bool spent = false;
    try {
        const int n = Number();
        forms().insert(n, this);
        Personnage &p = Players(n);

        const qint16 price = Price();
        // Buying nothing is always allowed, so a dialog with no points to
        // spend (none or, by a stray value, fewer) still leads on.
        if (price > 0 && price > p.PointsBO) {
            ports::ui().MsgBox(QStringLiteral("Dépassement"), ports::OkOnly, ModGeneral::ProgramTitle());
            return;
        }
        checkPurchase(p);
        if (anyBonusRefused() || moneyRefused(p))
            return;

        p.PointsBO = vb::Sub16(p.PointsBO, price);
        spent = true;
        showPoints(p);

        if (chkBackground[1]->isChecked()) {
            if (background::links().StatGainRolls)
                background::links().StatGainRolls(n);
        }
        if (chkBackground[2]->isChecked())
            ExtraMoney(p);
        if (chkBackground[3]->isChecked())
            SpecialItem(p);
        if (vb::Val(labAptitudes->text()) >= 1)
            TalentsAndFlaws(p);
        if (vb::Val(labSpecialBonus->text()) >= 1)
            SpecialBonus(p);

        if (chkBackground[0]->isChecked()) {
            LanguageStage(n);
            return;
        }
        if (p.PointsBO <= 0) {
            HobbyStage(n, p);
            return;
        }
        // Nothing bought and points left: the dialog stays, and says why.
        if (price == 0)
            ports::ui().MsgBox(Strings::Load(9101).arg(p.PointsBO), ports::OkOnly | ports::Information,
                               ModGeneral::ProgramTitle());
        for (QCheckBox *box : {chkBackground[0], chkBackground[1], chkBackground[2], chkBackground[3],
                               chkBackground2[2], chkBackground2[3]})
            box->setChecked(false);
        showPoints(p);   // a special item given back shows its points again
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmBackground.btnOk.click"));
        if (spent)
            resetPurchase();
    }
}

bool frmBackground::moneyRefused(const Personnage &p) const
{
    // The roll comes after the point is spent, and an amount the fortune
    // cannot hold would then fail with the point gone: the best roll, which
    // brings what the fixed choice brings, is checked first.
    if (!chkBackground[2]->isChecked())
        return false;
    const qint64 most = qint64(p.Money) + qint64(background::MoneyForRoll(100)) * 10000;
    if (character::limits::kMoney.contains(most))
        return false;
    ports::ui().MsgBox(Strings::Load(9550).arg(p.Nom, QString::number(character::limits::kMoney.high / 10000)),
                       ports::OkOnly | ports::Exclamation, ModGeneral::ProgramTitle());
    return true;
}

qint32 frmBackground::ExtraMoney(Personnage &p)
{
    const qint32 amount = chkBackground2[2]->isChecked() ? 200 : background::MoneyForRoll(JetDe(100).toInt());
    ports::ui().MsgBox(Strings::Load(5047) + QLatin1Char(' ') + QString::number(amount) + QLatin1Char(' ')
                           + Strings::Load(5048),
                       ports::OkOnly, ModGeneral::ProgramTitle());
    // A gold piece here is the one of the sheet's first coin box, which holds
    // Money in ten-thousands.
    p.Money = vb::Add32(p.Money, static_cast<qint64>(amount) * 10000);
    return amount;
}

void frmBackground::SpecialItem(Personnage &)
{
    const QString number = QString::number(Number());
    if (chkBackground2[3]->isChecked()) {
        frmSpecialItemChoose dlg(this);
        setTag(&dlg, number);
        dlg.setWindowTitle(Strings::Load(5050));
        dlg.exec();
    } else {
        frmSpecialItem dlg(this);
        setTag(&dlg, number);
        dlg.setWindowTitle(Strings::Load(5050));
        dlg.exec();
    }
}

void frmBackground::TalentsAndFlaws(Personnage &p)
{
    const background::TalentsCode code = background::ParseTalentsCode(tag(btnTalents));
    const qint16 price = vb::CInt(vb::Val(labAptitudes->text()));
    const int n = Number();
    bool haveTalent = false;
    qint32 talentId = 0;
    if (code.rolled()) {
        const auto rows = readBands(QStringLiteral("SELECT * From Talents WHERE ((Type_ID=") + QString::number(code.degree)
                                        + QStringLiteral("));"),
                                    QStringLiteral("TalentEn"), QStringLiteral("Talents_ID"));
        if (rows.empty())
            vb::Raise(vb::ErrNoCurrentRecord);
        const BandRow &row = rollAndConfirm(rows, true);
        p.Historique = p.HistoryText() + QStringLiteral("\r\n")
                       + Personnage::HistoryLineBreaks(Strings::Load(3542) + QStringLiteral(": ") + row.name
                                                       + QStringLiteral("\r\n") + row.note);
        talentId = row.id;
        haveTalent = true;
    } else {
        // An id left by an earlier pass must not be taken for this one's choice.
        setTag(labAptitudes, QString());
        frmTalents dlg(this);
        setTag(dlg.grdTalent, QString::number(code.degree));
        setTag(&dlg, QString::number(n));
        dlg.setWindowTitle(p.Nom + QStringLiteral(" (") + Strings::Load(3542) + QStringLiteral(")"));
        dlg.LoadData();
        dlg.exec();
        const QString chosen = tag(labAptitudes).trimmed();
        if (!chosen.isEmpty()) {
            talentId = vb::CLng(chosen);
            haveTalent = true;
        } else {
            // No talent chosen: the points paid for it come back and no flaw follows.
            p.PointsBO = vb::Add16(p.PointsBO, price);
            showPoints(p);
        }
    }
    if (haveTalent) {
        p.TransferTalent(talentId);
        if (code.hasFlaw()) {
            const auto rows = readBands(QStringLiteral("SELECT * From Flaws WHERE ((Type_ID=")
                                            + QString::number(code.flawType()) + QStringLiteral("));"),
                                        QStringLiteral("FlawEn"), QStringLiteral("Flaws_ID"));
            if (rows.empty())
                vb::Raise(vb::ErrNoCurrentRecord);
            const BandRow &row = rollAndConfirm(rows, false);
            p.TransferFlaw(row.id);
            const QString line = Strings::Load(3543) + QStringLiteral(": ") + row.name + QStringLiteral("\r\n") + row.note;
            p.Historique = background::AppendHistoryLine(p.HistoryText(), line);
        }
    }
    labAptitudes->setText(QStringLiteral("0"));
    setTag(labAptitudes, QString());
    setTag(btnTalents, QString());
}

void frmBackground::SpecialBonus(Personnage &p)
{
    // A talent taken in the same OK may have moved a bonus since it was
    // chosen: then none is applied and their points come back.
    if (anyBonusRefused()) {
        p.PointsBO = vb::Add16(p.PointsBO, vb::CInt(vb::Val(labSpecialBonus->text())));
        showPoints(p);
    } else {
        for (int i = 0; i < lstSkillCatBonus->count(); ++i)
            p.TransferBonusSkill(BonusSkillCat[static_cast<size_t>(i)], 0);
        for (int i = 0; i < lstSkillBonus->count(); ++i)
            p.TransferBonusSkill(BonusSkill[static_cast<size_t>(i)], 1);
    }
    lstSkillCatBonus->clear();
    BonusSkillCat.fill(0);
    lstSkillBonus->clear();
    BonusSkill.fill(0);
    labSpecialBonus->setText(QStringLiteral("0"));
    updateSelectButtons();
}

void frmBackground::LanguageStage(int n)
{
    ModGeneral::SkillDevMode = QStringLiteral("Langue");
    m_leaving = true;
    done(QDialog::Accepted);
    background::links().OpenStage(n, QStringLiteral("Historique"), 20);
}

void frmBackground::HobbyStage(int n, Personnage &p)
{
    ModGeneral::SkillDevMode.clear();
    dao::Recordset rs = rules::Open(QStringLiteral("SELECT * FROM [Race Abilities] WHERE Race_ID= ")
                                        + QString::number(p.Race_ID));
    if (rs.Eof())
        vb::Raise(vb::ErrNoCurrentRecord);
    const qint16 ranks = vb::CInt(rs.Value(QStringLiteral("Hobby_Ranks")));
    rs.Close();
    ports::ui().MsgBox(Strings::Load(5030) + QLatin1Char(' ') + QString::number(ranks) + QLatin1Char(' ')
                           + Strings::Load(3076) + QLatin1Char('.'),
                       ports::OkOnly, Strings::Load(3076));
    m_leaving = true;
    done(QDialog::Accepted);
    background::links().OpenStage(n, QStringLiteral("Hobby Ranks"), ranks);
}

void frmBackground::resetPurchase()
{
    for (QCheckBox *box : {chkBackground[0], chkBackground[1], chkBackground[2], chkBackground[3],
                           chkBackground2[2], chkBackground2[3]})
        box->setChecked(false);
    labAptitudes->setText(QStringLiteral("0"));
    setTag(labAptitudes, QString());
    setTag(btnTalents, QString());
    lstSkillBonus->clear();
    lstSkillCatBonus->clear();
    BonusSkill.fill(0);
    BonusSkillCat.fill(0);
    labSpecialBonus->setText(QStringLiteral("0"));
    updateSelectButtons();
    showPoints(Players(Number()));
}

void frmBackground::reject()
{
    // Esc and the frame's close box leave the dialog open: only OK leads on.
    if (m_leaving)
        QDialog::reject();
}

void frmBackground::closeEvent(QCloseEvent *event)
{
    if (m_leaving)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

// ======================================================================== links

namespace background {

frmBackground *BackgroundForm(int n)
{
    const auto it = forms().constFind(n);
    return it == forms().constEnd() ? nullptr : it.value().data();
}

void OpenBackgroundOptions(int n, bool loadData)
{
    try {
        Personnage &p = Players(n);
        auto *dlg = new frmBackground(MainFrame::ModalParent());
        dlg->setAttribute(Qt::WA_DeleteOnClose, false);
        setTag(dlg, QString::number(n));
        forms().insert(n, dlg);
        dlg->setWindowTitle(p.Nom + QStringLiteral(" (") + Strings::Load(3038) + QStringLiteral(")"));
        if (loadData)
            dlg->LoadData();
        dlg->exec();
        dlg->deleteLater();
    } catch (...) {
        ReportCurrentException(QStringLiteral("frmBackground.Load"));
    }
}

namespace {

// Opens a stage on a new skill development window of character n.
void OpenStageWindow(int n, const QString &stage, qint16 ranks)
{
    const skilldev::Stage which = stage == QLatin1String("Historique") ? skilldev::Stage::BackgroundLanguages
                                                                       : skilldev::Stage::HobbyRanks;
    if (!skilldev::OpenStage(n, which, ranks))
        vb::Raise(vb::ErrSubscript);   // no window slot for this character
}

Links windowLinks()
{
    Links l;
    l.StatGainRolls = newchar::OpenStatGainRolls;
    l.OpenStage = OpenStageWindow;
    return l;
}

} // namespace

Links &links()
{
    static Links l = windowLinks();
    return l;
}

void resetLinks()
{
    links() = windowLinks();
}

} // namespace background
