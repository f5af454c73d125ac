#pragma once
// Small services the new-character windows share: texts by number that never
// fail, and how a step window puts itself on screen and goes away.
#include <QPixmap>
#include <QString>

class CharacterWindow;
class QWidget;

namespace newchar {

// Text n of the string table; the number itself when the tables lack it, so a
// missing entry never stops a window.
QString Text(int n);

// Shows a per-character window maximised inside the main window (or on its
// own when there is no main window) and makes it the active one.
void Present(CharacterWindow *w);
// Closes a per-character window and its frame; its unload logic runs once.
void Unload(QWidget *w);

// The player closes the one window of character n while it is still being
// made: asks whether to give the character up; true when the player does.
bool AskGiveUp(int n);
// Gives character n up once its window is gone: no record stays behind that
// no window can reach, and the next new character takes its number.
void GiveUp(int n);

// Weight (pounds) and height (feet) as the pages show them: unchanged for the
// English data columns, otherwise in kilograms and metres, cut to four
// characters, with the user's decimal mark.
QString WeightText(double pounds);
QString HeightText(double feet);

// The culture's picture: the program ships no artwork, so each picture number
// gets an emblem of its own colours with the culture's initial.
QPixmap CultureEmblem(qint32 image, const QString &name);

} // namespace newchar
