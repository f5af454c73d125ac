#pragma once
// The background options dialog: the player spends a new character's
// background option points on extra languages, statistic gain rolls, money,
// a special item, a talent (with or without a flaw) and special skill
// bonuses. OK applies what was composed and leads to the next stage.
//
// One dialog per character, found by number through BackgroundForm(); the
// talent cost table and the talent chooser write their results into its
// labAptitudes and btnTalents. The dialog has no Cancel: the points are spent
// through OK, and closing it by its frame is refused, since the character's
// next stage starts only from OK.
#include <QDialog>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class Personnage;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

class frmBackground : public QDialog {
    Q_OBJECT
public:
    explicit frmBackground(QWidget *parent = nullptr);
    ~frmBackground() override;

    // ------------------------------------------------------------ controls
    QLabel *Label8 = nullptr;
    QLabel *labOptionPoint = nullptr;
    QPushButton *btnOk = nullptr;
    std::array<QCheckBox *, 4> chkBackground{};
    std::array<QCheckBox *, 4> chkBackground2{};   // elements 2 and 3 only
    QLabel *Label3 = nullptr, *Label5 = nullptr, *Label4 = nullptr, *Label2 = nullptr;
    QLabel *labAptitudes = nullptr;   // caption: talent price; Tag: chosen Talents_ID
    QPushButton *btnTalents = nullptr; // Tag: the talents choice code
    QLabel *Label7 = nullptr;
    QLabel *labSpecialBonus = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label12 = nullptr, *Label10 = nullptr, *Label11 = nullptr, *Label9 = nullptr;
    QListWidget *lstSkillCatBonus = nullptr;
    QListWidget *lstSkillCat = nullptr;
    QListWidget *lstSkillBonus = nullptr;
    QListWidget *lstSkill = nullptr;
    QPushButton *btnSelectSkillCat = nullptr, *btnUnSelectSkillCat = nullptr;
    QPushButton *btnSelectSkill = nullptr, *btnUnSelectSkill = nullptr;

    // ------------------------------------------------------------ tables
    static constexpr int kBonusRows = 11;
    std::vector<qint32> SkillNumber;
    qint32 NbSkillNumber = -1;
    std::vector<qint32> SkillCatNumber;
    qint32 NbSkillCatNumber = -1;
    std::array<qint32, kBonusRows> BonusSkill{};
    std::array<qint32, kBonusRows> BonusSkillCat{};

    // ------------------------------------------------------------ procedures
    // Shows the character's points (the character number is in Tag).
    void LoadData();
    void RedimSkillNumber();
    void RedimSkillCatNumber();
    // The price of what is composed, as OK counts it.
    qint16 Price() const;

    // Number of the character (the Tag as a whole number).
    int Number() const;

public slots:
    void btnSelectSkill_Click();
    void btnUnSelectSkill_Click();
    void btnSelectSkillCat_Click();
    void btnUnSelectSkillCat_Click();
    void chkBackground_Click(int Index);
    void chkBackground2_Click(int Index);
    void btnTalents_Click();
    void btnOk_Click();
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void addBonus(QListWidget *source, QListWidget *target, const std::vector<qint32> &ids,
                  std::array<qint32, kBonusRows> &bonus);
    void removeBonus(QListWidget *target, std::array<qint32, kBonusRows> &bonus);
    void updateSelectButtons();
    // Whether the special bonus selected in `source` (kind 0 category, 1
    // skill), on top of every one already chosen, would take a figure of the
    // record past what it can hold; says so when it would.
    bool bonusRefused(QListWidget *source, const std::vector<qint32> &ids, qint16 kind);
    // Whether one more bonus of `kind` on `id` is refused in `trial`, the
    // record `p` with the bonuses before it; says so when it is.
    bool refuseBonus(Personnage &p, Personnage &trial, const QString &name, qint32 id, qint16 kind);
    // The same for every entry of both lists, in the order OK applies them,
    // on the record as it holds now; `trial` then holds them all.
    bool anyBonusRefused(Personnage &p, Personnage &trial);
    bool anyBonusRefused();
    // Checks, before any point is spent, that the rules data can serve the
    // options composed; raises the error the option would meet otherwise.
    void checkPurchase(const Personnage &p) const;
    // Whether extra money, at the most a roll can bring, would pass what the
    // fortune holds; says so when it would.
    bool moneyRefused(const Personnage &p) const;
    // Extra money: returns the amount in gold pieces.
    qint32 ExtraMoney(Personnage &p);
    void SpecialItem(Personnage &p);
    void TalentsAndFlaws(Personnage &p);
    void SpecialBonus(Personnage &p);
    void LanguageStage(int n);
    void HobbyStage(int n, Personnage &p);
    // Forgets the composed purchase after a failed OK, so that a second OK
    // does not apply again what the first one already did.
    void resetPurchase();
    void showPoints(const Personnage &p);
    bool m_leaving = false;
};

namespace background {

// The background options dialog of character n (null when none is open).
frmBackground *BackgroundForm(int n);

// Opens the background options dialog of character n modally; with loadData
// false it starts with its layout's zero points shown.
void OpenBackgroundOptions(int n, bool loadData);

// Where the dialog leads: the stages and the statistic gain rolls live in
// other windows, reached through these links so that each side stays testable.
struct Links {
    // The statistic gain rolls for character n (modal).
    std::function<void(int n)> StatGainRolls;
    // Opens the skill development window of character n for a stage:
    // stage "Historique" (20 language ranks) or "Hobby Ranks" (ranks given).
    std::function<void(int n, const QString &stage, qint16 ranks)> OpenStage;
};
Links &links();
void resetLinks();

} // namespace background
