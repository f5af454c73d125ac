#pragma once
// The options dialog. There are no options yet: its buttons only say so.
#include <QDialog>

class QFrame;
class QGroupBox;
class QPushButton;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget *parent = nullptr);

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;
    QFrame *picOptions = nullptr;
    QGroupBox *fraSample2 = nullptr;
    QGroupBox *fraSample3 = nullptr;
    QGroupBox *fraSample4 = nullptr;

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
};
