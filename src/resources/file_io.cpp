#include "resources/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace torvel {

bool ReadWholeFile(const std::filesystem::path& file, std::vector<uint8_t>& bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0);
  bytes.resize(static_cast<size_t>(size));
  return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

bool ReadFileStart(const std::filesystem::path& file, size_t limit, std::vector<uint8_t>& bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes.resize(limit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
  if (in.bad()) return false;
  bytes.resize(static_cast<size_t>(in.gcount()));
  return true;
}

namespace {
// Makes a rename in `folder` durable.
void SyncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
}  // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
  std::filesystem::path temp = file;
  temp += ".tmp" + std::to_string(::getpid());
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(file.parent_path());
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view text) {
  return WriteFileAtomically(file,
                             std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace torvel
