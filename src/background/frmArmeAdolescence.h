#pragma once
// The one-list chooser: the player picks one weapon category, weapon, spell
// list or skill from one list. One modal use per opening: the opener sets the
// character number in its Tag and the mode in the character's PointsBO, calls
// LoadData (or hands it the rows with LoadItems), and shows it.
#include "platform/ports.h"

#include <QDialog>
#include <QString>
#include <vector>

class QComboBox;
class QPushButton;

class frmArmeAdolescence : public QDialog {
    Q_OBJECT
public:
    explicit frmArmeAdolescence(QWidget *parent = nullptr);

    // The character number is the window's Tag (tag()/setTag()).
    QComboBox *lstArme = nullptr;
    QPushButton *btnOk = nullptr;
    // Identifier of each row of lstArme.
    std::vector<qint32> ItemNumber;

    // Fills the list for the mode the character's PointsBO holds.
    void LoadData();
    // Fills the list with rows already read; selects the first.
    void LoadItems(const std::vector<ports::ChooserItem> &items);
    // When false, OK only records the choice (for an opener that applies it
    // itself); when true, OK also writes it into the record.
    bool AppliesChoice = true;
    // The identifier chosen by OK, or -1 while none was.
    qint32 Chosen() const { return m_chosen; }

public slots:
    void btnOk_Click();

private:
    qint32 m_chosen = -1;
};
