#pragma once
// The engine's pointer shape numbers in Qt's terms.
#include <Qt>

namespace torvel {

// 0 is the window's default pointer (the arrow); 29–34 are the cursor table of the click map's
// colour regions; any other number shows the pointing hand.
Qt::CursorShape CursorShapeOfPointer(int shape);

}  // namespace torvel
