#pragma once
// The fixed set of archive files beside the game, and their indexes for the whole run.
#include <array>

#include "resources/archive.h"

namespace torvel {

inline constexpr const char* kDataArchive = "tq_data.tvx";
inline constexpr const char* kDataArchive2 = "tq_data2.tvx";
inline constexpr const char* kJpegArchive = "tq_gjp.tvx";
inline constexpr const char* kGraphicArchive = "tq_gra.tvx";
inline constexpr const char* kMusicArchive = "tq_bgm.tvx";

struct Archives {
  ArchiveIndex data;                 // "tq_data.tvx"
  ArchiveIndex data2;                // "tq_data2.tvx": takes precedence over data
  ArchiveIndex gjp;                  // JPEG pictures
  std::array<ArchiveIndex, 3> gra;   // "tq_gra.tvx", "tq_gra2.tvx", "tq_gra3.tvx"
  std::array<ArchiveIndex, 5> wav;   // "tq_wav1.tvx" .. "tq_wav5.tvx"
  std::array<ArchiveIndex, 3> se;    // "tq_se0.tvx" .. "tq_se2.tvx"
  std::array<ArchiveIndex, 3> ogg;   // "tq_ogg1.tvx" .. "tq_ogg3.tvx"
  ArchiveIndex bgm;                  // music
  std::array<ArchiveIndex, 2> anim;  // "tq_anim.tvx", "tq_anim2.tvx"
};

}  // namespace torvel
