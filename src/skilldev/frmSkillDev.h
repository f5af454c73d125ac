#pragma once
// The skill development window of one character: ranks of skills and skill
// categories are bought stage after stage (adolescence languages, background
// languages, hobby ranks, then one stage per level) with development points or
// free ranks.
//
// Three markers tell the stages apart, written by whoever opens a stage:
//  - StageMarker, the Tag of labDevlopment[13]: "Linguistique", "Historique",
//    "Hobby Ranks", or anything else for a level stage;
//  - RanksMarker, the Tag of labPD: "Ranks" while labPD counts free ranks;
//  - ModGeneral::SkillDevMode: "Langue" while only the language category shows
//    (the window keeps the mode it was filled with).
#include "frame/ui/CharacterWindow.h"
#include "platform/dao.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

class MainFrame;
class Personnage;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

class frmSkillDev : public CharacterWindow {
    Q_OBJECT
public:
    explicit frmSkillDev(QWidget *parent = nullptr);
    ~frmSkillDev() override;

    // ---------------------------------------------------------------- controls
    QTreeWidget *trvSkillCategorie = nullptr;
    QTreeWidget *trvIndex = nullptr;
    QTreeWidget *trvIndex2 = nullptr;
    QTableWidget *grdSkill = nullptr;

    QGroupBox *fraSkillCat = nullptr;
    QLabel *labSkillCat = nullptr;
    QLabel *labStatSkillCat = nullptr;
    QLabel *labRankSkillCat = nullptr;
    QLabel *labProgressionSkillCat = nullptr;
    QLabel *DevCostSkillCat = nullptr;
    QLabel *labNewRanksSkillCat = nullptr;
    std::array<QCheckBox *, 3> chkSkillCategory{};
    std::array<QLineEdit *, 5> labBonusSkillCat{};

    QGroupBox *fraSkill = nullptr;
    QLabel *labSkill = nullptr;
    QLabel *labRankSkill = nullptr;
    QLabel *labProgressionSkill = nullptr;
    QLabel *labFacteur = nullptr;
    std::array<QCheckBox *, 3> chkSkill{};
    std::array<QLineEdit *, 5> labBonusSkill{};
    QPushButton *btnSubSkill = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *btnDelSkill = nullptr;

    QGroupBox *fraDevelopment = nullptr;
    QPushButton *btnEnd = nullptr;
    QPushButton *btnTraning = nullptr;
    QLabel *labPD = nullptr;
    QLabel *labTraining = nullptr;
    QLabel *labTrainingCost = nullptr;
    // Fixed headings 1 to 19; there are no elements 0 and 14.
    std::array<QLabel *, 20> labDevlopment{};

    // ---------------------------------------------------------------- markers
    QString StageMarker() const;
    void setStageMarker(const QString &marker);
    QString RanksMarker() const;
    void setRanksMarker(const QString &marker);
    bool RankStage() const { return RanksMarker() == QLatin1String("Ranks"); }
    // The mode the window was last filled with ("Langue" or empty).
    QString Mode() const { return m_mode; }
    bool LanguageMode() const { return m_mode == QLatin1String("Langue"); }

    // ---------------------------------------------------------------- window
    void LoadData() override;
    void Tableau() override;
    // Sets the main window's toolbar for this window at its stage, with the
    // background option points of character `number`.
    void ToolbarFor(MainFrame &main, int number) const;
    void Form_Activate() override;
    // Closes the window once; later calls do nothing.
    void Unload();

    // ---------------------------------------------------------------- tree
    void LoadSkillData();
    int NodeCount() const { return static_cast<int>(m_nodes.size()); }
    // Node by its index (1 = first added); null outside 1..NodeCount.
    QTreeWidgetItem *Node(int index) const;
    QTreeWidgetItem *NodeByKey(const QString &key) const { return m_keys.value(key, nullptr); }
    int IndexOf(const QTreeWidgetItem *node) const;
    static QString NodeKey(const QTreeWidgetItem *node);
    // The two letters a node key starts with for a rank table kind ("SC" for
    // a category, "SK", "SS", "SL", "SW", "SP"), and back; 0 for none.
    static QString KeyPrefix(qint16 kind);
    static qint16 KindOfKey(const QString &key);
    // The kind of a skill-type key (2 to 6); 0 for a category key or none.
    static qint16 SkillKindOfKey(const QString &key);
    static QString NodeTag(const QTreeWidgetItem *node);
    static void SetNodeTag(QTreeWidgetItem *node, const QString &nodeTag);
    static QString NodeImage(const QTreeWidgetItem *node);
    static QString NodeText(const QTreeWidgetItem *node);
    void SetNodeImage(QTreeWidgetItem *node, const QString &image);

    void Connus(QTreeWidgetItem *node, qint32 id, qint32 skill, qint16 kind);
    void DelColor();
    qint32 DirSkill_ID(const QString &key);
    qint32 DirSubSkill_ID(const QString &key);
    void TriTableauSkill(int lo, int hi);

    // ---------------------------------------------------------------- panels
    void AfficheSkill(QTreeWidgetItem *node);
    void AfficheSkillCategory(QTreeWidgetItem *node);
    void DevCostSkillCat_Change();
    // Shows in labPD the character's development points less what the
    // stage's listed purchases (and a package bought in it) already cost.
    void ShowStagePoints();

    // ---------------------------------------------------------------- purchase
    void chkSkill_MouseUp(int index);
    void chkSkillCategory_MouseUp(int index);
    void btnSubSkill_Click();

    // ---------------------------------------------------------------- end of stage
    void btnEnd_Click();
    void btnTraning_Click();

