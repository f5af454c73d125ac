#include "character/Personnage.h"

Personnage::Personnage() = default;
