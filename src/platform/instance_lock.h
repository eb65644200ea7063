#pragma once
// The single-instance lock of the windowed engine: an exclusive lock on a file named after
// TORVELENGINE in the user's runtime folder. The system releases it when the process ends,
// however it ends.
#include <filesystem>

namespace torvel {

class InstanceLock {
 public:
  explicit InstanceLock(const std::filesystem::path& folder);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  // False when another process holds the lock (or it could not be taken).
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace torvel
