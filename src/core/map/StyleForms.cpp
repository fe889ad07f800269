#include "map/StyleForms.h"

#include "base/Utf8.h"
#include "map/LayerNames.h"
#include "map/ThresholdForm.h"
#include "ui/Canvas.h"

namespace viamappa {

namespace {

constexpr int kButtonLength = 10;

// The title line and the group of the sample, shared by both forms.
void AddHeading(FormDialog& form, const StyleRecord& record, const char* group, FieldKind sample,
                const char* sample_name) {
  const std::string title = StyleTitleLine(record);
  form.AddLabel(title, static_cast<int>(utf8::Length(title)), 200, kNewLine);
  form.AddLabel(group, 25, 202, kNewLine);
  form.AddDrawn(sample, sample_name, 10, kSampleField, kNewLine);
}

void AddEnd(FormDialog& form) {
  form.AddButton("Ok", kButtonLength, kFormOk, kNewLine);
  form.AddButton("Annulla", kButtonLength, kFormCancel, kNextColumn);
}

}  // namespace

const std::vector<StyleChoice>& LineWidthChoices() {
  static const std::vector<StyleChoice> choices = [] {
    std::vector<StyleChoice> widths;
    for (int width = 1; width <= 10; ++width) widths.push_back({std::to_string(width) + " pixel", width});
    return widths;
  }();
  return choices;
}

const std::vector<StyleChoice>& LineStyleChoices() {
  static const std::vector<StyleChoice> choices = {{"Continua", ' '},
                                                   {"Tratteggiata", 'T'},
                                                   {"Punteggiata", 'P'},
                                                   {"Tratto e punto", 'A'},
                                                   {"Tratto e due punti", 'B'}};
  return choices;
}

const std::vector<StyleChoice>& HatchChoices() {
  static const std::vector<StyleChoice> choices = {{"Nessuna", -1},
                                                   {"Diagonale discendente", -2},
                                                   {"Quadrettatura", -3},
                                                   {"Diagonale incrociata", -4},
                                                   {"Diagonale ascendente", -6},
                                                   {"Orizzontale", -7},
                                                   {"Verticale", -8}};
  return choices;
}

LineStyleForm::LineStyleForm(const StyleRecord& record)
    : form_("Rappresentazione Tematismo"), sample_(record.style) {
  AddHeading(form_, record, "Linea rappresentazione", FieldKind::LineSample, "LINEA");
  form_.AddButton("Colore", kButtonLength, kColourButton, kNewLine);
  form_.AddButton("Spessore", kButtonLength, kWidthButton, kNextColumn);
  form_.AddButton("Stile", kButtonLength, kStyleButton, kNextColumn);
  AddEnd(form_);
}

void LineStyleForm::Apply(StyleRecord& record) const {
  record.style.line_colour = sample_.line_colour;
  record.style.line_width = sample_.line_width;
  record.style.line_style = ' ';
}

AreaStyleForm::AreaStyleForm(const StyleRecord& record)
    : form_("Rappresentazione Tematismo"), sample_(record.style) {
  AddHeading(form_, record, "Area rappresentazione", FieldKind::AreaSample, "AREA");
  form_.AddButton("Bordo", kButtonLength, kBorderButton, kNewLine);
  form_.AddButton("Spessore", kButtonLength, kWidthButton, kNextColumn);
  form_.AddButton("Stile", kButtonLength, kStyleButton, kNextColumn);
  form_.AddButton("Foreground", kButtonLength, kForegroundButton, kNewLine);
  form_.AddButton("Background", kButtonLength, kBackgroundButton, kNextColumn);
  form_.AddButton("Retinatura", kButtonLength, kHatchButton, kNextColumn);
  AddEnd(form_);
}

void AreaStyleForm::Apply(StyleRecord& record) const {
  record.style.line_colour = sample_.line_colour;
  record.style.line_width = sample_.line_width;
  record.style.line_style = ' ';
  // A fill in the border's own colour would not show against it.
  std::uint32_t fore = sample_.fore_colour;
  if (fore == sample_.line_colour) fore = sample_.line_colour > 0 ? kBlack : kWhite;
  record.style.fore_colour = fore;
  record.style.back_colour = 0;
  record.style.fill = record.name == kLocalityLayer ? -4 : -1;
}

}  // namespace viamappa
