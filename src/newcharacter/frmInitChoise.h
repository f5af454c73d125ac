#pragma once
// The first new-character window: culture, race and sex. (The culture and race
// lists come with the new-character steps.)
#include "frame/ui/CharacterWindow.h"

#include <array>

class QRadioButton;

class frmInitChoise : public CharacterWindow {
    Q_OBJECT
public:
    explicit frmInitChoise(QWidget *parent = nullptr);

    std::array<QRadioButton *, 2> optSex{};
};
