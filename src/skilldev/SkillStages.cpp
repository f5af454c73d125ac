// The end of a development stage, the opening of the next one, and the
// adolescence special-skills pass between the adolescence languages and the
// background options.
#include "skilldev/frmSkillDev.h"

#include "background/frmBackground.h"
#include "background/frmTraining.h"
#include "background/frmWeaponChoises.h"
#include "character/Limits.h"
#include "character/OneListChoices.h"
#include "character/Personnage.h"
#include "character/Players.h"
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "frame/ui/LoadFormStrings.h"
#include "frame/ui/MainFrame.h"
#include "newcharacter/frmStatGainRolls.h"
#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

using ModGeneral::Players;
using ModGeneral::ProgramTitle;

namespace {

// Puts a per-character window in front, maximised.
void PresentMaximised(CharacterWindow *w)
{
    if (!w)
        return;
    if (MainFrame *main = MainFrame::instance()) {
        main->Present(w);
        w->Tableau();
    } else {
        w->showMaximized();
    }
}

// The windows the stage steps open.
skilldev::StageHooks WindowHooks()
{
    skilldev::StageHooks h;
    h.WeaponCategoryOrder = background::OpenWeaponCategoryOrder;
    h.BackgroundOptions = background::OpenBackgroundOptions;
    h.StatGainRolls = newchar::OpenStatGainRolls;
    h.TrainingPackages = background::OpenTrainingPackages;
    return h;
}

// A package bought earlier in the stage that the character can no longer take
// (the sheet changed its age or money since) is taken off with its points
// given back, and the stage stays for them to be spent: true when so.
bool GiveBackRefusedPackage(frmSkillDev &w, qint32 package)
{
    const QString why = Players(w.Number()).TrainingRefusal(package);
    if (why.isEmpty())
        return false;
    const qint64 paid = vb::CLng(vb::Val(w.labTrainingCost->text()));
    w.labPD->setText(QString::number(vb::Check16(qint64(vb::CLng(vb::Val(w.labPD->text()))) + std::max<qint64>(paid, 0))));
    w.labTraining->clear();
    ::setTag(w.labTraining, QString());
    w.labTrainingCost->clear();
    ports::ui().MsgBox(why, ports::OkOnly | ports::Exclamation, ProgramTitle());
    return true;
}

} // namespace

