#pragma once
// The skill development window of one character: ranks are bought stage by
// stage. The stage under way is marked on the window ("Linguistique",
// "Historique", "Hobby Ranks", or nothing for a level).
#include "frame/ui/CharacterWindow.h"

#include <array>

class QLabel;
class QPushButton;

class frmSkillDev : public CharacterWindow {
    Q_OBJECT
public:
    explicit frmSkillDev(QWidget *parent = nullptr);

    QPushButton *btnEnd = nullptr;
    QLabel *labPD = nullptr;
    std::array<QLabel *, 14> labDevlopment{};

    QString StageMarker() const;
    void setStageMarker(const QString &marker);

    void LoadData() override;
    void Tableau() override;
    void Form_Activate() override;

protected:
    void Form_Unload() override;
};
