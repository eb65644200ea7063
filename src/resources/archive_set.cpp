// Opening the fixed set of archive files beside the game.
#include <cstdio>
#include <string>

#include "shell/engine.h"

namespace torvel {

namespace {
std::string Numbered(const char* format, int n) {
  char name[32];
  std::snprintf(name, sizeof name, format, n);
  return name;
}
}  // namespace

void TForm1::OpenDataArchives() {
  archives.data = ReadArchiveIndex(GamePath(kDataArchive), ArchiveLayout::Data);
  archives.data2 = ReadArchiveIndex(GamePath(kDataArchive2), ArchiveLayout::Data);
}

void TForm1::OpenAssetArchives() {
  auto general = [this](const std::string& name) { return ReadArchiveIndex(GamePath(name), ArchiveLayout::General); };
  archives.gjp = general(kJpegArchive);
  archives.gra[0] = general(kGraphicArchive);
  for (int i = 2; i <= 3; ++i) archives.gra[static_cast<size_t>(i - 1)] = general(Numbered("tq_gra%d.tvx", i));
  for (int i = 1; i <= 5; ++i) archives.wav[static_cast<size_t>(i - 1)] = general(Numbered("tq_wav%d.tvx", i));
  for (int i = 0; i <= 2; ++i) archives.se[static_cast<size_t>(i)] = general(Numbered("tq_se%d.tvx", i));
  for (int i = 1; i <= 3; ++i) archives.ogg[static_cast<size_t>(i - 1)] = general(Numbered("tq_ogg%d.tvx", i));
  archives.bgm = general(kMusicArchive);
  archives.anim[0] = general("tq_anim.tvx");
  archives.anim[1] = general("tq_anim2.tvx");
}

}  // namespace torvel
