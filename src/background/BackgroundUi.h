#pragma once
// What the background windows share: twips to pixels, the title of boxes
// without one of their own, and the window their dialogs open over.
#include <QString>

class QWidget;

namespace background {

constexpr int tw(int twips) { return twips / 15; }

// The application's title (boxes shown without a title of their own).
QString AppTitle();

// The window a dialog opened from a stage step belongs to: the active modal
// dialog, else the main window (null when there is none).
QWidget *ModalParent();

} // namespace background
