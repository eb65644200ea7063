#pragma once
// The completed-games counter: the value `Clear` in the fixed settings section "vesk" of the key
// "Software\Grevholt", shared by every game of the maker whatever their own key and section.
#include "platform/host.h"

namespace torvel {

// Reads the counter (0 when absent or unreadable), adds one, writes it back and returns the new
// count.
int IncrementCompletedGames(Host& host);

}  // namespace torvel
