#include "support/game_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "resources/archive_writer.h"
#include "resources/file_io.h"
#include "resources/sjis.h"

namespace torvel::testing {

std::string InputLinesFrom(uint32_t now, const std::string& lines) {
  std::string text;
  size_t pos = 0;
  while (pos < lines.size()) {
    const size_t end = lines.find('\n', pos);
    const std::string line = lines.substr(pos, end - pos);
    const size_t space = line.find(' ');
    text += std::to_string(now + static_cast<uint32_t>(std::stoi(line.substr(0, space)))) + line.substr(space) + "\n";
    pos = end == std::string::npos ? lines.size() : end + 1;
  }
  return text;
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("torvel-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

GameFixture::GameFixture() {
  archives_["tq_data.tvx"];
  archives_["tq_gra.tvx"];
}

GameFixture& GameFixture::Script(const std::string& name, const std::string& utf8Text) {
  archives_["tq_data.tvx"].emplace_back(Utf8ToSjis(name), ScriptTextToBody(utf8Text));
  return *this;
}

GameFixture& GameFixture::Script2(const std::string& name, const std::string& utf8Text) {
  archives_["tq_data2.tvx"].emplace_back(Utf8ToSjis(name), ScriptTextToBody(utf8Text));
  return *this;
}

GameFixture& GameFixture::ScriptBytes(const std::string& name, std::vector<uint8_t> body) {
  archives_["tq_data.tvx"].emplace_back(Utf8ToSjis(name), std::move(body));
  return *this;
}

GameFixture& GameFixture::Entry(const std::string& archive, const std::string& name, std::vector<uint8_t> body) {
  archives_[archive].emplace_back(Utf8ToSjis(name), std::move(body));
  return *this;
}

GameFixture& GameFixture::Without(const std::string& archive) {
  without_.push_back(archive);
  return *this;
}

GameFixture& GameFixture::GameDirWritable(bool writable) {
  gameDirWritable_ = writable;
  return *this;
}

void GameFixture::Write() {
  for (const auto& [file, entries] : archives_) {
    if (std::find(without_.begin(), without_.end(), file) != without_.end()) continue;
    std::vector<ArchiveEntry> list;
    for (const auto& [name, body] : entries) list.push_back(ArchiveEntry{name, body});
    std::vector<uint8_t> bytes;
    bool data = file.rfind("tq_data", 0) == 0;
    bool built = data ? BuildDataArchive(list, bytes) : BuildGeneralArchive(list, 32, bytes);
    if (!built || !WriteFileAtomically(Dir() / file, bytes)) std::abort();
  }
}

TForm1& GameFixture::Start(uint32_t seed) {
  Write();
  host_ = std::make_unique<HeadlessHost>(Dir() / "config");
  engine_ = std::make_unique<TForm1>(*host_, EngineOptions{Dir(), seed, gameDirWritable_});
  host_->Attach(engine_.get());
  host_->Start();
  return *engine_;
}

std::string GameFixture::RunToWait() {
  host_->RunUntilSettled(10000);
  return engine_->script.lineBuffer;
}

void GameFixture::Click() {
  engine_->PBMouseDown(MouseButton::Left, ShiftState{}, 400, 300);
  engine_->PBMouseUp(MouseButton::Left, ShiftState{}, 400, 300);
}

void GameFixture::Move(int x, int y) { engine_->PBMouseMove(ShiftState{}, x, y); }

void GameFixture::Press(int x, int y, MouseButton button) {
  Move(x, y);
  engine_->PBMouseDown(button, ShiftState{}, x, y);
  engine_->PBMouseUp(button, ShiftState{}, x, y);
}

}  // namespace torvel::testing
