#pragma once
// The system's 8-bit texts are code page 936 bytes; widgets hold QStrings.
// The program's own texts (model/texts.h, the variant's) are UTF-8.
#include <QString>
#include <string>
#include <string_view>

QString FromGbk(std::string_view bytes);
inline QString Utf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
// Nothing when a character cannot be held in code page 936.
bool ToGbk(const QString& text, std::string* bytes);
std::string ToGbkOrEmpty(const QString& text);
// The number of code page 936 bytes the text takes, or -1.
int GbkLength(const QString& text);
