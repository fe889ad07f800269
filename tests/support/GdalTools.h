// GDAL's command-line tools, for tests that hold our shapefiles against another reader and writer.
#pragma once

#include <cstdio>
#include <string>

namespace viamappa::testing {

// The command's standard output and error; status -1 when it could not be run.
inline std::string RunTool(const std::string& command, int* status = nullptr) {
  std::string output;
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (status) *status = -1;
  if (pipe == nullptr) return output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int result = pclose(pipe);
  if (status) *status = result;
  return output;
}

inline bool GdalToolsPresent() {
  int status = 0;
  RunTool("ogrinfo --version && ogr2ogr --version", &status);
  return status == 0;
}

inline std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

}  // namespace viamappa::testing
