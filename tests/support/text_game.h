#pragma once
// A game configured for text: a window at the bottom of the screen, a ten-byte margin so line
// breaking is reached quickly, two speakers, and the Japanese gothic face.
#include <string>

#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel::testing {

inline const char kTextConfig[] =
    "TXW_OFS_X:0\nTXW_OFS_Y:440\nTXW_OFS_Y2:8\nTXW_SIZE_X:800\nTXW_SIZE_Y:152\n"
    "TXW_COLOR_R:16\nTXW_COLOR_G:24\nTXW_COLOR_B:64\nTXW_ALPHA:160\nTXW_ALPHA2:128\n"
    "FONT_NAME:ＭＳ ゴシック\nFONT_SIZE:22\n"
    "TX_OFS_X:64\nTX_OFS_Y:14\nTX_PITCH_X:11\nTX_PITCH_Y:30\nMOJI_MAX_X:10\nMOJI_MAX_Y:5\n"
    "TX2_OFS_X:60\nTX2_OFS_Y:48\nTX2_PITCH_X:11\nTX2_PITCH_Y:32\nMOJI_MAX2_X:60\nMOJI_MAX2_Y:17\n"
    "NP_TYPE:0\nNP_OFS_X:40\nNP_OFS_Y:4\nNP_SZ_X:200\nNP_SZ_Y:40\n"
    "CLICK_WAIT_OFS_X:740\nCLICK_WAIT_OFS_Y:116\nCLICK_WAIT_SIZE_X:24\nCLICK_WAIT_SIZE_Y:24\n"
    "CLICK_WAIT_PAT:4\nCLICK_WAIT_TIMING:1\nSPD_MAX:10\n"
    "NAME:1,湊,00G\nNAME:2,少女,G00\nDEFAULT_NAME:湊\nDEFAULT_NAME2:ミ\n";

// The Shift-JIS bytes of a UTF-8 text.
inline std::string Sj(const std::string& utf8) { return Utf8ToSjis(utf8); }

// Row `row` of the page as UTF-8 (NUL bytes inside the row are left out).
inline std::string PageRow(const TForm1& e, int row) {
  std::string bytes;
  for (char c : e.textWindow.page.bytes[static_cast<size_t>(row)]) {
    if (c != 0) bytes += c;
  }
  return SjisToUtf8(bytes);
}

}  // namespace torvel::testing
