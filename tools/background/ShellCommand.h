// Running GDAL's command-line tools from the writers.
#pragma once

#include <cstdio>
#include <string>

namespace viamappa::background {

// A word for the shell, whatever it holds.
inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a command; what it writes (standard output and error) in output. False when it fails.
inline bool RunCommand(const std::string& command, std::string& output) {
  output.clear();
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return false;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  return pclose(pipe) == 0;
}

}  // namespace viamappa::background
