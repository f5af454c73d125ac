#pragma once
// The character record. (Filled in by the record work.)
class Personnage {
public:
    Personnage();
};
