#pragma once
// The windows behind the record's two choice ports: the Qt user ports call
// these to show the one-list chooser and the statistic gain choice.
#include "platform/ports.h"

#include <QString>
#include <vector>

class QWidget;

namespace transferchoices {

// Shows the one-list chooser with `items` for character `player`; the chosen
// identifier, or -1 when it was closed without a choice or had nothing to offer.
qint32 ChooseOne(int player, qint32 mode, const std::vector<ports::ChooserItem> &items,
                 const QString &caption, QWidget *parent = nullptr);

// Shows the statistic gain choice: `forced` statistics ticked and fixed,
// `choices` more for the player; the ticked statistics once OK accepted them
// (only the forced ones when the window was closed otherwise).
std::vector<int> ChooseStatGains(int player, const std::vector<int> &forced, int choices,
                                 QWidget *parent = nullptr);

} // namespace transferchoices
