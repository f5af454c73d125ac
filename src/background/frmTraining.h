#pragma once
// The training packages dialog: the packages of the character's profession,
// vocational or lifestyle, with what each gives and costs. OK moves the price
// from the skill development window's points onto its training labels (the
// package itself is applied when the stage ends); Cancel takes the bought
// package off again and gives its price back.
#include <QDialog>
#include <QPointer>
#include <QString>
#include <array>
#include <vector>

#include "platform/dao.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

class frmTraining : public QDialog {
    Q_OBJECT
public:
    explicit frmTraining(QWidget *parent = nullptr);

    struct Package {
        QString Name;
        qint16 Cost = 0;
        qint16 Months = 0;
        qint16 Training_ID = 0;
    };

    // ------------------------------------------------------------ controls
    QLabel *labTraning = nullptr;
    std::array<QRadioButton *, 2> optTraning{};
    QComboBox *cbbTrainingPackage = nullptr;
    QLabel *labMoney = nullptr;
    QLineEdit *txtMoney = nullptr;
    QLabel *labCaracteristique = nullptr;
    std::array<QLabel *, 2> labStat{};
    QLabel *labMonths = nullptr;
    QLineEdit *txtMonths = nullptr;
    QLabel *labDPCost = nullptr;
    QLabel *labTPCost = nullptr;
    QPlainTextEdit *txtNote = nullptr;
    QTableWidget *grdSpecial = nullptr;
    QTableWidget *grdTraining = nullptr;
    QPushButton *btnTrainingPack = nullptr;
    QPushButton *btnAnnuler = nullptr;

    // Packages by kind (0 vocational, 1 lifestyle), in list order.
    std::array<std::vector<Package>, 2> PackageTable;

    // The window whose points and training labels the dialog works on (labPD,
    // labTraining, labTrainingCost, found by name): the skill development
    // window of the character in Tag unless one is given here.
    QPointer<QWidget> Target;

    void LoadData();
    void ListeTraning(int kind);
    void ListSkill(qint16 trainingId);
    // The package shown (null when the list is empty).
    const Package *Selected() const;

public slots:
    void optTraning_Click(int Index);
    void cbbTrainingPackage_Click();
    void btnTrainingPack_Click();
    void btnAnnuler_Click();

private:
    QWidget *targetWindow() const;
    QLabel *targetLabel(const char *name) const;
    int kind() const;
    // Says why the character cannot take the package, if it cannot.
    bool refused(const Package &pk) const;
    dao::Recordset m_packages;
    dao::Recordset m_stats;
};

namespace background {
// Opens the training packages dialog for character n (modal).
void OpenTrainingPackages(int n);
} // namespace background
