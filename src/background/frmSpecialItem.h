#pragma once
// The special item roll: a percentile roll picks a band of the special items
// table, the player takes one of its items (or rolls again) and the item is
// added to the character's history. Cancel, Esc or the close box gives the
// option point back.
#include <QDialog>
#include <QStringList>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmSpecialItem : public QDialog {
    Q_OBJECT
public:
    explicit frmSpecialItem(QWidget *parent = nullptr);

    std::array<QRadioButton *, 4> optSpecialItem{};
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;
    QLabel *labJet = nullptr;
    QLineEdit *txtJetDe = nullptr;
    QPushButton *btnRandom = nullptr;

    // The items of the rolled band, "None" places empty; empty when the roll
    // found no band.
    QStringList RolledItems;

public slots:
    void btnRandom_Click();
    void txtJetDe_Change();
    void btnOk_Click();
    void btnCancel_Click();
    // Every way out without an item (Cancel, Esc, the close box) comes here.
    void reject() override;

private:
    // Every band of the table, read once: (Roll, Item1En..Item4En).
    std::vector<std::array<QString, 5>> m_bands;
};
