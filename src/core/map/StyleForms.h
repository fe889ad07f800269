// "Rappresentazione Tematismo": how a line layer or an area layer is drawn, chosen on a sample. The
// pickers of colours, widths, line styles and hatches belong to the window; these forms take what
// was picked and, on "Ok", write it into the record.
#pragma once

#include <string>
#include <vector>

#include "forms/FormDialog.h"
#include "map/StyleRecord.h"

namespace viamappa {

// One entry of a picker: its text and the value it stands for.
struct StyleChoice {
  std::string text;
  int value = 0;
};

// Line widths of 1 to 10 pixels; the line styles (' ', 'T', 'P', 'A', 'B'); the hatches of areas by
// fill code (-1 none, -2 to -8).
const std::vector<StyleChoice>& LineWidthChoices();
const std::vector<StyleChoice>& LineStyleChoices();
const std::vector<StyleChoice>& HatchChoices();

inline constexpr std::uint16_t kSampleField = 201;

class LineStyleForm {
 public:
  static constexpr std::uint16_t kColourButton = 211;  // "Colore"
  static constexpr std::uint16_t kWidthButton = 212;   // "Spessore"
  static constexpr std::uint16_t kStyleButton = 213;   // "Stile"

  // The sample starts as the record is drawn.
  explicit LineStyleForm(const StyleRecord& record);

  FormDialog& form() { return form_; }
  // The sample as it stands.
  const LayerStyle& sample() const { return sample_; }
  void SetColour(std::uint32_t colour) { sample_.line_colour = colour & 0xFFFFFF; }
  void SetWidth(int width) { sample_.line_width = width; }
  void SetLineStyle(char style) { sample_.line_style = style; }

  // "Ok": colour and width from the sample; the line becomes solid.
  void Apply(StyleRecord& record) const;

 private:
  FormDialog form_;
  LayerStyle sample_;
};

class AreaStyleForm {
 public:
  static constexpr std::uint16_t kBorderButton = 221;      // "Bordo"
  static constexpr std::uint16_t kWidthButton = 222;       // "Spessore"
  static constexpr std::uint16_t kStyleButton = 223;       // "Stile"
  static constexpr std::uint16_t kForegroundButton = 224;  // "Foreground"
  static constexpr std::uint16_t kBackgroundButton = 225;  // "Background"
  static constexpr std::uint16_t kHatchButton = 226;       // "Retinatura"

  explicit AreaStyleForm(const StyleRecord& record);

  FormDialog& form() { return form_; }
  const LayerStyle& sample() const { return sample_; }
  void SetBorder(std::uint32_t colour) { sample_.line_colour = colour & 0xFFFFFF; }
  void SetWidth(int width) { sample_.line_width = width; }
  void SetLineStyle(char style) { sample_.line_style = style; }
  void SetForeground(std::uint32_t colour) { sample_.fore_colour = colour & 0xFFFFFF; }
  void SetBackground(std::uint32_t colour) { sample_.back_colour = colour & 0xFFFFFF; }
  // Shown on the sample only: the layer's fill code stays its own.
  void SetHatch(int fill_code) { sample_.fill = static_cast<std::int8_t>(fill_code); }

  // "Ok": border colour and width from the sample, a solid line, the foreground (black instead of a
  // foreground equal to the border, white when the border is black too), no background, and the fill
  // code of the layer: -4 for "local", -1 for the others.
  void Apply(StyleRecord& record) const;

 private:
  FormDialog form_;
  LayerStyle sample_;
};

}  // namespace viamappa
