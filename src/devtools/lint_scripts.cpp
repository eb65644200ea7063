// The game checker's scenario scripts: every line read as the interpreter reads it, every command
// matched and its argument found through the command table, and every name it uses looked up.
#include <algorithm>

#include "devtools/lint_checker.h"
#include "graphics/animation_arguments.h"
#include "graphics/effect_definitions.h"
#include "graphics/picture_arguments.h"
#include "resources/sjis.h"
#include "scenes/click_map.h"
#include "scenes/roll_scripts.h"
#include "scenes/view_table.h"
#include "script/command_table.h"
#include "script/expressions.h"
#include "script/script_targets.h"

namespace torvel {

namespace {

enum CommandNumber {
  kGra = 0,
  kMusic = 1,
  kCv = 2,
  kGo = 3,
  kClickmap = 6,
  kChain = 8,
  kSpr = 10,
  kCalc = 11,
  kIf = 12,
  kPtset = 13,
  kCall = 14,
  kMode = 16,
  kGrb = 19,
  kSpecial = 21,
  kPartsload = 23,
  kMovie = 24,
  kMark = 25,
  kBg = 26,
  kSleep = 28,
  kString = 30,
  kDirect = 31,
  kMap = 37,
  kBgAnim = 38,
  kRoll = 39,
  kAnim = 40,
  kOvr = 44,
  kViewer = 45,
  kSe = 46,
  kSeloop = 47,
  kTwSet = 51,
  kObj = 53,
  kSroll = 54,
  kScroll = 55,
  kEffect = 59,
  kManpu = 61,
  kSprmv = 62,
  kEfxanim = 63,
  kWipeset = 64,
  kWeb = 66,
  kChar = 67,
};

// Commands that do nothing useful without an argument.
constexpr int kNeedArgument[] = {kGra,    kMusic,  kCv,    kGo,      kClickmap, kChain,   kSpr,       kCalc,
                                 kIf,     kPtset,  kCall,  kMode,    kGrb,      kSpecial, kPartsload, kMovie,
                                 kMark,   kBg,     kSleep, kString,  kDirect,   kBgAnim,  kRoll,      kAnim,
                                 kOvr,    kViewer, kSe,    kSeloop,  kTwSet,    kObj,     kSroll,     kScroll,
                                 kEffect, kManpu,  kSprmv, kEfxanim, kWipeset,  kWeb,     kChar};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::string_view Keyword(int number) { return Trim(CommandTable()[static_cast<size_t>(number)].keyword); }

// The first field of a comma-separated argument.
std::string_view FirstField(std::string_view arg) { return arg.substr(0, std::min(arg.find(','), arg.size())); }

std::string_view Cut(std::string_view text, size_t limit) { return text.substr(0, std::min(text.size(), limit)); }

// A line as the interpreter's line buffer keeps it.
constexpr size_t kLineMax = kLineBufferSize - 1;

struct BlockState {
  int unnamedOpen = 0;                             // line of the first "{" of the open construct; 0 none
  std::vector<std::pair<std::string, int>> named;  // "{:NAME" cases waiting for their "}:NAME"
};

}  // namespace

void GameChecker::CollectRollScripts(std::span<const uint8_t> body, std::map<std::string, bool>& rolls) const {
  for (std::string_view line : LintLines(body)) {
    line = Cut(line, kLineMax);
    if (line.empty() || (line[0] != '@' && line[0] != '*')) continue;
    const int number = MatchCommand(line);
    if (number == kRoll || number == kSroll)
      rolls.try_emplace(SjisUpper(CommandArgument(number, line)), number == kSroll);
  }
}

void GameChecker::CheckRollScript(const std::string& name, std::span<const uint8_t> body, bool slide) {
  const std::vector<std::string_view> lines = LintLines(body);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    if (!IsSjisDefined(lines[i])) Report(name, number, "bad text", "not Shift-JIS text");
    if (slide) {
      const SlideRollLine line = ReadSlideRollLine(lines[i]);
      if (line.op == SlideRollOp::Picture && !IsBlackPageName(line.text) && !ImageExists(line.text)) {
        Report(name, number, "missing picture", line.text);
      }
    } else {
      const PageRollLine line = ReadPageRollLine(lines[i]);
      if (!line.command || line.keyword != "GRA") continue;
      const std::string picture = SjisUpper(ReadPageRollPicture(line.argument).name);
      if (!BackgroundExists(picture)) Report(name, number, "missing picture", picture);
    }
  }
}

