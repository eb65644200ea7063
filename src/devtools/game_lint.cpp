// `torvel --lint`: the checker's entry points and the form of its report.
#include "devtools/game_lint.h"

#include "devtools/lint_checker.h"

namespace torvel {

std::string LintFinding::Text() const {
  if (line <= 0) return where + ": " + kind + ": " + detail;
  return where + ":" + std::to_string(line) + ": " + kind + ": " + detail;
}

LintResult LintGame(const std::filesystem::path& gameDir) {
  GameChecker checker(gameDir);
  return checker.Run();
}

int RunLint(const std::filesystem::path& gameDir, std::ostream& out, std::ostream& err) {
  const LintResult result = LintGame(gameDir);
  if (!result.gameFound) {
    err << "torvel: no game data in " << gameDir.string() << "\n";
    return 2;
  }
  for (const LintFinding& finding : result.findings) out << finding.Text() << "\n";
  return result.findings.empty() ? 0 : 1;
}

}  // namespace torvel
