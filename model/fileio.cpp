#include "model/fileio.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string SizeText(size_t bytes) {
  if (bytes % (size_t{1} << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

std::string ErrnoText(int e) { return std::strerror(e); }

void Say(std::string* why, std::string text) {
  if (why) *why = std::move(text);
}

// The file a chain of symbolic links ends at (which need not exist yet).
fs::path FollowLinks(fs::path p) {
  std::error_code ec;
  for (int depth = 0; depth < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++depth) {
    const fs::path target = fs::read_symlink(p, ec);
    if (ec) break;
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return p;
}

// ".name.XXXXXXXX.tmp" beside the target.
bool IsTemporaryOf(const std::string& candidate, const std::string& name) {
  const std::string head = "." + name + ".";
  constexpr size_t kDigits = 8;
  if (candidate.size() != head.size() + kDigits + 4 || candidate.compare(0, head.size(), head) != 0) return false;
  if (candidate.compare(candidate.size() - 4, 4, ".tmp") != 0) return false;
  for (size_t i = head.size(); i < head.size() + kDigits; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(candidate[i]))) return false;
  return true;
}

// A save holds a lock on its temporary while it writes; one nobody holds
// was left by a save that was killed.
void RemoveAbandonedTemporaries(const fs::path& target) {
  std::error_code ec;
  const std::string name = target.filename().string();
  fs::directory_iterator it(target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path p = it->path();
    if (!IsTemporaryOf(p.filename().string(), name)) continue;
    if (!fs::is_regular_file(fs::symlink_status(p, ec))) continue;
    const int fd = ::open(p.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(p.c_str());
    ::close(fd);
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

FileRead ReadRegularFile(const fs::path& path, size_t limit) {
  FileRead r;
  // Non-blocking, so a FIFO without a writer cannot hold the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    r.Why = errno == ENOENT ? "there is no such file" : ErrnoText(errno);
    return r;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    r.Why = ErrnoText(errno);
  } else if (S_ISDIR(st.st_mode)) {
    r.Why = "it is a folder, not a file";
  } else if (!S_ISREG(st.st_mode)) {
    r.Why = "it is not a regular file";
  } else if (static_cast<uintmax_t>(st.st_size) > limit) {
    r.Why = "it is larger than " + SizeText(limit);
  } else {
    std::string bytes;
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    // A file that grows while it is read is cut at the limit, never read without end.
    for (;;) {
      if (got == bytes.size()) {
        if (bytes.size() > limit) break;
        bytes.resize(bytes.size() + 4096);
      }
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        r.Why = ErrnoText(errno);
        break;
      }
      if (n == 0) break;
      got += static_cast<size_t>(n);
    }
    if (r.Why.empty() && got > limit) r.Why = "it is larger than " + SizeText(limit);
    if (r.Why.empty()) {
      bytes.resize(got);
      r.Bytes = std::move(bytes);
    }
  }
  ::close(fd);
  return r;
}

std::optional<std::string> ReadFileBytes(const fs::path& path) { return ReadRegularFile(path).Bytes; }

bool WriteFileReplacing(const fs::path& requested, std::string_view bytes, std::string* why) {
  if (requested.filename().empty()) {
    Say(why, "the name is not a file's");
    return false;
  }
  const fs::path path = FollowLinks(requested);

  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) {
    Say(why, "it is a folder");
    return false;
  }
  // Root may write anything: a file without any write permission is read-only all the same.
  if (exists && S_ISREG(old.st_mode) && ((old.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)) {
    Say(why, "the file is read-only");
    return false;
  }
  RemoveAbandonedTemporaries(path);

  // A name of our own in the target's folder, so the rename stays on one
  // file system; "x" never opens a file someone else made.
  std::random_device rd;
  int fd = -1;
  fs::path temp;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rd()));
    temp = path.parent_path() / ("." + path.filename().string() + suffix);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) {
      Say(why, ErrnoText(errno));
      return false;
    }
    if (fd < 0) continue;
    // Held until the rename: another save's sweep must not take it for abandoned.
    struct stat mine {};
    struct stat there {};
    if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &mine) != 0 || ::stat(temp.c_str(), &there) != 0 ||
        mine.st_ino != there.st_ino || mine.st_dev != there.st_dev) {
      ::close(fd);
      fd = -1;
    }
  }
  if (fd < 0) {
    Say(why, "no temporary file could be made beside it");
    return false;
  }

  bool ok = WriteAll(fd, bytes);
  int error = ok ? 0 : errno;
  if (ok && exists && S_ISREG(old.st_mode) && ::fchmod(fd, old.st_mode & 07777) != 0) ok = false, error = errno;
  if (ok && ::fsync(fd) != 0) ok = false, error = errno;
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false, error = errno;
  if (!ok) ::unlink(temp.c_str());
  ::close(fd);
  if (!ok) Say(why, error ? ErrnoText(error) : "the file could not be written");
  return ok;
}
