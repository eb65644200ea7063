// The game checker's tables: the configuration's pictures, the composite lists, the gallery
// pages, the selection trees and the recollection scenes, each read by the engine's own reader;
// a finding stands at the line that names what is missing.
#include <algorithm>
#include <limits>

#include "devtools/lint_checker.h"
#include "resources/sjis.h"
#include "scenes/recollection.h"
#include "scenes/selection_tree.h"
#include "scenes/view_table.h"
#include "script/script_targets.h"

namespace torvel {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The line (from 1) at or after `from` (0-based) that has `name` as one of its fields (split at
// blanks, "," and ":"), compared without case; `fallback` when none has.
int LineNaming(const std::vector<std::string_view>& lines, size_t from, std::string_view name, int fallback) {
  const std::string wanted = SjisUpper(name);
  for (size_t i = from; i < lines.size(); ++i) {
    const std::string line = SjisUpper(lines[i]);
    size_t start = 0;
    for (size_t k = 0; k <= line.size(); k += k < line.size() ? SjisCharLength(line, k) : 1) {
      if (k < line.size() && line[k] != ',' && line[k] != ':' && line[k] != ' ' && line[k] != '\t') continue;
      if (TrimBlanks(std::string_view(line).substr(start, k - start)) == wanted) return static_cast<int>(i + 1);
      start = k + 1;
    }
  }
  return fallback;
}

}  // namespace

void GameChecker::CheckTables() {
  CheckConfig();
  CheckDefinitions("_sprset", engine_.layers.sprset);
  CheckDefinitions("_bgset", engine_.layers.bgset);
  CheckViewTable();
  CheckSelectionTrees();
  CheckRecollectionTable();
  CheckTitleMapTable();
}

void GameChecker::CheckConfig() {
  const std::vector<uint8_t>* body = Body("_config");
  if (!body) return;
  const std::vector<std::string_view> lines = LintLines(*body);
  for (size_t i = 0; i < lines.size(); ++i) {
    // Each line alone, so the pictures it names are known to be its own.
    GameConfig probe;
    if (!ApplyGameConfigLine(probe, lines[i])) break;
    const std::string* named[] = {&probe.CFG_GRA[0],  &probe.CFG_GRA[1], &probe.CFG_VOL_KNOB, &probe.CFG_AUTO_KNOB,
                                  &probe.SAVE_BG[0],  &probe.SAVE_BG[1], &probe.LOAD_BG[0],   &probe.LOAD_BG[1],
                                  &probe.SV_PLATE[0], &probe.SV_PLATE[1]};
    for (const std::string* name : named) {
      if (!name->empty() && !ImageExists(*name)) Report("_config", static_cast<int>(i + 1), "missing picture", *name);
    }
  }
}

void GameChecker::CheckDefinitions(std::string_view table, const PictureDefinitions& list) {
  const std::vector<uint8_t>* body = Body(table);
  if (!body) return;
  const std::vector<std::string_view> lines = LintLines(*body);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string line = SjisUpper(TrimBlanks(lines[i]));
    if (line.empty() || line[0] != ':') continue;
    if (line == ":END") break;
    std::vector<DefinitionPart> parts;
    if (!FindDefinition(list, std::string_view(line).substr(1), parts)) continue;
    for (const DefinitionPart& part : parts) {
      if (part.name.empty() || ImageExists(part.name)) continue;
      Report(table, LineNaming(lines, i + 1, part.name, static_cast<int>(i + 1)), "missing picture", part.name);
    }
  }
}

void GameChecker::CheckViewTable() {
  const std::vector<uint8_t>* body = Body("view");
  if (!body) return;
  const std::vector<std::string_view> raw = LintLines(*body);
  const std::vector<std::string> lines = ViewTableLines(*body);
  const auto global = ReadGlobalPageButtons(lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.size() < 2 || line[0] != ':' || line == ":END") continue;
    const std::optional<ViewPageTable> page = ReadViewPage(lines, std::string_view(line).substr(1), global);
    if (!page) continue;
    const int header = static_cast<int>(i + 1);
    std::vector<std::string> pictures = {page->normal, page->highlight, page->plate, page->plate2, page->digits};
    for (const ViewSet& set : page->sets) {
      pictures.push_back(set.normal);
      pictures.push_back(set.highlight);
    }
    if (page->type == 0) {
      for (const std::string& name : ViewPictureNames(*page)) pictures.push_back(name);
    }
    for (const std::string& name : pictures) {
      if (!name.empty() && !ImageExists(name))
        Report("view", LineNaming(raw, i, name, header), "missing picture", name);
    }
    // Scene pages (TYPE 1) name a flag, a script and a caption in their cells.
    if (page->type != 1) continue;
    for (const ViewScene& scene : ViewSceneList(*page)) {
      if (!scene.script.empty() && !Body(scene.script, true)) {
        Report("view", LineNaming(raw, i, scene.script, header), "missing script", scene.script);
      }
    }
  }
}

void GameChecker::CheckSelectionTrees() {
  const std::vector<uint8_t>* body = Body("seltree");
  if (!body) return;
  const std::vector<std::string_view> lines = LintLines(*body);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string word = SjisUpper(TrimBlanks(lines[i]));
    if (word.empty() || word == "END") continue;
    if (word == "ALLEND") break;
    const TreeEntry entry = ParseTreeEntry(lines[i]);
    if (entry.target.empty()) continue;
    std::string name, label;
    SplitScriptArgument(entry.target, std::numeric_limits<size_t>::max(), name, label);
    CheckScriptTarget("seltree", static_cast<int>(i + 1), name, label, true);
  }
}

void GameChecker::CheckRecollectionTable() {
  const std::vector<uint8_t>* body = Body("sys_flashbak");
  if (!body) return;
  const std::vector<std::string_view> lines = LintLines(*body);
  const RecollectionTable table = ParseRecollectionTable(*body);
  for (const std::string& script : table.scripts) {
    if (script.empty()) continue;
    std::string name, label;
    SplitScriptArgument(script, std::numeric_limits<size_t>::max(), name, label);
    CheckScriptTarget("sys_flashbak", LineNaming(lines, 0, name, 1), name, label, true);
  }
}

// The map screen of chapter N shows "tr_baseNa" and finds the pointer's area in "tr_hitmap"; without
// either it does nothing.
void GameChecker::CheckTitleMapTable() {
  const std::vector<uint8_t>* body = Body("mapctrl");
  if (!body) return;
  const std::vector<std::string_view> lines = LintLines(*body);
  bool hitMapChecked = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = TrimBlanks(lines[i]);
    if (line.size() < 2 || line[0] != ':') continue;
    if (SjisUpper(line) == ":END") break;
    // The section of chapter N reads ":N"; any other name is never shown.
    const std::string_view chapter = line.substr(1);
    if (chapter[0] == '0' || chapter.find_first_not_of("0123456789") != std::string_view::npos) continue;
    const int number = static_cast<int>(i + 1);
    const std::string map = "tr_base" + std::string(chapter) + "a";
    if (!ImageExists(map)) Report("mapctrl", number, "missing picture", map);
    if (!hitMapChecked && !ImageExists("tr_hitmap")) Report("mapctrl", number, "missing picture", "tr_hitmap");
    hitMapChecked = true;
  }
}

}  // namespace torvel
