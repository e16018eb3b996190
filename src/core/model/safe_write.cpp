// Safe saving: write a uniquely named temporary file beside the target (same directory, so
// the final rename stays on one file system and is atomic), fsync it, then rename it over
// the target. Until that rename the previous file is untouched; after it the new file is
// complete. The stream buffer writes straight to the descriptor so every failure (full disk,
// I/O error) is seen with its errno.
#include "model/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <streambuf>
#include <vector>

namespace qiro {

namespace fs = std::filesystem;

namespace {

constexpr long long kNoFault = -1;
std::atomic<long long> faultBudget{kNoFault};
std::atomic<unsigned> tempCounter{0};

std::string ErrnoText(int err) {
  return std::strerror(err);
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

  // Drains the buffer, syncs and closes the descriptor; false with Errno() on failure.
  bool Finish() {
    if (!Drain()) return false;
    if (::fsync(fd_) != 0 && errno != EINVAL) return Failed(errno);
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
      const ssize_t written = ::write(fd_, p, n);
      if (written < 0) {
        if (errno == EINTR) continue;
        return Failed(errno);
      }
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

SafeFile::SafeFile(fs::path target) : target_(std::move(target)) {
  const fs::path dir = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
  const std::string base = target_.filename().string();
  if (base.empty()) {
    Fail("no file name", EINVAL);
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
    Fail("cannot create a file in " + dir.string(), err);
    return;
  }
  // A replaced file keeps its permissions.
  struct stat st {};
  if (::stat(target_.c_str(), &st) == 0) (void)::fchmod(fd, st.st_mode & 07777);
  buffer_ = std::make_unique<Buffer>(fd, faultBudget.load());
  stream_ = std::make_unique<std::ostream>(buffer_.get());
}

SafeFile::~SafeFile() {
  stream_.reset();
  buffer_.reset();
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

bool SafeFile::Ok() const {
  return error_.empty() && stream_ && stream_->good();
}

std::ostream& SafeFile::Stream() {
  if (!stream_) {
    // Writes into a failed file go nowhere; the stream stays bad so Commit refuses.
    stream_ = std::make_unique<std::ostream>(nullptr);
  }
  return *stream_;
}

bool SafeFile::Fail(const std::string& what, int err) {
  if (error_.empty()) error_ = what + ": " + ErrnoText(err);
  return false;
}

bool SafeFile::Commit(const fs::path& backup) {
  if (!error_.empty()) return false;
  if (!buffer_ || !stream_) return Fail("not open", EBADF);
  stream_->flush();
  if (!stream_->good() || !buffer_->Finish())
    return Fail("cannot write " + target_.string(), buffer_->Errno() ? buffer_->Errno() : EIO);

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
    return Fail("cannot replace " + target_.string(), err);
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
                     std::string* error) {
  SafeFile file(target);
  if (file.Ok()) write(file.Stream());
  const bool ok = file.Commit();
  if (!ok && error) *error = file.Error();
  return ok;
}

bool SafeWriteText(const fs::path& target, std::string_view text, std::string* error) {
  return SafeWriteStream(
      target,
      [text](std::ostream& out) { out.write(text.data(), static_cast<std::streamsize>(text.size())); },
      error);
}

ScopedWriteFault::ScopedWriteFault(long long budget) : previous_(faultBudget.exchange(budget)) {}

ScopedWriteFault::~ScopedWriteFault() {
  faultBudget.store(previous_);
}

}  // namespace qiro
