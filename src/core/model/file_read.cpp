#include "model/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qiro {

bool ReadWholeFile(const std::filesystem::path& path, std::string& text, std::size_t limit) {
  text.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  char chunk[1 << 16];
  while (ok) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) break;
    if (n < 0) {
      ok = errno == EINTR;
      continue;
    }
    if (text.size() + static_cast<std::size_t>(n) > limit) {
      ok = false;
      break;
    }
    text.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (!ok) std::string().swap(text);
  return ok;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::size_t len = end - start;
    if (len > 0 && text[start + len - 1] == '\r') --len;
    lines.emplace_back(text, start, len);
    start = end + 1;
  }
  return lines;
}

}  // namespace qiro
