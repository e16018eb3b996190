// Every output file of the program goes through here, so that one set of rules decides what a
// path means:
// - a regular file (or a new one) is written whole or not at all: the text goes to a temporary
//   file in the target's directory, which is flushed to disk and renamed over the target only
//   once everything was written; any failure removes the temporary file and leaves the target
//   untouched. The replaced file keeps its permissions;
// - a symbolic link is followed and its final target written that way (the link stays);
// - a FIFO or a device is written directly, in place, and its write errors are reported;
// - "-" is the standard output;
// - an empty path, a directory and a read-only file are refused before anything is written.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace qiro {

// The path that names the standard output.
inline bool IsStandardOutput(const std::filesystem::path& path) {
  return path == "-";
}

class SafeFile {
 public:
  // Opens the output for `target`; check Ok() before writing.
  explicit SafeFile(std::filesystem::path target);
  ~SafeFile();  // discards the temporary file unless Commit succeeded
  SafeFile(const SafeFile&) = delete;
  SafeFile& operator=(const SafeFile&) = delete;

  // False once opening or writing has failed.
  bool Ok() const;
  std::ostream& Stream();

  // Flushes, syncs and renames the temporary file over the target (a FIFO, a device or the
  // standard output is only flushed). When `backup` is given, a replaced target is first kept
  // under that name if no backup exists yet; a failed replace removes that new backup again.
  // False (with Error()) when any step failed.
  bool Commit(const std::filesystem::path& backup = {});

  // What went wrong: "cannot write PATH: REASON", and the reason alone ("read-only file",
  // "disk full", ...).
  const std::string& Error() const { return error_; }
  const std::string& Reason() const { return reason_; }
  // The file written: the final target of a symbolic link (a FIFO or device: the path given).
  const std::filesystem::path& Target() const { return target_; }

 private:
  enum class Mode { Replace, InPlace, StandardOutput };
  class Buffer;
  bool Fail(const std::string& reason);
  void Open(int fd);
  void OpenTemporary();

  std::filesystem::path given_, target_, temp_;
  Mode mode_ = Mode::Replace;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  std::string error_, reason_;
  bool committed_ = false;
};

// The whole text in one go. `error` and `reason` (optional) receive SafeFile::Error() and
// SafeFile::Reason() of a failure.
bool SafeWriteText(const std::filesystem::path& target, std::string_view text, std::string* error = nullptr,
                   std::string* reason = nullptr);

// The same with a writer that streams its text.
bool SafeWriteStream(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write,
                     std::string* error = nullptr, std::string* reason = nullptr);

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
