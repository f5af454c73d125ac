#pragma once
// The special item chooser: every band of the special items table in a grid;
// the player takes any item and it is added to the character's history.
// Cancel, Esc or the close box gives the two option points back.
#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class frmSpecialItemChoose : public QDialog {
    Q_OBJECT
public:
    explicit frmSpecialItemChoose(QWidget *parent = nullptr);

    QLabel *labChoise = nullptr;
    QTableWidget *grdSpecialItemChoose = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

public slots:
    void grdSpecialItemChoose_Click();
    void btnOk_Click();
    void btnCancel_Click();
    // Every way out without an item (Cancel, Esc, the close box) comes here.
    void reject() override;

private:
    // Whether the current cell holds an item (not an empty place).
    bool currentIsItem() const;
};
