#include "background/SyntheticRaster.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "background/ShellCommand.h"
#include "base/NumberText.h"

namespace viamappa::background {

bool WriteSyntheticRaster(const std::string& path, const RasterGrid& grid, const PixelSource& pixels,
                          std::string& error) {
  if (grid.width < 1 || grid.height < 1 || (grid.bands != 1 && grid.bands != 3) || !(grid.pixel > 0)) {
    error = "dimensioni del raster non valide";
    return false;
  }
  const std::string raw = path + ".raw";
  const std::string vrt = path + ".vrt";
  const auto clean = [&] {
    std::error_code ignored;
    std::filesystem::remove(raw, ignored);
    std::filesystem::remove(vrt, ignored);
  };
  {
    std::ofstream out(raw, std::ios::binary);
    std::vector<unsigned char> row(static_cast<std::size_t>(grid.width) * grid.bands);
    for (int y = 0; y < grid.height && out; ++y) {
      for (int x = 0; x < grid.width; ++x)
        pixels(x, y, row.data() + static_cast<std::size_t>(x) * grid.bands);
      out.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
    }
    if (!out) {
      clean();
      error = "impossibile scrivere " + raw;
      return false;
    }
  }
  {
    std::ofstream out(vrt);
    out << "<VRTDataset rasterXSize=\"" << grid.width << "\" rasterYSize=\"" << grid.height << "\">\n"
        << "  <GeoTransform>" << FormatShortest(grid.origin_x) << ", " << FormatShortest(grid.pixel)
        << ", 0, " << FormatShortest(grid.origin_y) << ", 0, " << FormatShortest(-grid.pixel)
        << "</GeoTransform>\n";
    for (int band = 0; band < grid.bands; ++band) {
      out << "  <VRTRasterBand dataType=\"Byte\" band=\"" << band + 1 << "\" subClass=\"VRTRawRasterBand\">\n"
          << "    <SourceFilename relativeToVRT=\"0\">" << std::filesystem::absolute(raw).string()
          << "</SourceFilename>\n"
          << "    <ImageOffset>" << band << "</ImageOffset>\n"
          << "    <PixelOffset>" << grid.bands << "</PixelOffset>\n"
          << "    <LineOffset>" << static_cast<long long>(grid.width) * grid.bands << "</LineOffset>\n"
          << "  </VRTRasterBand>\n";
    }
    out << "</VRTDataset>\n";
  }
  std::string output;
  const bool converted =
      RunCommand("gdal_translate -q -of GTiff " + ShellQuoted(vrt) + " " + ShellQuoted(path), output);
  clean();
  if (!converted) error = "gdal_translate non ha scritto " + path + ": " + output;
  return converted;
}

}  // namespace viamappa::background
