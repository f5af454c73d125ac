#pragma once
// The one-list chooser: the player picks one realm of power, weapon, spell
// list, weapon category or skill from one list. One modal use per opening: the
// opener sets the character number in its Tag and the mode (the shared realm
// flag, or the character's PointsBO with WeaponChoiceArgs), calls LoadData (or
// hands it the rows with LoadItems), may set its own caption, and shows it.
//
// While the list offers something the window can only be left by OK: a
// chooser closed without a choice would leave the realm flag or a selector in
// PointsBO behind for the next opener to misread.
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
    // Identifier of each row of lstArme (the realm's own id in realm mode).
    std::vector<qint32> ItemNumber;

    // Fills the list for the mode: realm mode while WeaponAdolescenceShown is
    // set, otherwise the mode the character's PointsBO holds.
    void LoadData();
    // Fills the list with rows already read; selects the first.
    void LoadItems(const std::vector<ports::ChooserItem> &items);
    // When false, OK only records the choice (for an opener that applies it
    // itself); when true, OK also writes it into the record.
    bool AppliesChoice = true;
    // The identifier chosen by OK, or -1 while none was.
    qint32 Chosen() const { return m_chosen; }
    // True while the list is the realms of power.
    bool RealmMode() const { return m_realmMode; }

public slots:
    void btnOk_Click();
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool mayLeave() const;
    qint32 m_chosen = -1;
    bool m_realmMode = false;
};