void GameChecker::CheckScript(const std::string& name, std::span<const uint8_t> body) {
  BlockState blocks;
  const std::vector<std::string_view> lines = LintLines(body);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    std::string_view line = lines[i];
    if (line.size() > kLineMax) {
      Report(name, number, "line too long",
             std::to_string(line.size()) + " bytes (at most " + std::to_string(kLineMax) + ")");
      line = line.substr(0, kLineMax);
    }
    if (!IsSjisDefined(line)) Report(name, number, "bad text", "not Shift-JIS text");
    if (!line.empty() && line[0] == '{') {
      if (line.size() >= 2 && line[1] == ':') {
        std::string_view caseName = line.substr(2);
        caseName = caseName.substr(0, std::min(caseName.find('('), caseName.size()));
        const std::string upper = SjisUpper(caseName);
        auto open =
            std::find_if(blocks.named.begin(), blocks.named.end(), [&](const auto& b) { return b.first == upper; });
        if (open == blocks.named.end()) blocks.named.emplace_back(upper, number);
      } else if (blocks.unnamedOpen == 0) {
        blocks.unnamedOpen = number;
      }
    } else if (!line.empty() && line[0] == '}') {
      if (line.size() >= 2 && line[1] == ':') {
        const std::string upper = SjisUpper(line.substr(2));
        auto open =
            std::find_if(blocks.named.begin(), blocks.named.end(), [&](const auto& b) { return b.first == upper; });
        if (open == blocks.named.end()) {
          Report(name, number, "unbalanced block", "\"}:" + std::string(line.substr(2)) + "\" closes no \"{:\" case");
        } else {
          blocks.named.erase(open);
        }
      } else if (blocks.unnamedOpen == 0) {
        Report(name, number, "unbalanced block", "\"}\" closes no \"{\"");
      } else {
        blocks.unnamedOpen = 0;
      }
    }
    CheckLine(name, body, number, line, 0);
  }
  if (blocks.unnamedOpen != 0) Report(name, blocks.unnamedOpen, "unbalanced block", "\"{\" is never closed by \"}\"");
  for (const auto& [caseName, number] : blocks.named) {
    Report(name, number, "unbalanced block", "\"{:" + caseName + "\" is never closed by \"}:" + caseName + "\"");
  }
}

void GameChecker::CheckLine(const std::string& script, std::span<const uint8_t> body, int number, std::string_view line,
                            int depth) {
  if (line.empty()) return;
  if (line[0] == '!') {
    if (!AssignmentsWellFormed(line.substr(1))) Report(script, number, "bad assignment", line.substr(1));
  } else if (line[0] == '@' || line[0] == '*') {
    CheckCommand(script, body, number, line, depth);
  }
}

void GameChecker::CheckJump(const std::string& script, std::span<const uint8_t> body, int number,
                            std::string_view label) {
  if (FindLabel(body, label) < 0) Report(script, number, "missing label", label);
}

void GameChecker::CheckScriptTarget(const std::string& script, int number, std::string_view name,
                                    std::string_view label, bool scenario) {
  // A name kept in a name slot is known only while the story runs.
  if (!name.empty() && name[0] == '$') return;
  const std::vector<uint8_t>* target = Body(name, scenario);
  if (!target) {
    Report(script, number, "missing script", name);
    return;
  }
  if (!label.empty() && FindLabel(*target, label) < 0) {
    Report(script, number, "missing label", std::string(name) + ":" + std::string(label));
  }
}

