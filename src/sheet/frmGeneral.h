#pragma once
// The character sheet: one window per open character that shows the record on
// one page and writes every edit back into it the moment it is made. The sheet
// keeps nothing of its own that the record lacks; filling it runs every box's
// own edit handler, nested inside the load, exactly as a user's edit would.
#include "frame/ui/CharacterWindow.h"
#include "platform/dao.h"
#include "sheet/SheetNumbers.h"

#include <QHash>
#include <array>
#include <vector>

class Personnage;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

class frmGeneral : public CharacterWindow {
    Q_OBJECT
public:
    explicit frmGeneral(QWidget *parent = nullptr);
    ~frmGeneral() override;

    void LoadData() override;
    void Tableau() override;
    void Form_Activate() override;

    // ---- frames
    QGroupBox *Cadre_Personnage = nullptr;
    QGroupBox *fraCaracteristique = nullptr;   // objectName "fraCaractéristique"
    QGroupBox *fraResistance = nullptr;
    QGroupBox *Cadre_Divers = nullptr;

    // ---- identity, experience and background
    QLabel *labNom = nullptr, *labProfession = nullptr, *labRoyaume = nullptr, *labPdeC = nullptr,
           *labPdeP = nullptr, *labExperience = nullptr, *labNiveau = nullptr, *labAge = nullptr,
           *labApparence = nullptr, *labCheveux = nullptr, *labYeux = nullptr, *labGrandeur = nullptr,
           *labPoids = nullptr, *labPieds = nullptr, *labLivres = nullptr, *labHistorique = nullptr;
    QLineEdit *txtNom = nullptr, *txtExperience = nullptr, *txtAge = nullptr, *txtApparence = nullptr,
              *txtCheveux = nullptr, *txtYeux = nullptr, *txtGrandeur = nullptr, *txtPoids = nullptr;
    QLabel *txtRace = nullptr, *txtProfession = nullptr, *txtRoyaume = nullptr, *txtPdeC = nullptr,
           *txtPdeP = nullptr, *txtNiveau = nullptr;
    std::array<QLabel *, 10> labCar{};
    std::array<QRadioButton *, 2> optSex{};
    QPlainTextEdit *txtHistorique = nullptr;
    QLabel *picPhoto = nullptr;

    // ---- headings shared by the panels: element 0 of labRace heads the race
    // name, element 1 the statistics' race column, element 2 the resistances'
    std::array<QLabel *, 3> labRace{};
    std::array<QLabel *, 2> labBonus{}, labSpecial{}, labTotal{};

    // ---- money
    QLabel *labArgent = nullptr;
    std::array<QLineEdit *, 5> txtMoney{};
    std::array<QLabel *, 5> labMoney{};

    // ---- statistics: Stat_ID[s] is the row Stat_ID<s+1>, six columns each
    QLabel *labTemp = nullptr, *labPot = nullptr;
    std::array<std::array<QLineEdit *, 6>, 10> Stat_ID{};
    QFrame *Ligne1 = nullptr, *Ligne2 = nullptr;

    // ---- resistances, four boxes a row, indexed by resistance kind 1 to 9
    std::array<std::array<QLineEdit *, 4>, 10> Resistance{};
    QLabel *labTheurgie = nullptr, *labEssence = nullptr, *labMentalisme = nullptr, *labTheuEss = nullptr,
           *labTheuMent = nullptr, *labEssMent = nullptr, *labArcane = nullptr, *labPoisons = nullptr,
           *labPeur = nullptr;
    QFrame *Ligne3 = nullptr;
    // The rows by their names in the layout.
    std::array<QLineEdit *, 4> &txtArcane() { return Resistance[1]; }
    std::array<QLineEdit *, 4> &txtTheurgie() { return Resistance[2]; }
    std::array<QLineEdit *, 4> &txtTheuEss() { return Resistance[3]; }
    std::array<QLineEdit *, 4> &txtTheuMent() { return Resistance[4]; }
    std::array<QLineEdit *, 4> &txtEssence() { return Resistance[5]; }
    std::array<QLineEdit *, 4> &txtEssMent() { return Resistance[6]; }
    std::array<QLineEdit *, 4> &txtMentalisme() { return Resistance[7]; }
    std::array<QLineEdit *, 4> &txtPoisons() { return Resistance[8]; }
    std::array<QLineEdit *, 4> &txtPeur() { return Resistance[9]; }

