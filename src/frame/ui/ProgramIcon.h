#pragma once
// The program's own picture: the icon of its windows and the splash box's
// picture. Drawn here rather than looked up in the desktop's icon theme,
// whose first look-up reads every folder of the theme and would hold up the
// first window for nothing; so it also looks the same on every desktop.
#include <QIcon>

QIcon ProgramIcon();
