#include "platform/qt/pointer_shapes.h"

namespace torvel {

Qt::CursorShape CursorShapeOfPointer(int shape) {
  switch (shape) {
    case 0: return Qt::ArrowCursor;
    case 29: return Qt::ArrowCursor;
    case 30: return Qt::PointingHandCursor;
    case 31: return Qt::OpenHandCursor;
    case 32: return Qt::CrossCursor;
    case 33: return Qt::WhatsThisCursor;
    case 34: return Qt::SizeAllCursor;
    default: return Qt::PointingHandCursor;
  }
}

}  // namespace torvel
