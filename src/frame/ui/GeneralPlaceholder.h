#pragma once
// The character sheet's place in the window tables until the sheet itself is
// built: it shows the character's name and sets the toolbar as the sheet does.
#include "frame/ui/CharacterWindow.h"

class QLabel;

class GeneralPlaceholder : public CharacterWindow {
    Q_OBJECT
public:
    explicit GeneralPlaceholder(QWidget *parent = nullptr);

    QLabel *txtName = nullptr;

    void LoadData() override;
    void Tableau() override;
    void Form_Activate() override;

protected:
    void Form_Unload() override;
};
