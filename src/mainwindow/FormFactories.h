#pragma once
// The window tables make their windows again through factories, so that the
// frame below needs none of the window kinds.

// Gives the new-character, skill development and sheet tables their window
// kinds. Called once at start-up (and by tests after clearing the tables).
void InstallFormFactories();
