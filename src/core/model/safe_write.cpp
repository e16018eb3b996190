// Safe saving: write a uniquely named temporary file beside the target (same directory, so
// the final rename stays on one file system and is atomic), fsync it, then rename it over
// the target. Until that rename the previous file is untouched; after it the new file is
// complete. What is not a regular file cannot be replaced that way: a FIFO or a device is
// written in place, as a shell redirection would. The stream buffer writes straight to the
// descriptor so every failure (full disk, I/O error, a reader gone) is seen with its errno.
#include "model/safe_write.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <streambuf>
#include <vector>

namespace qiro {

namespace fs = std::filesystem;

namespace {

constexpr long long kNoFault = -1;
constexpr int kMaxLinkHops = 40;
std::atomic<long long> faultBudget{kNoFault};
std::atomic<unsigned> tempCounter{0};

std::string ErrnoText(int err) {
  return err == ENOSPC ? "disk full" : std::strerror(err);
}

// Writes without dying of SIGPIPE when the reader of a FIFO or pipe has gone: the signal is
// blocked for the call and, when it was raised by it, taken off the thread again.
ssize_t WriteKeepingSigpipe(int fd, const char* data, std::size_t size) {
  sigset_t pipeSet, previous, pending;
  sigemptyset(&pipeSet);
  sigaddset(&pipeSet, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSet, &previous);
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
  const ssize_t written = ::write(fd, data, size);
  const int err = errno;
  if (written < 0 && err == EPIPE && !wasPending) {
    const timespec zero{};
    while (sigtimedwait(&pipeSet, nullptr, &zero) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = err;
  return written;
}

// The final target of a chain of symbolic links; empty with `err` on a loop or a read failure.
fs::path FollowLinks(fs::path path, int& err) {
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::error_code ec;
    const fs::path to = fs::read_symlink(path, ec);
    if (ec) {
      err = ec.value();
      return {};
    }
    path = to.is_absolute() ? to : path.parent_path() / to;
  }
  err = ELOOP;
  return {};
}

// Whether a shell redirection by this user may write the file, read from its mode bits: the
// owner's bit for the owner, any write bit for root (who would otherwise write anything), the
// system's check for everybody else.
bool MayWrite(const fs::path& path, const struct stat& st) {
  const uid_t user = ::geteuid();
  if (user == st.st_uid) return (st.st_mode & S_IWUSR) != 0;
  if (user == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

class SafeFile::Buffer : public std::streambuf {
 public:
  Buffer(int fd, long long budget) : fd_(fd), budget_(budget), data_(1 << 16) {
    setp(data_.data(), data_.data() + data_.size());
  }
  ~Buffer() override {
    if (fd_ >= 0) ::close(fd_);
  }

  int Errno() const { return err_; }

  // Drains the buffer, syncs (when asked) and closes the descriptor; false with Errno() on failure.
  bool Finish(bool sync) {
    if (!Drain()) return false;
    if (sync && ::fsync(fd_) != 0 && errno != EINVAL) return Failed(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Failed(errno);
    return true;
  }

 protected:
  int_type overflow(int_type ch) override {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
    return ch;
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Failed(int err) {
    if (err_ == 0) err_ = err ? err : EIO;
    return false;
  }

  bool Drain() {
    if (err_ != 0 || fd_ < 0) return Failed(EBADF);
    const char* p = pbase();
    const char* end = pptr();
    while (p < end) {
      std::size_t n = static_cast<std::size_t>(end - p);
      if (budget_ >= 0 && static_cast<long long>(n) > budget_) {
        n = static_cast<std::size_t>(budget_);
        if (n == 0) return Failed(ENOSPC);
      }
      const ssize_t written = WriteKeepingSigpipe(fd_, p, n);
      if (written < 0) {
        if (errno == EINTR) continue;
        return Failed(errno);
      }
      if (written == 0) return Failed(EIO);
      if (budget_ >= 0) budget_ -= written;
      p += written;
    }
    setp(data_.data(), data_.data() + data_.size());
    return true;
  }

  int fd_;
  long long budget_;
  int err_ = 0;
  std::vector<char> data_;
};

SafeFile::SafeFile(fs::path target) : given_(std::move(target)) {
  if (given_.empty()) {
    Fail("empty file name");
    return;
  }
  if (IsStandardOutput(given_)) {
    mode_ = Mode::StandardOutput;
    // What the program printed before comes first.
    std::cout.flush();
    std::fflush(stdout);
    const int fd = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) {
      Fail(ErrnoText(errno));
      return;
    }
    Open(fd);
    return;
  }
  struct stat st {};
  if (::stat(given_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      Fail(ErrnoText(EISDIR));
      return;
    }
    if (!MayWrite(given_, st)) {
      Fail("read-only file");
      return;
    }
    if (!S_ISREG(st.st_mode)) {
      // A FIFO or a device cannot be replaced by a file: write into it (a FIFO waits for its
      // reader). Opened by the given name, so the system follows links like /dev/stdout itself.
      mode_ = Mode::InPlace;
      target_ = given_;
      const int fd = ::open(given_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
      if (fd < 0) {
        Fail(ErrnoText(errno));
        return;
      }
      Open(fd);
      return;
    }
  }
  // A regular file, or a new one (a missing directory is reported by the creation): replaced
  // where it really is, so a link keeps pointing at it.
  int err = 0;
  target_ = FollowLinks(given_, err);
  if (target_.empty()) {
    Fail(ErrnoText(err));
    return;
  }
  OpenTemporary();
}

void SafeFile::OpenTemporary() {
  const fs::path dir = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
  const std::string base = target_.filename().string();
  if (base.empty()) {
    Fail("no file name");
    return;
  }
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp_ =
        dir / ("." + base + "." + std::to_string(::getpid()) + "-" + std::to_string(tempCounter++) + ".tmp");
    fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int err = errno;
    temp_.clear();
    Fail("cannot create a file in " + dir.string() + ": " + ErrnoText(err));
    return;
  }
  // A replaced file keeps its owner (when we may give it) and its permissions.
  struct stat st {};
  if (::stat(target_.c_str(), &st) == 0) {
    if (::geteuid() == 0) (void)::fchown(fd, st.st_uid, st.st_gid);
    (void)::fchmod(fd, st.st_mode & 07777);
  }
  Open(fd);
}

void SafeFile::Open(int fd) {
  buffer_ = std::make_unique<Buffer>(fd, faultBudget.load());
  stream_ = std::make_unique<std::ostream>(buffer_.get());
}

SafeFile::~SafeFile() {
  stream_.reset();
  buffer_.reset();
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

bool SafeFile::Ok() const {
  return reason_.empty() && stream_ && stream_->good();
}

std::ostream& SafeFile::Stream() {
  if (!stream_) {
    // Writes into a failed file go nowhere; the stream stays bad so Commit refuses.
    stream_ = std::make_unique<std::ostream>(nullptr);
  }
  return *stream_;
}

bool SafeFile::Fail(const std::string& reason) {
  if (reason_.empty()) {
    reason_ = reason;
    const std::string shown = mode_ == Mode::StandardOutput ? std::string("standard output")
                              : given_.empty()              ? std::string("\"\"")
                                                            : given_.string();
    error_ = "cannot write " + shown + ": " + reason;
  }
  return false;
}

bool SafeFile::Commit(const fs::path& backup) {
  if (!reason_.empty()) return false;
  if (!buffer_ || !stream_) return Fail(ErrnoText(EBADF));
  stream_->flush();
  if (!stream_->good() || !buffer_->Finish(mode_ == Mode::Replace))
    return Fail(ErrnoText(buffer_->Errno() ? buffer_->Errno() : EIO));
  if (mode_ != Mode::Replace) {
    committed_ = true;
    return true;
  }

  // The backup is a second name for the previous file, so the target never goes missing.
  bool madeBackup = false;
  if (!backup.empty() && ::access(target_.c_str(), F_OK) == 0 && ::access(backup.c_str(), F_OK) != 0) {
    std::error_code ec;
    fs::create_hard_link(target_, backup, ec);
    if (ec) fs::copy_file(target_, backup, ec);
    madeBackup = !ec;
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int err = errno;
    if (madeBackup) ::unlink(backup.c_str());
    return Fail("cannot replace it: " + ErrnoText(err));
  }
  committed_ = true;
  // Make the rename itself durable.
  const fs::path dir = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    (void)::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool SafeWriteStream(const fs::path& target, const std::function<void(std::ostream&)>& write,
                     std::string* error, std::string* reason) {
  SafeFile file(target);
  if (file.Ok()) write(file.Stream());
  const bool ok = file.Commit();
  if (!ok && error) *error = file.Error();
  if (!ok && reason) *reason = file.Reason();
  return ok;
}

bool SafeWriteText(const fs::path& target, std::string_view text, std::string* error, std::string* reason) {
  return SafeWriteStream(
      target,
      [text](std::ostream& out) { out.write(text.data(), static_cast<std::streamsize>(text.size())); }, error,
      reason);
}

ScopedWriteFault::ScopedWriteFault(long long budget) : previous_(faultBudget.exchange(budget)) {}

ScopedWriteFault::~ScopedWriteFault() {
  faultBudget.store(previous_);
}

}  // namespace qiro