    // ---------------------------------------------------------------- bonus boxes
    void labBonusSkill_KeyPress(int index, int keyAscii);
    void labBonusSkill_LostFocus(int index);
    void labBonusSkillCat_KeyPress(int index, int keyAscii);
    void labBonusSkillCat_LostFocus(int index);
    // A bonus box the player is still typing into stores, as leaving it would.
    void StoreTyping() override;

    // ---------------------------------------------------------------- navigation
    void trvSkillCategorie_NodeClick(QTreeWidgetItem *node);
    void grdSkill_Click();
    void trvSkillCategorie_Expand(QTreeWidgetItem *node);
    void trvSkillCategorie_Collapse(QTreeWidgetItem *node);
    void trvSkillCategorie_GotFocus();

    // ---------------------------------------------------------------- form data
    // The skills developed this stage, rows 1..SkillRowCount (row 0 unused):
    // node index, node text, ranks held, ranks bought in this stage.
    std::vector<std::array<QString, 4>> SkillTable;
    qint32 SkillRowCount = 0;
    QTreeWidgetItem *CurrentNode = nullptr;
    qint32 ParentNodeIndex = 0;

    // A language or hobby stage: until the hobby ranks end, this window is
    // the character's only one.
    bool BeingMade() const override;

protected:
    void Form_Unload() override;
    bool QueryUnload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void BuildLayout();
    void Form_Load();
    Personnage &Record() const;
    QString Caption() const { return windowTitle(); }
    QString Location(const char *what) const;

    // Tree building.
    void ClearWindow();
    QTreeWidgetItem *AddNode(int parentIndex);
    // A leaf under node ParentNodeIndex, made the current node: its text, key,
    // tag and the plain leaf picture.
    QTreeWidgetItem *AddLeaf(const QString &text, const QString &key, const QString &nodeTag);
    // The same for element `id` of skill `skill`, keyed prefix + "id/skill",
    // whose picture then shows whether the character holds it (Connus kind).
    QTreeWidgetItem *AddElementLeaf(const QString &text, const char *prefix, qint32 id, qint32 skill,
                                    const QString &nodeTag, qint16 kind);
    void SetNodeKey(QTreeWidgetItem *node, const QString &key);
    void RemoveNode(QTreeWidgetItem *node);
    // Takes a node out of the index order (the nodes after it move up).
    void ForgetNode(const QTreeWidgetItem *node);
    void AppendImage(const QString &suffix);
    void WeaponBranch(qint32 skillId, bool restricted);
    void SpellBranch(int category, qint32 skillId);
    void PlainSkillBranch(int categoryIndex);
    qint32 AppendSkillRow(QTreeWidgetItem *node, const QString &text, const QString &rank, const QString &added);
    void RefreshGrid();
    void SpecialColour(dao::Recordset &rs, qint32 skillId, bool withGrey);
    void ShowFirstNode();

    // Costs.
    QString CategoryCost(qint32 category);
    QTreeWidgetItem *CategoryNodeOf(QTreeWidgetItem *node);
    qint16 ListedCost();

    // Purchase.
    void Purchase(bool category, int index);
    void BoxesFromDevelopment(std::array<QCheckBox *, 3> &boxes, qint32 n);
    bool m_storingBonus = false;
    bool m_closingToLeadOn = false;   // Unload: the program closes it
    bool m_givenUp = false;
    void refused(QLineEdit *box, const QString &stored);
    // Bonus boxes the player went into or typed in since they last stored.
    QSet<const QLineEdit *> m_entered;
    bool m_playerTab = false;

    // Skill table grows as the stage needs.
    std::array<QString, 4> &Row(int r);

    QString m_mode;
    std::vector<QTreeWidgetItem *> m_nodes;
    QHash<QString, QTreeWidgetItem *> m_keys;
    // Where each node stands in m_nodes, so that a node's index is found
    // without walking the tree's nodes.
    QHash<const QTreeWidgetItem *, int> m_positions;

    dao::Recordset RsSkillCategory, RsSkills, RsWeapons, RsLists;
    dao::Recordset RsLanguage, RsSpecialSkillsCulture, RsCultureWeapons, RsCultureLanguages,
        RsSpecialSkillsProfession, RsRaceAbilities, RsCategoryCost, RsSkillBonus, RsStat, RsRealms;
};

namespace skilldev {

// Image keys of the tree's pictures, in the image list's order.
const QStringList &ImageKeys();

// The adolescence special-skills pass, run at the end of the adolescence
// language stage of character `index` (its number as text).
void SpecialSkillAdolesence(const QString &index);

// The windows the stage steps hand over to: the program's own, unless a test
// puts stand-ins in their place.
struct StageHooks {
    // The weapon category order for character n (modal).
    std::function<void(int n)> WeaponCategoryOrder;
    // The background options dialog for character n (modal); loadData false
    // opens it with its initial count of zero points.
    std::function<void(int n, bool loadData)> BackgroundOptions;
    // The statistic gain rolls at the end of a level (modal).
    std::function<void(int n)> StatGainRolls;
    // The training packages dialog opened from the window of character n.
    std::function<void(int n)> TrainingPackages;
};
StageHooks &Hooks();
// Puts the program's windows back.
void ResetHooks();

// Stage openers: make a new window for character n, write its markers in the
// order the stage needs and present it. `points` goes into labPD.
enum class Stage { AdolescenceLanguages, BackgroundLanguages, HobbyRanks };
frmSkillDev *OpenStage(int n, Stage stage, qint16 points);

} // namespace skilldev
