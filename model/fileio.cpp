#include "model/fileio.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  if (path.filename().empty()) return false;

  // A name of our own in the target's folder, so the rename stays on one
  // file system; "x" never opens a file someone else made.
  std::random_device rd;
  std::FILE* f = nullptr;
  fs::path temp;
  for (int attempt = 0; attempt < 16 && !f; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rd()));
    temp = path.parent_path() / ("." + path.filename().string() + suffix);
    errno = 0;
    f = std::fopen(temp.string().c_str(), "wbx");
    if (!f && errno != EEXIST) return false;
  }
  if (!f) return false;

  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
#if defined(__unix__) || defined(__APPLE__)
  ok = ok && ::fsync(fileno(f)) == 0;
#endif
  ok = std::fclose(f) == 0 && ok;

  std::error_code ec;
  if (ok) {
    fs::rename(temp, path, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(temp, ec);
  return ok;
}
