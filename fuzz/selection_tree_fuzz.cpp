// Arbitrary `seltree` tables: reading the trees, the children of every entry, and the menu of one
// tree shown and hovered over the whole picture.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "platform/headless/headless_host.h"
#include "scenes/selection_tree.h"
#include "shell/engine.h"

namespace {

torvel::TForm1& Engine() {
  static torvel::HeadlessHost host(std::filesystem::temp_directory_path() / "torvel-fuzz-config");
  static std::unique_ptr<torvel::TForm1> engine = [] {
    auto e = std::make_unique<torvel::TForm1>(host, torvel::EngineOptions{});
    e->CreateScreenBuffers();
    return e;
  }();
  return *engine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel;
  if (size < 3) return 0;
  const SelectionTreeTable trees = ParseSelectionTrees(std::span<const uint8_t>(data + 3, size - 3));
  for (const std::vector<TreeEntry>& tree : trees) {
    if (tree.size() > static_cast<size_t>(kSelectionTreeEntries)) __builtin_trap();
    // The children of the first entries: every entry would make a long input quadratic.
    for (size_t i = 0; i < tree.size() && i < 40; ++i) {
      if (tree[i].depth < 0 || tree[i].depth > kSelectionTreeMaxDepth) __builtin_trap();
      for (int child : TreeChildren(tree, static_cast<int>(i))) {
        if (child <= static_cast<int>(i) || child >= static_cast<int>(tree.size())) __builtin_trap();
      }
    }
  }

  // Showing a menu copies whole pictures and renders every label: one input in eight shows one.
  if ((data[2] & 0xE0) != 0) return 0;
  TForm1& e = Engine();
  // The menu's pictures stay allocated from run to run: showing a tree copies into them.
  e.selectionTree.tree = -1;
  e.ctl.choiceMode = 0;
  e.selectionTree.trees = trees;
  e.CmdSeltree(std::to_string(static_cast<int8_t>(data[0]) % 14));
  // A walk over the picture and a little beyond it, steps chosen by the input.
  int x = -20;
  int y = 300 + data[1];
  for (int step = 0; step < 24 && x < 820; ++step) {
    e.SelectionTreeHover(x, y);
    x += 10 + (data[2] & 31) + step * 3;
    y = (y * 7 + data[1] + step * 53) % 640 - 20;
  }
  if (e.selectionTree.tree >= 0 && e.selectionTree.hover > 10) __builtin_trap();
  return 0;
}
