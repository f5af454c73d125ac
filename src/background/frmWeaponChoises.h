#pragma once
// The weapon category order: the player sets which weapon category pays which
// of the profession's seven weapon costs. The costs belong to the positions;
// the categories move between them, and every move is written into the
// character's record at once. The opener sets Tag, calls SkillCost and shows it.
#include <QDialog>
#include <array>

class QLabel;
class QListWidget;
class QPushButton;

class frmWeaponChoises : public QDialog {
    Q_OBJECT
public:
    explicit frmWeaponChoises(QWidget *parent = nullptr);

    QLabel *labCostWeapon = nullptr;
    QListWidget *lstCategorie = nullptr;
    std::array<QLabel *, 7> labCost{};
    std::array<QPushButton *, 2> btnUp{};   // 0 up, 1 down
    QPushButton *btnOk = nullptr;

    // Resets the character's order to 49..55 and shows the names and costs.
    void SkillCost();

public slots:
    void btnUp_Click(int Index);
    void btnOk_Click();

private:
    void alignCosts();
};

namespace background {
// Opens the weapon category order for character n (modal).
void OpenWeaponCategoryOrder(int n);
} // namespace background
