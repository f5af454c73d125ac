#pragma once
// The identity dialog: name, age, height and weight of a new character, and a
// rolled appearance. The opener sets Tag to the character number, calls
// LoadData and shows it modally. However it closes, it stores its fields.
#include <QDialog>
#include <QHash>
#include <QString>

#include <optional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;

class frmCharacter : public QDialog {
    Q_OBJECT
public:
    explicit frmCharacter(QWidget *parent = nullptr);

    // The character number is the window's Tag (tag()/setTag()).
    QLabel *labNom = nullptr, *labAge = nullptr, *labGrandeur = nullptr, *labPieds = nullptr,
           *labPoids = nullptr, *labLivres = nullptr, *Label1 = nullptr;
    QLineEdit *txtNom = nullptr, *txtAge = nullptr, *txtGrandeur = nullptr, *txtPoids = nullptr,
              *txtApparence = nullptr;
    QFrame *picFrame = nullptr;
    QLabel *imgPlayer = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QPushButton *bntOk = nullptr;

    void LoadData();

public slots:
    // Stores the five fields and closes; refuses, with a message naming the
    // box, while a number box does not hold a number.
    void bntOk_Click();
    void txtNom_Change();
    void txtAge_Change();
    void txtGrandeur_Change();
    void txtPoids_Change();
    void Toolbar1_ButtonClick(const QString &key);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_stored = false;
    // The appearance rolled: the dialog keeps it until OK stores it.
    qint16 m_appearance = 0;
    // What a refused box shows again: the figure the record (or, for the
    // appearance, the dialog) holds for box `i` of the four OK reads.
    QString StoredText(int i);
    // The record's figure behind a box the record follows while typing.
    float &Field(const QLineEdit *box);
    // Puts what the box reads into the record: a figure inside the range as
    // it is; past it, the figure from before the entry; nothing for no number.
    void Follow(const QLineEdit *box, std::optional<double> typed);
    // What the age, height and weight held when the player came into their box.
    QHash<const QLineEdit *, float> m_enteredWith;
};
