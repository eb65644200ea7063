#include "scenes/roll_scripts.h"

#include "graphics/picture_arguments.h"
#include "resources/sjis.h"

namespace torvel {

namespace {

bool StartsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

bool IsKeywordEnd(char c) { return c == '\t' || c == ' ' || c == '\r'; }

}  // namespace

PageRollLine ReadPageRollLine(std::string_view line) {
  PageRollLine out;
  if (line.empty() || (line[0] != '*' && line[0] != '@')) return out;
  out.command = true;
  size_t end = 1;
  while (end < line.size() && !IsKeywordEnd(line[end])) ++end;
  out.keyword = SjisUpper(line.substr(1, std::min(end - 1, kPageRollKeywordMax)));
  out.argument = end < line.size() ? line.substr(end + 1) : std::string_view();
  return out;
}

PageRollPicture ReadPageRollPicture(std::string_view argument) {
  PageRollPicture out;
  const size_t comma = argument.find(',');
  out.name = argument.substr(0, comma);
  if (comma != std::string_view::npos) out.mode = ReadNumber(argument.substr(comma + 1));
  return out;
}

std::array<int, 4> ReadNumberFields(std::string_view text) {
  std::array<int, 4> out{};
  for (size_t i = 0; i < out.size(); ++i) {
    const size_t comma = text.find(',');
    out[i] = ReadNumber(text.substr(0, comma));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return out;
}

bool IsBlackPageName(std::string_view name) { return SjisUpper(name) == "S000"; }

SlideRollLine ReadSlideRollLine(std::string_view line) {
  SlideRollLine out;
  auto numbers = [&](SlideRollOp op, size_t skip) {
    out.op = op;
    out.values = ReadNumberFields(line.substr(skip));
    return out;
  };
  if (line.empty()) {
    out.op = SlideRollOp::Empty;
    return out;
  }
  if (line[0] == '{') {
    out.op = SlideRollOp::Clear;
    return out;
  }
  if (line[0] == '}') {
    out.op = SlideRollOp::Ignored;
    return out;
  }
  if (line[0] != '@') {
    out.text = line;
    return out;
  }
  if (StartsWith(line, "@GRA ")) {
    std::string_view rest = line.substr(5);
    const size_t comma = rest.find(',');
    out.op = SlideRollOp::Picture;
    out.text = rest.substr(0, comma);
    out.hasSpeed = comma != std::string_view::npos;
    out.values[0] = out.hasSpeed ? ReadNumber(rest.substr(comma + 1)) : 1;
    return out;
  }
  if (StartsWith(line, "@WAIT ")) return numbers(SlideRollOp::Wait, 6);
  if (StartsWith(line, "@MOJ")) {
    out.op = SlideRollOp::Page;
    out.hasSpeed = line.size() > 4;
    out.values[0] = out.hasSpeed ? ReadNumber(line.substr(4)) : 1;
    return out;
  }
  if (StartsWith(line, "@FONT ")) return numbers(SlideRollOp::Font, 6);
  if (StartsWith(line, "@DARK ")) return numbers(SlideRollOp::Darkness, 6);
  if (StartsWith(line, "@SIZE ")) return numbers(SlideRollOp::Size, 6);
  if (StartsWith(line, "@WIN ")) return numbers(SlideRollOp::Window, 5);
  if (StartsWith(line, "@END")) {
    out.op = SlideRollOp::End;
    return out;
  }
  out.op = SlideRollOp::Ignored;
  return out;
}

SlidePageLine PlaceSlidePageLine(std::string_view line, int textWidth, int pitch) {
  SlidePageLine out;
  const char marker = line.empty() ? '\0' : line[0];
  out.text = marker == '<' || marker == '>' ? line.substr(1) : line;
  const int64_t spare = int64_t{textWidth} - static_cast<int64_t>(out.text.size()) * pitch;
  out.offset = marker == '<' ? 0 : marker == '>' ? spare : spare / 2;
  return out;
}

size_t SlideCharLength(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  return static_cast<uint8_t>(text[pos]) >= 0x80 && pos + 1 < text.size() ? 2 : 1;
}

}  // namespace torvel
