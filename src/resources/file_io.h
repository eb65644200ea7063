#pragma once
// Whole-file reads and writes. Every file the engine writes goes to a temporary file in the
// same folder first, is flushed to the disk and renamed over the old one, and the folder is
// synced, so a crash or a full disk never leaves a half-written file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

// What a read takes at most when the caller names no limit of its own.
inline constexpr uint64_t kDefaultReadLimit = uint64_t{1} << 30;

// Reads a regular file whole. A folder, a pipe or a device is refused without being read (a
// pipe would block), and so is a file larger than `maxBytes`. On failure `error` says why and
// names the file: "PATH: is a folder".
bool ReadWholeFile(const std::filesystem::path& file, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                   std::string& error);
bool ReadWholeFile(const std::filesystem::path& file, std::vector<uint8_t>& bytes);
// Reads at most `limit` bytes from the start of a regular file, however long the file is.
bool ReadFileStart(const std::filesystem::path& file, size_t limit, std::vector<uint8_t>& bytes);

// Writes a temporary file beside `file` and renames it over `file`. A writer killed between
// the two leaves its temporary behind; each write first removes the temporaries in its folder
// whose writers are no longer running (nothing else in the folder is touched). On failure the
// old file is unchanged and `error`, when given, says why and names the file.
bool WriteFileAtomically(const std::filesystem::path& file, std::span<const uint8_t> bytes,
                         std::string* error = nullptr);
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view text, std::string* error = nullptr);

// Whether `name` is a temporary file name of WriteFileAtomically, and the process that made it.
bool IsAtomicWriteTemporary(std::string_view name, long& writerPid);
// Removes the temporaries of WriteFileAtomically in `folder` whose writers have ended.
void RemoveAbandonedTemporaries(const std::filesystem::path& folder);

// An exclusive lock (flock) on a file that WriteFileAtomically replaces, held for the lock
// object's life, so that read-modify-write cycles of several processes take turns. The file is
// created empty when missing. As a replacement brings a new file under the name, the lock is
// taken again until the locked file is the one the name leads to. A holder that never lets go
// is waited for at most `timeoutMs`; a file system without locks is used unlocked.
class ReplacedFileLock {
 public:
  explicit ReplacedFileLock(const std::filesystem::path& file, int timeoutMs = 2000);
  ~ReplacedFileLock();
  ReplacedFileLock(const ReplacedFileLock&) = delete;
  ReplacedFileLock& operator=(const ReplacedFileLock&) = delete;

  bool Held() const { return held_; }
  // Why the lock could not be taken, naming the file.
  const std::string& Error() const { return error_; }

 private:
  int fd_ = -1;
  bool held_ = false;
  std::string error_;
};

}  // namespace torvel
