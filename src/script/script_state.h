#pragma once
// The interpreter's position: the scenario and auxiliary buffers, the line buffer, the call
// stack and the replay mode.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace torvel {

constexpr size_t kScriptBufferSize = 0x40000;
constexpr size_t kLineBufferSize = 2048;  // a line keeps at most 2047 bytes
constexpr int kCallStackFrames = 9;
constexpr size_t kScriptNameMax = 29;  // the 30-byte name fields less their NUL

struct CallFrame {
  std::string script;
  int pc = 0;
};

struct ScriptState {
  std::vector<uint8_t> scenario = std::vector<uint8_t>(kScriptBufferSize);
  int scenarioSize = 0;
  int pc = 0;
  int lineStart = 0;
  std::string lineBuffer;  // the current line without its NUL
  int linePos = 0;
  bool needLine = true;
  std::string currentScript;
  std::string loadedScript;
  std::array<CallFrame, kCallStackFrames> callStack;
  int callDepth = 0;
  int replayMode = 0;
  std::string recordStart;  // the script `rec` started recording choices in

  std::vector<uint8_t> aux = std::vector<uint8_t>(kScriptBufferSize);
  int auxSize = 0;
  int auxPos = 0;
};

}  // namespace torvel