namespace skilldev {

StageHooks &Hooks()
{
    static StageHooks hooks = WindowHooks();
    return hooks;
}

void ResetHooks()
{
    Hooks() = WindowHooks();
}

frmSkillDev *OpenStage(int n, Stage stage, qint16 points)
{
    if (!SkillDevForms.inRange(n))
        return nullptr;
    auto *w = new frmSkillDev;
    SkillDevForms.put(n, w);
    w->setTag(QString::number(n));
    switch (stage) {
    case Stage::AdolescenceLanguages:
        ModGeneral::SkillDevMode = QStringLiteral("Langue");
        w->LoadData();
        w->setStageMarker(QStringLiteral("Linguistique"));
        w->labDevlopment[13]->setText(Strings::Load(3075));
        w->setRanksMarker(QStringLiteral("Ranks"));
        break;
    case Stage::BackgroundLanguages:
        ModGeneral::SkillDevMode = QStringLiteral("Langue");
        w->LoadData();
        w->setRanksMarker(QStringLiteral("Ranks"));
        w->setStageMarker(QStringLiteral("Historique"));
        w->labDevlopment[13]->setText(Strings::Load(3075));
        break;
    case Stage::HobbyRanks:
        ModGeneral::SkillDevMode.clear();
        w->setRanksMarker(QStringLiteral("Ranks"));
        w->setStageMarker(QStringLiteral("Hobby Ranks"));
        w->LoadData();
        w->labDevlopment[13]->setText(Strings::Load(3076));
        break;
    }
    w->labPD->setText(QString::number(points));
    w->btnEnd->setEnabled(true);
    w->labTrainingCost->hide();
    w->labTraining->hide();
    w->btnTraning->hide();
    PresentMaximised(w);
    return w;
}

void SpecialSkillAdolesence(const QString &index)
{
    try {
        const int n = index.trimmed().toInt();
        Personnage &p = Players(n);
        const QString nameColumn = rules::LangCol(QStringLiteral("Skill"));
        dao::Recordset skills = rules::Open(QStringLiteral("SELECT * FROM [Skills] ORDER BY ") + nameColumn);
        auto rankWord = [](qint32 ranks) { return Strings::Load(ranks == 1 ? 3075 : 3080); };
        auto choose = [&](qint32 mode, qint32 skill, qint32 ranks, const QString &caption) {
            std::vector<ports::ChooserItem> items;
            try {
                items = onelist::Items(p, mode, skill);
            } catch (...) {
                ReportCurrentException(QStringLiteral("frmArmeAdolescence.LoadData"));
                return;   // said once already
            }
            // An empty list still goes to the chooser, which tells the player
            // there is nothing to pick.
            const qint32 chosen = ports::ui().ChooseOneTitled(n, mode, items, caption);
            const bool offered = std::any_of(items.begin(), items.end(),
                                             [chosen](const ports::ChooserItem &it) { return it.id == chosen; });
            if (offered)
                p.AddDevelopment(mode == 999 ? RankKind::WeaponSkill : RankKind::SpellList, skill, chosen, ranks, 0);
        };

        for (qint32 row = 0; p.NbSkill > 0 && row <= p.NbSkill; ++row) {
            const qint32 id = p.DirSkills(0, row);
            const qint32 ranks = p.DirSkills(1, row);
            if (id >= 226 && id <= 232 && ranks > 0) {
                p.PointsBO = 999;
                ModGeneral::WeaponChoiceArgs[0] = id;
                ModGeneral::WeaponChoiceArgs[2] = ranks;
                if (rules::Find(skills, QStringLiteral("Skill_ID"), id)) {
                    const QString name = skills.Value(nameColumn).toString();
                    choose(999, id, ranks,
                           name + QStringLiteral(" (") + QString::number(ranks) + QLatin1Char(' ') + rankWord(ranks)
                               + QLatin1Char(')'));
                }
            }
            if (id >= 161 && id <= 168 && ranks >= 1) {
                p.PointsBO = 888;
                ModGeneral::WeaponChoiceArgs[0] = id;
                ModGeneral::WeaponChoiceArgs[2] = ranks;
                if (rules::Find(skills, QStringLiteral("Skill_ID"), id)) {
                    const QString name = skills.Value(nameColumn).toString();
                    const QString caption = name + QStringLiteral(" (") + QString::number(ranks) + QLatin1Char(' ')
                        + rankWord(ranks) + QLatin1Char(')');
                    ports::ui().MsgBox(Strings::Load(ranks == 1 ? 5032 : 5034) + QLatin1Char(' ') + name
                                           + QLatin1Char(' ') + Strings::Load(5056),
                                       ports::OkOnly, ProgramTitle());
                    choose(888, id, ranks, caption);
                }
            }
            ModGeneral::WeaponChoiceArgs[1] = id;
            ModGeneral::WeaponChoiceArgs[2] = ranks;
            const bool special = (id >= 226 && id <= 232) || (id >= 161 && id <= 168) || id == 32 || id == 33;
            if (ranks >= 1 && !special && rules::Find(skills, QStringLiteral("Skill_ID"), id)
                && vb::CLng(skills.Value(QStringLiteral("Subdivision"))) != 0) {
                dao::DBEngine_().Idle();
                const QString name = skills.Value(nameColumn).toString();
                const QString title = name + QStringLiteral(" (") + QString::number(ranks) + QLatin1Char(' ')
                    + rankWord(ranks) + QLatin1Char(')');
                const QString prompt = Strings::Load(ranks == 1 ? 5035 : 5036) + QLatin1Char(' ') + name
                    + QLatin1Char('.') + QLatin1Char('\n') + Strings::Load(5037);
                QString answer = ports::ui().InputBox(prompt, title, QString());
                if (answer.isEmpty())
                    answer = QStringLiteral("EMPTY");
                p.AddSubSkills(id, answer, ModGeneral::WeaponChoiceArgs[2]);
            }
        }
        skills.Close();
        ModGeneral::SkillDevMode.clear();
        p.TranferRank();

        ports::ui().MsgBox(Strings::Load(5055), ports::OkOnly, ProgramTitle());
        Hooks().WeaponCategoryOrder(n);

        // A race without a row gives no background option points rather than
        // leaving the new character stuck before its background.
        dao::Recordset race = rules::Open(QStringLiteral("SELECT * FROM [Race Abilities] WHERE Race_ID= ")
                                          + QString::number(p.Race_ID));
        const qint16 options = race.Eof() ? 0 : vb::CInt(race.Value(QStringLiteral("BG_opts")));
        ports::ui().MsgBox(Strings::Load(5038) + QLatin1Char(' ') + QString::number(options) + QLatin1Char(' ')
                               + Strings::Load(5039),
                           ports::OkOnly, Strings::Load(3038));
        p.PointsBO = options;
        race.Close();
        // The options open over the window whose stage just ended, which goes
        // once they close (its End does that): closed first, it would leave the
        // dialog over whichever window came up next, another character's too.
        Hooks().BackgroundOptions(n, true);
    } catch (...) {
        ReportCurrentException(QStringLiteral("SpecialSkillAdolesence"));
    }
}

} // namespace skilldev

