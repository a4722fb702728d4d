#pragma once
// An exclusive advisory lock on a file for the whole of a run, so two runs on one tournament file
// never both seat it. Advisory: only other quelna-cli runs take notice.
#include <string>

namespace quelna {

class FileLock {
  public:
    enum class Result { Locked, Busy, Failed };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Locks the existing file at path without waiting: Busy when another run holds it, Failed
    // (with the reason in error) when it cannot be opened. The lock holds until destruction,
    // also across a safe write that replaces the file.
    [[nodiscard]] Result lock(const std::string& path, std::string* error);
    // Windows refuses to rename over a file that any handle holds open, whatever its sharing, so
    // there the lock ends just before the run's one write. That leaves a run starting in that
    // instant free to read the old file; elsewhere the lock stays to the end.
    void releaseBeforeReplace();

  private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace quelna
