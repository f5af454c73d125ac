#pragma once
// What the background windows share: the window their dialogs open over.
#include <QString>

class QWidget;

namespace background {

// The window a dialog opened from a stage step belongs to: the active modal
// dialog, else the main window (null when there is none).
QWidget *ModalParent();

} // namespace background
