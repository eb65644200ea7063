#pragma once
// The two small languages of the staff-roll scripts, read line by line. Reading never fails:
// a line that is no command of its language is text, or is ignored, as each language says.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace torvel {

// ---- page rolls (`roll`) ----

// A keyword is at most this many bytes; longer words are cut and so match no keyword.
constexpr size_t kPageRollKeywordMax = 10;

// A line starting with "*" or "@" is a command: its keyword runs to a tab, blank, carriage return
// or the line's end and is upper-cased; the argument is what follows that separator. Any other
// line, an empty one too, is text.
struct PageRollLine {
  bool command = false;
  std::string keyword;
  std::string_view argument;
};
PageRollLine ReadPageRollLine(std::string_view line);

// `GRA name[,mode]`: the name runs to the first comma; the mode is 1 without one.
struct PageRollPicture {
  std::string_view name;
  int mode = 1;
};
PageRollPicture ReadPageRollPicture(std::string_view argument);

// Up to four numbers separated by commas; missing ones read as 0.
std::array<int, 4> ReadNumberFields(std::string_view text);

// ---- slide rolls (`sroll`) ----

enum class SlideRollOp {
  Text,      // a line of the page being collected
  Empty,     // an empty line: an empty page line
  Clear,     // "{": a new page
  Ignored,   // "}" and unknown "@" lines
  Picture,   // "@GRA name[,speed]"
  Wait,      // "@WAIT n"
  Page,      // "@MOJ [speed]"
  Font,      // "@FONT n"
  Darkness,  // "@DARK n"
  Size,      // "@SIZE font,pitch,line pitch"
  Window,    // "@WIN x,y,width,height"
  End,       // "@END"
};

// Commands match at the line's start exactly as written, blank included where there is one.
struct SlideRollLine {
  SlideRollOp op = SlideRollOp::Text;
  std::string_view text;        // the line (Text) or the picture name (Picture)
  std::array<int, 4> values{};  // the numbers of the command
  bool hasSpeed = false;        // Picture and Page: a speed was given
};
SlideRollLine ReadSlideRollLine(std::string_view line);
// The picture name that stands for a black page instead of a picture ("S000", any case).
bool IsBlackPageName(std::string_view name);

// A page line placed in the text area: "<" aligns it left, ">" right, anything else centres it;
// the marker is taken off and the offset counts the remaining bytes times the pitch.
struct SlidePageLine {
  std::string_view text;
  int64_t offset = 0;
};
SlidePageLine PlaceSlidePageLine(std::string_view line, int textWidth, int pitch);

// The byte length of the character at `pos` of a page line: a byte of 0x80 or above starts a
// two-byte character when a byte follows it.
size_t SlideCharLength(std::string_view text, size_t pos);

}  // namespace torvel