    // ---- armour, shield and helmet
    QComboBox *lstArmor = nullptr, *lstShield = nullptr;
    QCheckBox *chkProtection = nullptr;
    std::array<QLineEdit *, 3> txtArmure{};
    std::array<QLineEdit *, 2> txtShield{};
    std::array<QCheckBox *, 2> chkCasque{};
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr;
    // The identifier of the row shown at each list position, rebuilt by every load.
    std::vector<qint32> ArmorIDs;
    std::vector<qint32> ShieldIDs;

    // ---- edit handlers (also run by the load, through the boxes)
    void txtNom_Change();
    void txtExperience_Change();
    void txtAge_Change();
    void txtApparence_Change();
    void txtCheveux_Change();
    void txtYeux_Change();
    void txtGrandeur_Change();
    void txtPoids_Change();
    void txtHistorique_Change();
    void txtMoney_Change(int Index);
    // Row of statistic `stat` (0 to 9), for a change of column Index.
    void Stat_Change(int stat, int Index);
    // Row of resistance `kind` (1 to 9), for a change of element Index.
    void Resistance_Change(int kind, int Index);
    void lstArmor_Click();
    void lstShield_Click();
    void chkCasque_Click(int Index);

protected:
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A box whose figure has a range: which field it writes.
    struct Figure {
        enum Kind { StatSpecial, ResistanceSpecial, Appearance, Experience, Coin, Age, Height, Weight };
        Kind kind;
        int index = 0;   // statistic, resistance kind or coin place
    };

    // The record of the character whose number is in the Tag.
    Personnage &Record() const;

    // What the text of a figure box reads as, against its field's range.
    sheet::Reading ReadFigure(const Figure &f, const QString &text);
    // The lowest and highest figure the box takes as the record stands.
    std::pair<qint64, qint64> FigureRange(const Figure &f);
    double FigureValue(const Figure &f);
    void SetFigureValue(const Figure &f, double value);
    QString FigureText(const Figure &f);
    QString FigureName(const Figure &f);
    void RegisterFigures();
    void FigureEvent(QLineEdit *box, QEvent *event);
    // The player leaves a figure box (the focus moved on, or Enter): a figure
    // past the range gives the field back the value it had when the player
    // came in, the box shows it, and one message says which box and range.
    // Text that is no number in a box that reads its whole text (physique,
    // appearance) does the same, and its message names the box.
    void LeaveFigure(QLineEdit *box);
    // The sheet closes: the figure box being typed into is left now.
    void SettleTypedFigure();
    // While a box reads past its range the record holds what it held when the
    // player came in, so that a save in mid-typing keeps no part of the figure.
    void HoldEntered(QLineEdit *box);
    // A keystroke in a figure box: a figure in range goes into the record at
    // once, one past it is held off, text that is no number changes nothing.
    void StoreTyped(QLineEdit *box);

    void BuildLayout();
    void BuildIdentity();
    void BuildStatistics();
    void BuildResistances();
    void BuildProtection();
    void ConnectHandlers();

    // The steps of the load, in their order.
    void FillIdentityNames(Personnage &p);
    void FillStatLabels();
    void FillPhysique(Personnage &p);
    void ShowTextBeginnings();
    void FillMoney();
    void FillStatistics();
    void FillResistances();
    void FillArmour();
    void FillShield();
    void FillHelmet();
    void CloseRecordsets();

    // The statistic and race parts of a resistance row, as text.
    QString ResistanceStatPart(int kind);
    QString ResistanceRacePart(int kind);

    // Recordsets kept open while the sheet loads.
    dao::Recordset RsRace, RsProfession, RsRealm, RsStat, RsArmor, RsShield;
    bool m_raceFound = false;

    QHash<const QLineEdit *, Figure> m_figures;
    // The field's value when the player came into the box.
    QHash<const QLineEdit *, double> m_enteredWith;
    bool m_refusing = false;
};
