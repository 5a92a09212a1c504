#pragma once
// Whole files as bytes: read at once, and written so a failure never
// leaves half a file.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The largest file a user may open: far above the largest project (every
// key action with 500 events of long payloads) or a full code library.
inline constexpr size_t kMaxUserFileBytes = size_t{64} << 20;

struct FileRead {
  std::optional<std::string> Bytes;
  std::string Why;  // when there are no bytes: the reason, as words for a message
};

// Only a regular file (after symbolic links) no larger than `limit` is
// read: a folder, a FIFO or a device is refused before a byte is read, so
// nothing can hang or read without end.
FileRead ReadRegularFile(const std::filesystem::path& path, size_t limit = kMaxUserFileBytes);

// The same, without the reason.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Writes beside the target and renames, so a failure keeps the old file.
// A symbolic link keeps pointing at its target, which gets the bytes; an
// existing file keeps its permissions; a read-only one is refused.
// Temporaries that a killed save left beside the target are removed.
bool WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes, std::string* why = nullptr);
