#pragma once
// What a load may take from a slot image. A slot file may be damaged or made by hand: an image
// that would put the interpreter outside a script is refused as a whole, before anything of the
// running game is touched; other values are brought into the ranges the engine works in.
#include <functional>
#include <string_view>

#include "screens/slot_image.h"

namespace torvel {

// The byte size of the script `name` as the loader would load it, or -1 when there is none.
using ScriptSizeLookup = std::function<int(std::string_view name)>;

// Refused (false): a call depth outside 0..9; a call-stack frame in use or the loaded script
// naming no script; a return position or the resume position outside 0..that script's size.
// Otherwise (true) the image is brought into range in place: the cursor to 0..100 and 0..20,
// the backlog to 0..200 lines with its write position inside the line being built, negative
// counts and speeds to 0, unknown wait kinds and screen modes to 0, flags to 0 or 1, the line
// positions to their line and script.
bool CheckSlotImage(SlotImage& image, const ScriptSizeLookup& scriptSize);

}  // namespace torvel
