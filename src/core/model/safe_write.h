// Files written whole or not at all. The text goes to a temporary file in the target's
// directory, which is flushed to disk and renamed over the target only once everything was
// written; any failure removes the temporary file and leaves the target untouched.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace qiro {

class SafeFile {
 public:
  // Creates the temporary file next to `target`; check Ok() before writing.
  explicit SafeFile(std::filesystem::path target);
  ~SafeFile();  // discards the temporary file unless Commit succeeded
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;

  // False once creating or writing has failed.
  bool Ok() const;
  std::ostream& Stream();

  // Flushes, syncs and renames the temporary file over the target. When `backup` is given,
  // the target is first kept under that name if it exists and no backup exists yet; a failed
  // replace removes that new backup again. False (with Error()) when any step failed.
  bool Commit(const std::filesystem::path& backup = {});

  // What went wrong, in words, for files that have no error code of their own.
  const std::string& Error() const { return error_; }
  const std::filesystem::path& Target() const { return target_; }

 private:
  class Buffer;
  bool Fail(const std::string& what, int err);

  std::filesystem::path target_, temp_;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  std::string error_;
  bool committed_ = false;
};

// The whole text in one go. `error` (optional) receives the reason of a failure.
bool SafeWriteText(const std::filesystem::path& target, std::string_view text, std::string* error = nullptr);

// The same with a writer that streams its text.
bool SafeWriteStream(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write,
                     std::string* error = nullptr);

// Test seam: while one exists, every SafeFile accepts only `budget` bytes and then fails as a
// full disk would (ENOSPC), so the failure paths can be exercised without filling a disk.
class ScopedWriteFault {
 public:
  explicit ScopedWriteFault(long long budget);
  ~ScopedWriteFault();
  ScopedWriteFault(const ScopedWriteFault&) = delete;
  ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

 private:
  long long previous_;
};

}  // namespace qiro
