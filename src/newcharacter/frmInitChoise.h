#pragma once
// The first window of a new character, with two pages: culture, race and sex,
// then profession and realm. Every choice goes into the character's record at
// once; Next on the second page hands over to the statistics window. Closed
// any other way, the window gives the character back an empty record.
#include "frame/ui/CharacterWindow.h"
#include "platform/dao.h"

#include <array>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTableWidget;

class frmInitChoise : public CharacterWindow {
    Q_OBJECT
public:
    explicit frmInitChoise(QWidget *parent = nullptr);

    // ---- both pages
    QTabBar *TabInitchoises = nullptr;   // its Tag: "3003" cultures page, "3005" professions page
    QPushButton *btnNext = nullptr;
    QPushButton *btnPrevious = nullptr;

    // ---- cultures page
    QFrame *picRace = nullptr;
    QComboBox *lstCulture = nullptr;
    QListWidget *lstRace = nullptr;
    std::array<QLabel *, 7> labRace{};
    std::array<QPlainTextEdit *, 5> txtNote{};
    std::array<QLineEdit *, 4> txtCulture{};
    std::array<QRadioButton *, 2> optSex{};
    QLabel *oleImageCulture = nullptr;
    QTableWidget *grdAdolescence = nullptr;
    QFrame *picInfoTech = nullptr;
    QTableWidget *grdRaceBonus = nullptr;
    QPlainTextEdit *txtNoteRace = nullptr;
    QLabel *oleImageRace = nullptr;

    // ---- professions page
    QFrame *PicProfession = nullptr;
    QComboBox *lstProfession = nullptr;
    QPlainTextEdit *txtNoteProfession = nullptr;
    QListWidget *lstStat = nullptr;
    QLineEdit *txtRoyaume = nullptr;
    QListWidget *lstListeBase = nullptr;
    QLabel *labCaract = nullptr, *labRoyaume = nullptr, *labListe = nullptr;

    // Culture_ID of each lstCulture item; Race_ID of each race grid row (from
    // row 1); Race_ID of each lstRace item; Profession_ID and Realm_ID of each
    // lstProfession item.
    std::vector<qint32> CultureIDs;
    std::vector<qint32> RaceIDs;
    std::vector<qint32> RaceListIDs;
    std::vector<std::array<qint32, 2>> ProfessionIDs;
    bool LeftByNext = false;
    // The player gave the character up by closing the page.
    bool GivenUp = false;

    QString PageTag() const;

    void Culture_choises();
    void Profession_choises();
    void ListSkill(qint16 cultureId);

public slots:
    void TabInitchoises_Click();
    void lstCulture_Click();
    void lstRace_Click();
    void optSex_Click(int Index);
    void grdRaceBonus_Click();
    void lstProfession_Click();
    void btnNext_Click();
    void btnPrevious_Click();

    // Until Next hands the character on.
    bool BeingMade() const override { return !LeftByNext && Number() >= 1; }

protected:
    void Form_Unload() override;
    bool QueryUnload() override;

private:
    void buildLayout();
    void Form_Load();
    void showPhysique();
    // Culture, race, weight and height of the shown culture into the record.
    void writeCulture();
    // The realm chooser for a profession whose realm the player picks; false
    // when it was closed without a choice.
    bool chooseRealm();
    void selectCultureSilently(int index);
    // Makes the race's row of the race grid the current one, selected across.
    void HighlightRace(qint32 raceId);

    dao::Recordset RsCulture;
    dao::Recordset RsRace;
    dao::Recordset RsProfession;
    QString CultureColumn, RaceColumn, ProfessionColumn, NoteColumn;
    QString NameText;
    // The race of the culture shown, for the race grid filled after it.
    qint32 m_shownRace = 0;
};
