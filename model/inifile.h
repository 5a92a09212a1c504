#pragma once
// A small INI reader and writer that keeps the file's bytes: values are
// 8-bit (code page 936) strings, section and key names compare without
// regard to case, and a write changes only its own line.
#include <filesystem>
#include <string>
#include <string_view>

class IniFile {
 public:
  explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& Path() const { return path_; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // False, with the reason, when the file could not be written; the old
  // file is then kept. A file that exists but cannot be read is never
  // replaced: its other lines would be lost.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   std::string* why = nullptr) const;

  // The same rules over file contents, for callers that hold the bytes.
  static std::string Read(std::string_view contents, std::string_view section, std::string_view key,
                          std::string_view def);
  static std::string Write(std::string_view contents, std::string_view section, std::string_view key,
                           std::string_view value);

 private:
  std::filesystem::path path_;
};
