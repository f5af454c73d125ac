#pragma once
// The statistic gain rolls: two d10 per statistic raise its temporary value
// towards its potential. The opener sets the Tag to the character number, may
// leave statistics out (DisableRow), calls LoadData and shows it modally. OK
// is the only way out: closing the window stores the gains as OK does.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class frmStatGainRolls : public QDialog {
    Q_OBJECT
public:
    explicit frmStatGainRolls(QWidget *parent = nullptr);

    // The character number is the window's Tag (tag()/setTag()).
    std::array<QLabel *, 10> Statistics{};
    std::array<QLineEdit *, 10> txtStatisticsT{};
    std::array<QLineEdit *, 10> txtStatisticsP{};
    // Die 1 of statistic i at i, die 2 at i + 10.
    std::array<QLineEdit *, 20> txtDie{};
    std::array<QLineEdit *, 10> txtResultat{};
    std::array<QLabel *, 4> lbText{};
    QPushButton *bntCalcul = nullptr;
    QPushButton *btnRandom = nullptr;
    QPushButton *btnOk = nullptr;

    // Leaves statistic i out of this opening: no dice, no gain.
    void DisableRow(int i);
    void LoadData();
    // Fills the gains from the dice; empty dice of the statistics taking part
    // are rolled first. Gives the names of the statistics whose dice are not
    // whole numbers within 16 bits (they then show no gain); none when every
    // statistic taking part has its gain.
    QStringList CalculGain();

    // The gain for two dice and potential minus temporary, before the cut.
    static int GainOf(int d1, int d2, int diff);

public slots:
    void bntCalcul_Click();
    void btnRandom_Click();
    void btnOk_Click();
    void txtDie_Change(int Index);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    bool m_stored = false;
    // Names the statistics whose dice were refused and the dice's range, in
    // message `message`.
    void SayRefusedDice(const QStringList &statistics, int message);
};

namespace newchar {
// Opens the statistic gain rolls for character n (modal).
void OpenStatGainRolls(int n);
} // namespace newchar
