// tvx: the authoring tool. Builds, lists and extracts archives; packs pictures.
#include <iostream>
#include <string_view>

#include "tvx_commands.h"

namespace tvx {

int Fail(const std::string& message) {
  std::cerr << "tvx: " << message << "\n";
  return 1;
}

}  // namespace tvx

namespace {

struct Subcommand {
  std::string_view name;
  int (*run)(const tvx::Args&);
  std::string_view usage;
};

constexpr Subcommand kSubcommands[] = {
    {"pack-data", tvx::PackData, "pack-data DIR OUT.tvx        scripts and tables, data layout"},
    {"pack", tvx::Pack, "pack [--name-length N] DIR OUT.tvx   general layout (name field 32)"},
    {"list", tvx::List, "list ARCHIVE                 name, offset and size of every entry"},
    {"extract", tvx::Extract, "extract ARCHIVE DIR          every entry to a file"},
    {"wady", tvx::Wady, "wady encode|decode --type a|b [--loop SECONDS] IN OUT   WAV <-> compressed wave"},
    {"pic", tvx::Pic, "pic encode IN.png|IN.bmp OUT  pic decode IN OUT.png   packed pictures"},
    {"build", tvx::Build, "build SRC_DIR OUT_DIR         a game folder from a source tree (see README)"},
    {"anim", tvx::Anim, "anim pack DIR OUT  anim list FILE   animation entries (DIR/anim.txt)"},
};

void PrintUsage(std::ostream& out) {
  out << "usage: tvx COMMAND ARGS\n";
  for (const Subcommand& s : kSubcommands) out << "  tvx " << s.usage << "\n";
  out << "  tvx --help | --version\n";
}

int Usage() {
  PrintUsage(std::cerr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string_view name = argv[1];
  if (name == "--help" || name == "-h") {
    PrintUsage(std::cout);
    return 0;
  }
  if (name == "--version") {
    std::cout << "tvx " << TORVEL_VERSION << "\n";
    return 0;
  }
  for (const Subcommand& s : kSubcommands) {
    if (s.name == name) return s.run(tvx::Args(argv + 2, argv + argc));
  }
  return Usage();
}
