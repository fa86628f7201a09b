#pragma once

#include "storage/GameRecord.h"

#include <QString>

#include <functional>

class QWidget;

namespace brivanto {

// What the search and for-sale lists hand to the statistics of the games they list: the test that
// listed them, the list's game in words, and how many lines the list shows.
struct ListedGames
{
    std::function<bool(const GameRecord&)> listed;
    QString one;  // "gioco trovato"
    QString many; // "giochi trovati"
    qsizetype count = 0;
};

// Opens the statistics of a list's games over the list screen `over`; true when a game was then
// opened on the record editor, so that the list closes as its own double-click closes it. The
// record editor hands it to the lists it opens: the lists themselves know nothing of the
// statistics screen, which shows its games through them.
using OpenListStatistics = std::function<bool(QWidget* over, const ListedGames& games)>;

} // namespace brivanto
