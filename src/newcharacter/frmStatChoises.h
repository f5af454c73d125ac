#pragma once
// The statistics window of a new character, in two phases on one window:
// "Temporaire", where the ten temporary values are bought from a rolled point
// pool, then "Potentiel", where each potential value is rolled from a dice
// formula the temporary value chooses. Its last Next stores both values, asks
// for the character's identity and opens the language stage of the skill
// development window.
#include "frame/ui/CharacterWindow.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

class frmStatChoises : public CharacterWindow {
    Q_OBJECT
public:
    explicit frmStatChoises(QWidget *parent = nullptr);

    std::array<QLabel *, 10> Statistics{};
    std::array<QSlider *, 10> sldStatistics{};
    std::array<QLineEdit *, 10> txtStatisticsT{};
    std::array<QLineEdit *, 10> txtStatisticsP{};
    std::array<QLabel *, 10> labDieRollP{};
    std::array<QLineEdit *, 10> txtCost{};
    std::array<QLineEdit *, 10> txtBonus{};
    std::array<QLineEdit *, 10> tbDieRollT{};
    std::array<QLineEdit *, 2> tbStatPointsTotal{};
    std::array<QLabel *, 10> labchiffre{};
    std::array<QLabel *, 4> lbText{};
    QLabel *labCarateristique = nullptr;
    QLabel *labTotalPoints = nullptr;
    std::array<QPushButton *, 2> btnRandom{};
    QPushButton *btnNext = nullptr;

    // The phase: "Temporaire" or "Potentiel".
    QString Phase() const;
    // Length of the highlighted part of slider i (value - 10).
    int SelLength(int i) const;

    void LoadData() override;

    // The point cost of a temporary value.
    static int CostOf(double value);
    // The potential dice formula ("B + NdS") a temporary value gives.
    static QString PotentialFormula(int value);

public slots:
    void sldStatistics_Scroll(int Index);
    void sldStatistics_Change(int Index);
    void txtStatisticsT_Click(int Index);
    void tbDieRollT_Change(int Index);
    void tbDieRollT_KeyPress(int Index, int KeyAscii);
    void tbDieRollT_LostFocus(int Index);
    void txtCost_Change(int Index);
    void btnRandom_Click(int Index);
    void btnNext_Click();

    // Until the hand-over opens the language stage.
    bool BeingMade() const override { return !m_handedOver && Number() >= 1; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Giving the character up drops it once the window is gone.
    bool QueryUnload() override;
    void Form_Unload() override;

private:
    void SwitchToPotential();
    void HandOver();
    void placeScale();
    QWidget *m_scale = nullptr;
    std::array<int, 10> m_selLength{};
    bool m_handedOver = false;
    bool m_givenUp = false;
};