void frmSkillDev::btnTraning_Click()
{
    skilldev::Hooks().TrainingPackages(Number());
}

void frmSkillDev::btnEnd_Click()
{
    try {
        const int n = Number();
        Personnage &p = Record();
        if (vb::Val(labPD->text()) > 0) {
            // Free ranks left in a rank stage, development points otherwise.
            const QString text = Strings::Load(RankStage() ? 5023 : 5022) + QLatin1Char('\n') + Strings::Load(5024);
            if (ports::ui().MsgBox(text, ports::YesNo, ProgramTitle()) == ports::No)
                return;
        }
        if (!tag(labTraining).isEmpty()) {
            const qint16 package = vb::CInt(tag(labTraining));
            if (GiveBackRefusedPackage(*this, package))
                return;
            // Applied once, whatever happens next: a hand-over that fails and
            // an End pressed again must not add its money, age and history twice.
            labTraining->clear();
            ::setTag(labTraining, QString());
            labTrainingCost->clear();
            p.TransferTraining(package, Tag());
            p.PointsBO = 0;
        }
        // A failed hand-over keeps the stage's purchases and the window: the
        // player can end the stage again.
        if (!p.TranferRank())
            return;
        labPD->setText(QStringLiteral("0"));
        p.PdeD = 0;

        const QString stage = StageMarker();
        if (stage == QLatin1String("Linguistique")) {
            btnEnd->setEnabled(true);
            // The pass's last dialog may have opened the next stage's window in
            // this one's slot: that one must not be taken for this one.
            const QPointer<frmSkillDev> self(this);
            skilldev::SpecialSkillAdolesence(QString::number(n));
            p.TranferRank();
            if (self)
                self->Unload();
            return;
        }
        if (p.PointsBO > 0 || stage == QLatin1String("Historique")) {
            // As after adolescence: the options open over this window, which
            // goes once they close; closed first, it would leave them over
            // whichever window came up next, another character's too.
            const bool withPoints = p.PointsBO > 0;
            btnEnd->setEnabled(true);
            ModGeneral::SkillDevMode.clear();
            const QPointer<frmSkillDev> self(this);
            skilldev::Hooks().BackgroundOptions(n, withPoints);
            if (self)
                self->Unload();
            return;
        }
        if (stage == QLatin1String("Hobby Ranks")) {
            btnEnd->setEnabled(true);
            setRanksMarker(QString());
            labDevlopment[13]->setText(Strings::Load(3079));
            setStageMarker(QString());
            ports::ui().MsgBox(Strings::Load(5025), ports::OkOnly, Strings::Load(3052) + QStringLiteral(" 1"));
            const qint16 points = p.DevelopmentPoint();
            labPD->setText(QString::number(points));
            p.PdeD = points;
            // The new sheet replaces an earlier one, which goes with it.
            if (CharacterWindow *old = GeneralForms.peek(n)) {
                if (auto *sub = qobject_cast<QMdiSubWindow *>(old->parentWidget()))
                    sub->close();
                else
                    old->close();
            }
            CharacterWindow *sheet = GeneralForms.make();
            GeneralForms.put(n, sheet);
            Unload();
            if (sheet) {
                sheet->setTag(QString::number(n));
                sheet->LoadData();
                PresentMaximised(sheet);
            }
            return;
        }

        // A level: experience climbs in steps of 10000 until the level changes.
        // It never climbs past the top of its range, where the level is still
        // computable; the top starts a level, so below it the climb always
        // ends on a new level, and at it the level cannot rise.
        const qint32 top = character::limits::kExperience.high;
        bool rose = false;
        qint16 reached = 0;
        if (p.Experience >= top) {
            ports::ui().MsgBox(Strings::Load(9259).arg(top), ports::OkOnly | ports::Exclamation, ProgramTitle());
        } else {
            const qint16 level = p.CalNiveau();
            reached = level;
            while (reached == level && p.Experience < top) {
                p.Experience = static_cast<qint32>(std::min<qint64>(qint64(p.Experience) + 10000, top));
                reached = p.CalNiveau();
            }
            rose = reached != level;
        }
        if (rose && reached > 1)
            skilldev::Hooks().StatGainRolls(n);
        CharacterWindow *sheet = GeneralForms[n];
        if (sheet) {
            if (sheet->Tag().isEmpty())
                sheet->setTag(Tag());
            sheet->LoadData();
        }
        btnEnd->setEnabled(false);
        for (int k = 0; k < 3; ++k) {
            chkSkill[static_cast<size_t>(k)]->setEnabled(false);
            chkSkillCategory[static_cast<size_t>(k)]->setEnabled(false);
        }
        Unload();
        PresentMaximised(sheet);
    } catch (...) {
        ReportCurrentException(Location(".btnEnd.Click"));
    }
}
