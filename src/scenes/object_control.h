#pragma once
// Script-driven objects: small masked pictures that `obj_` lines draw straight onto the window or
// stamp into the screen buffer, and an off-screen buffer for building a frame of several objects.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

constexpr int kObjectSlots = 32;
// A draw command's frame time is capped, and its wait lets the window breathe this often.
constexpr int kObjectMaxFrameMs = 60000;
constexpr int kObjectPumpMs = 100;

struct ObjectSlot {
  bool inUse = false;
  std::string name;  // the picture loaded last
  Bitmap picture;    // image above its mask
  Bitmap work;       // the object's width × half its height
};

struct ObjectState {
  std::array<ObjectSlot, kObjectSlots> slot;
  Bitmap buffer;  // the off-screen frame
  bool bufferExists = false;
  uint32_t mark = 0;  // the pacing mark, in host milliseconds
  Bitmap shown;       // a full-screen carrier for rectangles shown on the window only
};

// The sub-commands after "obj_", matched in this order over their own length, ignoring case.
enum class ObjectCommand { Load, Del, Set, Era, BMake, BEnd, BReset, BSet, BShow, Fix, None };

struct ObjectLine {
  ObjectCommand command = ObjectCommand::None;
  std::string_view rest;  // the text after the sub-command, leading blanks removed
};

ObjectLine MatchObjectCommand(std::string_view argument);

// The argument fields: separated by "," or by blanks (blanks around a comma belong to it). An
// empty field between two commas is kept, so later fields keep their places.
std::vector<std::string_view> SplitObjectFields(std::string_view text);

}  // namespace torvel
