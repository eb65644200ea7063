#include "script/web_target.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "resources/file_io.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

TEST(WebTarget, OpensWebAddressesOnly) {
  testing::TempFolder game;
  EXPECT_EQ(WebTarget("http://example.com/a?b=c", game.Path()), "http://example.com/a?b=c");
  EXPECT_EQ(WebTarget("HTTPS://example.com/", game.Path()), "HTTPS://example.com/");
  EXPECT_EQ(WebTarget("  https://example.com/  ", game.Path()), "https://example.com/");
  const char* refused[] = {"",
                           "http://",
                           "https://exa mple.com",
                           "https://example.com/\x82\xA0",
                           "ftp://example.com/",
                           "file:///etc/passwd",
                           "javascript:alert(1)",
                           "mailto:someone@example.com",
                           "C:\\Windows\\notepad.exe"};
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(WebTarget(text, game.Path()).has_value());
  }
}

TEST(WebTarget, OpensFilesInsideTheGameFolderOnly) {
  testing::TempFolder root;
  const std::filesystem::path game = root.Path() / "game";
  std::filesystem::create_directories(game / "doc");
  ASSERT_TRUE(WriteFileAtomically(game / "doc" / "readme.txt", std::string_view("hello")));
  ASSERT_TRUE(WriteFileAtomically(root.Path() / "secret.txt", std::string_view("no")));
  std::filesystem::create_symlink(root.Path() / "secret.txt", game / "link.txt");
  const std::string inside = std::filesystem::canonical(game / "doc" / "readme.txt").string();

  EXPECT_EQ(WebTarget("doc\\readme.txt", game), inside);
  EXPECT_EQ(WebTarget("doc/readme.txt", game), inside);
  EXPECT_EQ(WebTarget(inside, game), inside);
  const std::string outside = (root.Path() / "secret.txt").string();
  const char* refused[] = {"..\\secret.txt", "doc/../../secret.txt", "link.txt", "doc/missing.txt", "doc", "."};
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(WebTarget(text, game).has_value());
  }
  EXPECT_FALSE(WebTarget(outside, game).has_value());
}

}  // namespace
}  // namespace torvel
