#pragma once
// The talent chooser: the talents of one degree (given in grdTalent's Tag)
// with their roll range, name and note. OK records the chosen talent on the
// background options dialog of the character in Tag and writes a line about
// it into the character's history; Cancel withdraws the talent option there.
#include <QDialog>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class frmTalents : public QDialog {
    Q_OBJECT
public:
    explicit frmTalents(QWidget *parent = nullptr);

    QTableWidget *grdTalent = nullptr;
    QLabel *labTalent = nullptr;
    QPlainTextEdit *txtTalentNote = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

    // Fills the grid with the talents of the degree in grdTalent's Tag.
    void LoadData();
    // Talents_ID of each grid row.
    std::vector<qint32> TalentIds;

public slots:
    void grdTalent_Click();
    void btnOk_Click();
    void btnCancel_Click();
};
