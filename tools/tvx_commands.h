#pragma once
// The subcommands of tvx, one file each. Every command takes its own arguments (without the
// program and subcommand names) and returns the exit code.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tvx {

using Args = std::vector<std::string>;

int PackData(const Args& args);
int Pack(const Args& args);
int List(const Args& args);
int Extract(const Args& args);
int Wady(const Args& args);
int Pic(const Args& args);
int Anim(const Args& args);
int Build(const Args& args);

// One animation entry from DIR/anim.txt and the pictures it names (tvx anim pack, tvx build). On a
// refusal `error` reads "DIR/anim.txt:LINE: reason".
bool PackAnimationFolder(const std::filesystem::path& dir, std::vector<uint8_t>& entry, std::string& error);

// Reports a failure on standard error and returns the exit code 1.
int Fail(const std::string& message);

}  // namespace tvx
