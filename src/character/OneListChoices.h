#pragma once
// The rows the one-list chooser offers in each of its modes, with the
// identifier each row stands for. The chooser window and the training package
// transfer both take their lists from here, so that what the player sees and
// what the record receives come from one query.
#include "platform/ports.h"

#include <QtGlobal>
#include <vector>

class Personnage;

namespace onelist {

// Mode values (the chooser reads them from the character's PointsBO):
//   166 or 888  the open spell lists (first classification) of the character's realm
//   49 to 55    the seven weapon categories, in name order
//   226 to 232  the weapons of that weapon skill
//   999         the weapons of skill `weaponSkill` that the character's culture allows
//   any other   the skills of the category of that number
// Raises vb::Error when the rules database fails or the realm has no lists of its own.
std::vector<ports::ChooserItem> Items(const Personnage &p, qint32 mode, qint32 weaponSkill = 0);

bool IsSpellListMode(qint32 mode);
bool IsWeaponCategoryMode(qint32 mode);
bool IsWeaponMode(qint32 mode);

} // namespace onelist
