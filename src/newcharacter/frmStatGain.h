#pragma once
// The statistic gain choice: the player ticks the statistics that get an extra
// gain roll. The opener ticks and disables the statistics the package grants
// in any case, writes the number of statistics of choice into labChoix, sets
// Tag and calls LoadData before showing it.
#include <QDialog>
#include <QString>
#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

class frmStatGain : public QDialog {
    Q_OBJECT
public:
    explicit frmStatGain(QWidget *parent = nullptr);

    // The character number is the window's Tag (tag()/setTag()).
    std::array<QCheckBox *, 10> ckStat{};
    QLabel *labChoix = nullptr;
    QPushButton *btnOk = nullptr;

    void LoadData();
    // The statistics ticked when OK accepted the choice (index 0 to 9).
    const std::vector<int> &Ticked() const { return m_ticked; }

public slots:
    void btnOk_Click();
    void ckStat_Click(int Index);

protected:
    // Escape and the close box act as OK.
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void freezeWhenComplete();
    // Shows the gain rolls for the ticked statistics.
    void OpenRolls();

    int m_limit = -1;   // statistics of choice; -1 until LoadData
    std::vector<int> m_ticked;
};
