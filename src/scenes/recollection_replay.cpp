// Scenes played from recollection: the play queue, the move to the next scene, the return to the
// screen, and the preview of a scene's pictures.
#include <algorithm>

#include "graphics/kernels.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

std::string ReplayScript(const RecollectionTable& table, int line) {
  return "k_" + table.scripts[static_cast<size_t>(line)];
}

}  // namespace

void TForm1::PlayRecollectionQueue(const std::array<int32_t, kRecordPlayListLength>& queue) {
  RecollectionScreen& r = recollectionScreen;
  // The first scene that loads starts the queue; one that cannot be loaded is passed over, and a
  // queue none of whose scenes loads leaves the screen as it is.
  int position = 0;
  while (position < kRecordPlayListLength && IsRecollectionScene(r.table, queue[static_cast<size_t>(position)])) {
    if (LoadScript(ReplayScript(r.table, queue[static_cast<size_t>(position)]), 1)) break;
    ++position;
  }
  if (position >= kRecordPlayListLength || !IsRecollectionScene(r.table, queue[static_cast<size_t>(position)])) {
    return;
  }
  r.queue = queue;
  r.position = position;
  r.highlight = 0;
  script.currentScript = ReplayScript(r.table, queue[static_cast<size_t>(position)]);
  ctl.screenMode = smScenario;
  script.replayMode = 2;
  script.callDepth = 0;
  WaitReset();
  text.windowShown = false;
  vars.S(4) = 0;
  vars.S(28) = 1;
  const bool more = position + 1 < kRecordPlayListLength && r.queue[static_cast<size_t>(position + 1)] != 0;
  SetReplayMenu(more, true);
}

void TForm1::EndRecollectionReplay() { EndRecollectionScene(true); }

void TForm1::EndRecollectionScene(bool nextScene) {
  RecollectionScreen& r = recollectionScreen;
  StopLoopEffect();
  if (nextScene) {
    while (++r.position < kRecordPlayListLength &&
           IsRecollectionScene(r.table, r.queue[static_cast<size_t>(r.position)])) {
      const std::string name = ReplayScript(r.table, r.queue[static_cast<size_t>(r.position)]);
      if (!LoadScript(name, 1)) continue;  // a scene that cannot be loaded is skipped
      script.currentScript = name;
      script.callDepth = 0;
      WaitReset();
      text.windowShown = false;
      const bool more = r.position + 1 < kRecordPlayListLength && r.queue[static_cast<size_t>(r.position + 1)] != 0;
      SetReplayMenu(more, true);
      return;
    }
  }
  script.replayMode = 0;
  WaitReset();
  RestoreScriptPosition(r.saved);
  vars.S(35) = 0;
  text.windowShown = false;
  ctl.screenMode = smRecollection;
  r.highlight = 0;
  DrawRecollectionTabs();
  DrawRecollectionPage();
  DrawRecollectionPanel();
  ShowRecollectionScreen();
  vars.S(28) = 0;
  SetReplayMenu(false, false);
  SetMusic(11);
  vars.S(9) = 0;
  vars.S(10) = 0;
  vars.S(11) = 0;
}

void TForm1::PreviewRecollectionScene(int line) {
  RecollectionScreen& r = recollectionScreen;
  if (!IsRecollectionScene(r.table, line)) return;
  if (!LoadScript(r.table.scripts[static_cast<size_t>(line)], 2)) return;
  std::vector<std::string> lines;
  for (int pos = 0; !AuxAtEnd(pos);) {
    std::string l = SjisUpper(ReadAuxLine(pos));
    if (l.size() >= 4 && (l.compare(1, 3, "GRA") == 0 || l.compare(1, 3, "GRB") == 0 || l.compare(1, 3, "SPR") == 0)) {
      lines.push_back(std::move(l));
    }
  }
  // The preview borrows the layers: what it changes is put back at its end (the picture-seen
  // flags it sets stay).
  Layers kept = layers;
  r.preview = 1;
  const bool wasBlocking = ctl.blockingScene;
  ctl.blockingScene = true;
  int delay = 0;
  for (const std::string& l : lines) {
    if (r.preview != 1) break;
    const std::string keyword = l.substr(1, 3);
    const std::string rest = l.size() > 5 ? l.substr(5) : std::string();
    const char first = rest.empty() ? '\0' : rest[0];
    if (keyword == "GRB") {
      LoadBackground(rest);
      continue;
    }
    if (keyword == "GRA") {
      if (first == 'S') continue;
      if (first == '#') {
        LoadBackground(rest);
        delay = 5;
      } else if (first == 'A') {
        LoadPicture(rest.substr(0, rest.find(',')), layers.background);
        delay = 5;
      } else if (first == 'B') {
        SetSprites(rest);
        delay = 1;
      }
    } else {
      SetSprites(rest);
      delay = 1;
    }
    ComposeScene();
    CrossfadeTruncated(layers.screen, layers.scene, 176, layers.work);
    host.Present(layers.work, Rect{0, 0, kScreenWidth, kScreenHeight});
    for (int step = 0; step < delay && r.preview == 1; ++step) {
      host.Sleep(100);
      host.PumpMessages();
    }
  }
  layers = std::move(kept);
  ctl.blockingScene = wasBlocking;
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
  r.window = layers.screen;
  r.preview = 0;
  r.highlight = 0;
}

}  // namespace torvel
