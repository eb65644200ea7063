#pragma once
// Where jumps and calls lead: the script-and-label argument of `call` and `chain`, the then-part
// of `if`, and the label search. Free of the engine object, so the interpreter and the game
// checker read them the same way.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace torvel {

// `call` reads at most this much of its argument, `chain` a little more.
constexpr size_t kCallScanMax = 100;
constexpr size_t kChainScanMax = 128;
// `if` looks this far for the end of its condition and copies at most this much of its
// then-part.
constexpr size_t kIfScanMax = 200;

// Reads a script argument of the form NAME[:LABEL], ending at the first blank or the line end,
// scanning at most `limit` bytes.
void SplitScriptArgument(std::string_view arg, size_t limit, std::string& name, std::string& label);

// The then-part of `if (CONDITION) THEN`: what follows the first ")" and the blanks after it.
// False when it lies beyond the scanned length.
bool IfThenPart(std::string_view arg, std::string_view& then);

// The offset of the line after the first label ":NAME" in `buffer` (every colon counts, not only
// those at line starts; names compared without case), or -1.
int FindLabel(std::span<const uint8_t> buffer, std::string_view label);

}  // namespace torvel
