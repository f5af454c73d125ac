#pragma once
// The talent cost table: one row per talent degree and six ways of taking a
// talent of that degree (rolled or chosen, with a flaw of the degree below,
// without flaw, or with a flaw of the same degree). OK hands the price and the
// choice code to the background options dialog of the character in Tag.
#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class frmTalentsCost : public QDialog {
    Q_OBJECT
public:
    explicit frmTalentsCost(QWidget *parent = nullptr);

    QTableWidget *grdTalentsCost = nullptr;
    QLabel *labTalent = nullptr;
    QLabel *labFlaw = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

    // The code can carry one digit of degree: rows past the ninth are not shown.
    static constexpr int kMaxDegrees = 9;
    static constexpr int kHeaderRows = 2;

public slots:
    void grdTalentsCost_Click();
    void btnOk_Click();
    void btnCancel_Click();

private:
    void Form_Load();
    QString degreeName(int row) const;
};
