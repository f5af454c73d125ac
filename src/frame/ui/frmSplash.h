#pragma once
// The splash and about box: the program's title and version and its notices.
// It closes on OK or on any key.
#include <QDialog>

class QLabel;
class QPushButton;

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    QLabel *lblProductName = nullptr;
    QLabel *lblCopyright = nullptr;
    QLabel *lblCompany = nullptr;
    QLabel *lblContact = nullptr;
    QLabel *lblWarning = nullptr;
    QLabel *labinfo = nullptr;
    QLabel *lblWeb = nullptr;
    QLabel *Picture1 = nullptr;
    QPushButton *btnOk = nullptr;

    // "Title (major.minor.revision)".
    static QString ProductName();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