void GameChecker::CheckCommand(const std::string& script, std::span<const uint8_t> body, int number,
                               std::string_view line, int depth) {
  const int command = MatchCommand(line);
  if (command < 0) {
    std::string_view word = line.substr(1);
    Report(script, number, "unknown command", word.substr(0, std::min(word.find(' '), word.size())));
    return;
  }
  // The map screen reads its table by a fixed name and does nothing without it.
  if (command == kMap && !Body("mapctrl")) Report(script, number, "missing script", "mapctrl");
  const std::string_view arg = CommandArgument(command, line);
  if (Trim(arg).empty()) {
    if (std::find(std::begin(kNeedArgument), std::end(kNeedArgument), command) != std::end(kNeedArgument)) {
      Report(script, number, "missing argument", Keyword(command));
    }
    return;
  }
  auto missingPicture = [&](std::string_view name) { Report(script, number, "missing picture", name); };
  auto missingEntry = [&](std::string_view table, std::string_view name) {
    Report(script, number, "missing label", std::string(table) + ":" + std::string(name));
  };
  switch (command) {
    case kGo: CheckJump(script, body, number, arg); break;
    case kIf: {
      if (!ConditionWellFormed(arg)) {
        Report(script, number, "bad condition", arg);
        break;
      }
      std::string_view then;
      if (!IfThenPart(arg, then)) break;
      if (then.empty()) {
        Report(script, number, "missing argument", "if");
      } else if (then[0] == '*' || then[0] == '@' || then[0] == '!') {
        if (depth == 0 && then.size() <= kIfScanMax) CheckLine(script, body, number, then, depth + 1);
      } else {
        CheckJump(script, body, number, then);
      }
      break;
    }
    case kCalc:
      if (!AssignmentsWellFormed(arg)) Report(script, number, "bad assignment", arg);
      break;
    case kCall:
    case kChain: {
      std::string name, label;
      SplitScriptArgument(arg, command == kCall ? kCallScanMax : kChainScanMax, name, label);
      if (name.empty()) {
        Report(script, number, "missing argument", Keyword(command));
      } else {
        CheckScriptTarget(script, number, name, label, true);
      }
      break;
    }
    case kRoll:
    case kSroll: CheckScriptTarget(script, number, arg, {}, false); break;
    case kGra:
    case kGrb: {
      const PictureArgument picture = ParsePictureArgument(arg);
      const char kind = picture.name.empty() ? '\0' : static_cast<char>(picture.name[0] & ~0x20);
      if (kind == 'A' && !BackgroundExists(picture.name)) missingPicture(picture.name);
      if (kind == 'B' && !SpriteExists(SjisUpper(picture.name))) missingPicture(picture.name);
      break;
    }
    case kBg: {
      const PictureArgument picture = ParsePictureArgument(arg);
      if (!BackgroundExists(picture.name)) missingPicture(picture.name);
      break;
    }
    case kSpr:
    case kChar: {
      const SpriteFields fields = SplitSpriteSpec(SjisUpper(Cut(arg, kSpriteSpecMax)));
      for (const std::string& field : fields.field) {
        // "-" keeps a position, a number is the transition.
        if (field.empty() || field == "-" || (field[0] >= '0' && field[0] <= '9')) continue;
        if (!SpriteExists(field)) missingPicture(field);
      }
      break;
    }
    case kOvr: {
      const std::string name = FirstToken(arg, kPictureNameMax);
      if (!name.empty() && !SjisEqualNoCase(name, "OFF") && !ImageExists(name)) missingPicture(name);
      break;
    }
    case kDirect: {
      const std::string_view name = Cut(FirstField(arg), kDirectNameMax);
      if (!ImageExists(name)) missingPicture(name);
      break;
    }
    case kScroll: {
      const std::string_view name = Cut(FirstField(arg), kPictureNameMax);
      if (!ImageExists(name)) missingPicture(name);
      break;
    }
    case kPartsload: {
      const size_t comma = arg.find(',');
      for (std::string_view name : {arg.substr(0, std::min(comma, arg.size())),
                                    comma == std::string_view::npos ? std::string_view() : arg.substr(comma + 1)}) {
        if (!BackgroundExists(name)) missingPicture(name);
      }
      break;
    }
    case kWipeset:
      if (!ImageExists(Trim(arg))) missingPicture(Trim(arg));
      break;
    case kMusic: {
      const int track = ReadNumber(arg);
      if (track > 0 && !MusicExists(track)) Report(script, number, "missing sound", "music " + std::to_string(track));
      break;
    }
    case kCv:
    case kSe:
    case kSeloop:
      if (!SoundExists(arg)) Report(script, number, "missing sound", arg);
      break;
    case kAnim: {
      const AnimArguments anim = ParseAnimArguments(arg);
      if (!AnimationExists(anim.name)) Report(script, number, "missing animation", anim.name);
      break;
    }
    case kEfxanim: {
      // The series runs until its first missing frame: only the first must be there.
      const EffectAnimationArguments anim = ParseEffectAnimationArguments(arg);
      if (!anim.frames.empty() && !ImageExists(EffectAnimationFrameName(anim.name, anim.frames[0]))) {
        Report(script, number, "missing animation", EffectAnimationFrameName(anim.name, anim.frames[0]));
      }
      break;
    }
    case kMovie:
      if (!MovieExists(arg)) Report(script, number, "missing file", arg);
      break;
    // Entries of the tables, found as the commands find them; a missing one is a missing label
    // of the table, since the command then does nothing.
    case kEffect: {
      const std::vector<uint8_t>* table = Body("effect");
      if (!table || ReadEffectEntry(*table, SjisUpper(Trim(arg))).empty()) missingEntry("effect", Trim(arg));
      break;
    }
    case kClickmap: {
      const std::vector<uint8_t>* table = Body("map");
      ClickMapTable map;
      const std::string_view name = Cut(Trim(arg), kClickMapNameMax);
      if (!table || !FindClickMap(*table, name, map)) missingEntry("map", name);
      break;
    }
    case kViewer: {
      const std::vector<uint8_t>* table = Body("view");
      const std::vector<std::string> lines = table ? ViewTableLines(*table) : std::vector<std::string>();
      if (!ReadViewPage(lines, SjisUpper(Trim(arg)), ReadGlobalPageButtons(lines))) missingEntry("view", Trim(arg));
      break;
    }
    default: break;
  }
}

}  // namespace torvel
