#pragma once
// Whole files as bytes: read at once, and written so a failure never
// leaves half a file.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Nothing when the file cannot be opened.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Writes beside the target and renames, so a failure keeps the old file.
bool WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes);
