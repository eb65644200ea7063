#include "platform/headless/headless_run.h"

#include <iostream>
#include <sstream>

#include "graphics/png_io.h"
#include "platform/headless/headless_host.h"
#include "resources/file_io.h"
#include "shell/engine.h"

namespace torvel {

namespace {
// An input file holds one event per line; this is hundreds of thousands of them.
constexpr uint64_t kMaxInputFileBytes = 16 << 20;
}  // namespace

int RunHeadless(const HeadlessRunOptions& options) {
  HeadlessHost host(options.settingsFolder);
  if (!options.dataFolder.empty()) host.SetDataFolder(options.dataFolder);
  if (options.inputFile) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(*options.inputFile, bytes, kMaxInputFileBytes, error)) {
      std::cerr << "torvel: " << error << "\n";
      return 2;
    }
    InputScript input = ParseInputScript(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!input.error.empty()) {
      std::cerr << "torvel: " << options.inputFile->string() << ": " << input.error << "\n";
      return 2;
    }
    host.SetInput(std::move(input.events));
  }
  bool writeFailed = false;
  host.onError = [&writeFailed](const std::string& what) {
    std::cerr << "torvel: " << what << "\n";
    writeFailed = true;
  };
  TForm1 engine(host, EngineOptions{options.gameDir, options.seed, options.gameDirWritable});
  host.Attach(&engine);
  if (host.Start()) {
    if (options.frames) {
      host.RunFrames(*options.frames);
    } else {
      host.RunUntilSettled();
    }
  }
  if (engine.ctl.startupFailed) return 1;
  std::string error;
  if (options.shotFile && !WritePng(*options.shotFile, host.Window(), &error)) {
    std::cerr << "torvel: " << error << "\n";
    return 2;
  }
  if (options.stateFile && !WriteFileAtomically(*options.stateFile, engine.DescribeState(), &error)) {
    std::cerr << "torvel: " << error << "\n";
    return 2;
  }
  return writeFailed ? 2 : 0;
}

}  // namespace torvel
