#pragma once
#include <initializer_list>
#include <string>

// A byte string from a list of byte values.
inline std::string B(std::initializer_list<int> v) {
  std::string s;
  for (int b : v) s += static_cast<char>(b);
  return s;
}
