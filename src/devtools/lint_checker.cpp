// The game checker's archives and name lookups: an engine object holds the archive indexes, the
// configuration and the composite definitions as start-up would read them, and every name is
// looked up the way the command that uses it looks it up.
#include "devtools/lint_checker.h"

#include <algorithm>
#include <set>

#include "resources/sjis.h"
#include "sound/movie_path.h"
#include "sound/music_track.h"

namespace torvel {

namespace {

// Tables the engine loads into its auxiliary buffer by fixed names: checked as tables, not as
// scenario scripts.
constexpr std::string_view kTables[] = {"_CONFIG",      "_SPRSET", "_BGSET",  "EFFECT", "VIEW",
                                        "SYS_FLASHBAK", "SELTREE", "MAPCTRL", "MAP"};

bool IsTable(std::string_view upper) {
  return std::find(std::begin(kTables), std::end(kTables), upper) != std::end(kTables);
}

}  // namespace

std::vector<std::string_view> LintLines(std::span<const uint8_t> body) {
  std::vector<std::string_view> lines;
  const char* text = reinterpret_cast<const char*>(body.data());
  size_t start = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] != 0) continue;
    lines.emplace_back(text + start, i - start);
    start = i + 1;
  }
  if (start < body.size()) lines.emplace_back(text + start, body.size() - start);
  return lines;
}

GameChecker::GameChecker(const std::filesystem::path& gameDir)
    : gameDir_(gameDir), host_(std::filesystem::path()), engine_(host_, EngineOptions(gameDir, 1u, false)) {}

const std::vector<uint8_t>* GameChecker::Body(std::string_view name, bool scenario) {
  if (scenario && name.size() > kScriptNameMax) return nullptr;
  const std::string upper = SjisUpper(name);
  auto [it, added] = bodies_.try_emplace(upper);
  if (added) {
    const Archives& a = engine_.archives;
    const ArchiveIndex* holder = &a.data2;
    int entry = holder->FindEntry(upper);
    if (entry < 0) {
      holder = &a.data;
      entry = holder->FindEntry(upper);
    }
    std::vector<uint8_t> body;
    if (entry >= 0 && holder->sizes[static_cast<size_t>(entry)] <= kScriptBufferSize &&
        ReadEntry(*holder, entry, body)) {
      NegateBytes(body);
      it->second = std::move(body);
    }
  }
  return it->second ? &*it->second : nullptr;
}

bool GameChecker::BackgroundExists(std::string_view name) const {
  if (name.empty() || name[0] == 'S' || name[0] == 's') return true;
  if (name[0] == '#') {
    std::vector<DefinitionPart> parts;
    return FindDefinition(engine_.layers.bgset, name.substr(1), parts);
  }
  return ImageExists(name);
}

bool GameChecker::SpriteExists(std::string_view name) const {
  if (name.empty()) return true;
  if (name[0] == '#') {
    std::vector<DefinitionPart> parts;
    return FindDefinition(engine_.layers.sprset, name.substr(1), parts);
  }
  return ImageExists(name);
}

bool GameChecker::MusicExists(int track) const { return engine_.archives.bgm.FindEntry(MusicTrackName(track)) >= 0; }

bool GameChecker::AnimationExists(std::string_view name) const {
  return std::any_of(engine_.archives.anim.begin(), engine_.archives.anim.end(),
                     [name](const ArchiveIndex& index) { return index.FindEntry(name) >= 0; });
}

bool GameChecker::MovieExists(std::string_view path) const { return !MovieFileInGame(gameDir_, path).empty(); }

void GameChecker::Report(std::string_view where, int line, std::string_view kind, std::string_view detail) {
  findings_.push_back(LintFinding{SjisToUtf8(SjisUpper(where)), line, std::string(kind), SjisToUtf8(detail)});
}

void GameChecker::CheckArchives() {
  const Archives& a = engine_.archives;
  std::vector<const ArchiveIndex*> all = {&a.data, &a.data2, &a.gjp, &a.bgm};
  for (const auto* set : {&a.gra}) {
    for (const ArchiveIndex& index : *set) all.push_back(&index);
  }
  for (const ArchiveIndex& index : a.wav) all.push_back(&index);
  for (const ArchiveIndex& index : a.se) all.push_back(&index);
  for (const ArchiveIndex& index : a.ogg) all.push_back(&index);
  for (const ArchiveIndex& index : a.anim) all.push_back(&index);
  for (const ArchiveIndex* index : all) {
    if (!index->Present()) continue;
    const std::string file = index->file.filename().string();
    if (index->Damaged()) {
      // The reader names the whole path; the finding names the file.
      std::string detail = index->error;
      const std::string prefix = index->file.string() + ": ";
      if (detail.rfind(prefix, 0) == 0) detail.erase(0, prefix.size());
      findings_.push_back(LintFinding{file, 0, "bad archive", detail});
    }
    for (size_t i = 0; i < index->bodyFits.size() && i < index->names.size(); ++i) {
      if (!index->bodyFits[i]) {
        findings_.push_back(LintFinding{file, 0, "bad archive",
                                        "entry " + SjisToUtf8(index->names[i]) + " runs past the end of the file"});
      }
    }
  }
}

LintResult GameChecker::Run() {
  LintResult result;
  engine_.OpenDataArchives();
  if (!engine_.archives.data.Present()) return result;
  result.gameFound = true;
  engine_.OpenAssetArchives();
  CheckArchives();

  // What start-up reads before any script runs: the configuration and the composite lists.
  if (const std::vector<uint8_t>* config = Body("_config")) {
    for (std::string_view line : LintLines(*config)) {
      if (!ApplyGameConfigLine(engine_.config, line)) break;
    }
  }
  FinishGameConfiguration(engine_.config);
  if (const std::vector<uint8_t>* list = Body("_sprset")) engine_.layers.sprset = ParseDefinitions(*list);
  if (const std::vector<uint8_t>* list = Body("_bgset")) engine_.layers.bgset = ParseDefinitions(*list);

  // Every script the loader can find, the second data archive first; one entry per name.
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (const ArchiveIndex* index : {&engine_.archives.data2, &engine_.archives.data}) {
    for (const std::string& name : index->names) {
      if (!IsTable(name) && seen.insert(name).second) names.push_back(name);
    }
  }
  std::map<std::string, bool> rolls;
  for (const std::string& name : names) {
    if (const std::vector<uint8_t>* body = Body(name)) CollectRollScripts(*body, rolls);
  }
  for (const std::string& name : names) {
    const std::vector<uint8_t>* body = Body(name);
    if (!body) continue;
    const std::vector<uint8_t> copy = *body;  // the cache may grow while the script is checked
    if (auto roll = rolls.find(name); roll != rolls.end()) {
      CheckRollScript(name, copy, roll->second);
    } else {
      CheckScript(name, copy);
    }
  }
  CheckTables();

  std::sort(findings_.begin(), findings_.end(), [](const LintFinding& x, const LintFinding& y) {
    if (x.where != y.where) return x.where < y.where;
    if (x.line != y.line) return x.line < y.line;
    return x.Text() < y.Text();
  });
  findings_.erase(std::unique(findings_.begin(), findings_.end(),
                              [](const LintFinding& x, const LintFinding& y) { return x.Text() == y.Text(); }),
                  findings_.end());
  result.findings = std::move(findings_);
  return result;
}

}  // namespace torvel
