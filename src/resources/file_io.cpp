#include "resources/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace torvel {

namespace {

// Temporaries are hidden files beside their target: ".NAME.PID-SEQ.torvel-tmp".
constexpr std::string_view kTemporarySuffix = ".torvel-tmp";
// Names tried before a write gives up on finding a free temporary name.
constexpr int kTemporaryNameTries = 64;
constexpr size_t kTemporaryNameMax = 200;
constexpr int kLockRetryMs = 10;

std::string Reason(const std::filesystem::path& file, std::string_view reason) {
  return file.string() + ": " + std::string(reason);
}

std::string ErrnoReason(const std::filesystem::path& file, int error) { return Reason(file, std::strerror(error)); }

std::string NotRegularReason(const std::filesystem::path& file, mode_t mode) {
  return Reason(file, S_ISDIR(mode) ? "is a folder" : "is not a regular file");
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool WriterRunning(long pid) {
  if (pid <= 0) return true;  // not a process id: leave the file alone
  if (pid == static_cast<long>(::getpid())) return true;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Makes a rename in `folder` durable.
void SyncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ReadWholeFile(const std::filesystem::path& file, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                   std::string& error) {
  bytes.clear();
  // Looked at before opening: opening a pipe blocks, and opening a device may do something.
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) {
    error = ErrnoReason(file, errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = NotRegularReason(file, st.st_mode);
    return false;
  }
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    error = ErrnoReason(file, errno);
    return false;
  }
  // The name may have been replaced between the two looks.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = NotRegularReason(file, st.st_mode);
    ::close(fd);
    return false;
  }
  auto refuse = [&](const std::string& reason) {
    error = reason;
    bytes.clear();
    ::close(fd);
    return false;
  };
  const std::string tooLarge = "is larger than " + std::to_string(maxBytes) + " bytes";
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return refuse(Reason(file, tooLarge));
  // The size is only a first guess: a file that grows while it is read is read to its end,
  // within the limit (and files such as those under /proc tell no size at all).
  bytes.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (done >= maxBytes) {
        uint8_t probe;
        ssize_t n = ::read(fd, &probe, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refuse(ErrnoReason(file, errno));
        if (n > 0) return refuse(Reason(file, tooLarge));
        break;
      }
      bytes.resize(static_cast<size_t>(std::min<uint64_t>(maxBytes, done + (done >> 1) + 4096)));
    }
    ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return refuse(ErrnoReason(file, errno));
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return true;
}

bool ReadWholeFile(const std::filesystem::path& file, std::vector<uint8_t>& bytes) {
  std::string error;
  return ReadWholeFile(file, bytes, kDefaultReadLimit, error);
}

bool ReadFileStart(const std::filesystem::path& file, size_t limit, std::vector<uint8_t>& bytes) {
  bytes.clear();
  // Only regular files: opening a pipe would block.
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  bytes.resize(limit);
  size_t done = 0;
  while (done < limit) {
    ssize_t n = ::read(fd, bytes.data() + done, limit - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      bytes.clear();
      return false;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return true;
}

bool IsAtomicWriteTemporary(std::string_view name, long& writerPid) {
  if (name.size() <= kTemporarySuffix.size() || name[0] != '.' ||
      name.substr(name.size() - kTemporarySuffix.size()) != kTemporarySuffix) {
    return false;
  }
  name.remove_suffix(kTemporarySuffix.size());
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot < 2) return false;  // ".NAME" must keep a name
  std::string_view stamp = name.substr(dot + 1);
  size_t dash = stamp.find('-');
  if (dash == std::string_view::npos) return false;
  std::string_view pid = stamp.substr(0, dash);
  if (!AllDigits(pid) || !AllDigits(stamp.substr(dash + 1)) || pid.size() > 9) return false;
  writerPid = std::stol(std::string(pid));
  return true;
}

void RemoveAbandonedTemporaries(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    long pid = 0;
    if (!IsAtomicWriteTemporary(it->path().filename().string(), pid) || WriterRunning(pid)) continue;
    // A writer holds a lock on its temporary while it writes; one that can be taken at once
    // belongs to nobody (this also covers a process id seen from another namespace).
    int fd = ::open(it->path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) continue;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlink(it->path().c_str());
    }
    ::close(fd);
  }
}

bool WriteFileAtomically(const std::filesystem::path& file, std::span<const uint8_t> bytes, std::string* error) {
  auto fail = [&](const std::string& reason) {
    if (error) *error = reason;
    return false;
  };
  std::filesystem::path folder = file.parent_path();
  RemoveAbandonedTemporaries(folder);
  static std::atomic<unsigned> sequence{0};
  // Cut so that the temporary's name stays within the usual 255-byte limit.
  const std::string stem =
      "." + file.filename().string().substr(0, kTemporaryNameMax) + "." + std::to_string(::getpid()) + "-";
  std::filesystem::path temp;
  int fd = -1;
  for (int i = 0; i < kTemporaryNameTries && fd < 0; ++i) {
    temp = folder / (stem + std::to_string(sequence++) + std::string(kTemporarySuffix));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && errno != EEXIST) return fail(ErrnoReason(file, errno));
  }
  if (fd < 0) return fail(ErrnoReason(file, EEXIST));
  // Held until the rename is done: the lock tells cleaners that this temporary is in use.
  ::flock(fd, LOCK_EX | LOCK_NB);
  auto abandon = [&](int savedErrno) {
    ::unlink(temp.c_str());
    ::close(fd);
    return fail(ErrnoReason(file, savedErrno));
  };
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) return abandon(errno);
  if (std::rename(temp.c_str(), file.c_str()) != 0) return abandon(errno);
  ::close(fd);
  SyncFolder(folder);
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view text, std::string* error) {
  return WriteFileAtomically(file, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                             error);
}

// ---- ReplacedFileLock ----

ReplacedFileLock::ReplacedFileLock(const std::filesystem::path& file, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    fd_ = ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0644);
    if (fd_ < 0) {
      error_ = ErrnoReason(file, errno);
      return;
    }
    struct stat locked {};
    if (::fstat(fd_, &locked) != 0 || !S_ISREG(locked.st_mode)) {
      error_ = NotRegularReason(file, locked.st_mode);
      break;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) {
        held_ = true;  // a file system without locks: go on unlocked
        return;
      }
    } else {
      // Locked; but the file may have been replaced since it was opened.
      struct stat current {};
      if (::stat(file.c_str(), &current) == 0 && current.st_dev == locked.st_dev && current.st_ino == locked.st_ino) {
        held_ = true;
        return;
      }
    }
    ::close(fd_);
    fd_ = -1;
    if (std::chrono::steady_clock::now() >= deadline) {
      error_ = Reason(file, "is locked by another program");
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kLockRetryMs));
  }
  ::close(fd_);
  fd_ = -1;
}

ReplacedFileLock::~ReplacedFileLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace torvel
