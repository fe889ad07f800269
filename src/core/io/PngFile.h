// Pictures as PNG files, so that a person can look at what the program draws without a window.
#pragma once

#include <string>
#include <vector>

#include "ui/Canvas.h"
#include "ui/UserInterface.h"

namespace viamappa {

// A PNG file of 8-bit red, green and blue from pixels 0x00BBGGRR, rows from the top. The image data
// are kept in stored blocks: larger than compressed, readable by every viewer.
std::string EncodePng(int width, int height, const std::vector<Colour>& pixels);

// Writes the picture to path; false after a message when the file cannot be written.
bool WritePngFile(const std::string& path, int width, int height, const std::vector<Colour>& pixels,
                  UserInterface& ui);

}  // namespace viamappa
