#include "map/ThresholdForm.h"

#include "base/NumberText.h"
#include "base/Utf8.h"

namespace viamappa {

namespace {

constexpr int kLabelLength = 15;

std::string FieldText(std::int32_t threshold) {
  return threshold == -1 ? std::string() : FormatInteger(threshold);
}

constexpr const char* kRefused = "Le soglie indicate sono inaccettabili.\n\n";
constexpr const char* kUnchanged = "Le impostazioni delle soglie non vengono pertanto modificate.";

}  // namespace

ThresholdForm::ThresholdForm(const StyleRecord& record) : form_("Soglie Visualizzazione Tematismo") {
  const std::string title = StyleTitleLine(record);
  form_.AddLabel(title, static_cast<int>(utf8::Length(title)), 100, kNewLine);
  form_.AddLabel("Soglia Minima", kLabelLength, 110, kNewLine);
  form_.AddNumber("SOGMIN", kThresholdLayout, kMinimumField, kNextColumn)->text =
      FieldText(record.style.minimum);
  form_.AddLabel("Soglia Massima", kLabelLength, 111, kNewLine);
  form_.AddNumber("SOGMAX", kThresholdLayout, kMaximumField, kNextColumn)->text =
      FieldText(record.style.maximum);
  form_.AddLabel("Effetto", kLabelLength, 112, kNewLine);
  FormField* effect = form_.AddText("DESC", 60, kEffectField, kNextColumn);
  effect->read_only = true;
  effect->text = ThresholdEffect(record.style.minimum, record.style.maximum);
  form_.AddButton("Ok", 10, kFormOk, kNewLine);
  form_.AddButton("Annulla", 10, kFormCancel, kNextColumn);
}

void ThresholdForm::FieldLeft() {
  const auto minimum = ReadThreshold(form_.Find(kMinimumField)->text);
  const auto maximum = ReadThreshold(form_.Find(kMaximumField)->text);
  if (minimum && maximum) form_.Find(kEffectField)->text = ThresholdEffect(*minimum, *maximum);
}

bool ThresholdForm::Accept(StyleRecord& record, UserInterface& ui) const {
  const auto minimum = ReadThreshold(form_.Find(kMinimumField)->text);
  const auto maximum = ReadThreshold(form_.Find(kMaximumField)->text);
  // Letters or a number past the 32-bit range would be kept as some other threshold: refused.
  if (!minimum || !maximum) {
    ui.ShowMessage(std::string(kRefused) + "Le soglie devono essere numeri interi da 1 a 2147483647;\n" +
                       "un campo vuoto indica nessuna soglia.\n\n" + kUnchanged,
                   MessageIcon::Stop);
    return false;
  }
  if (!ThresholdsAcceptable(*minimum, *maximum)) {
    ui.ShowMessage(std::string(kRefused) + "La soglia massima deve obbligatoriamente essere maggiore\n" +
                       "della soglia minima.\n\n" + kUnchanged,
                   MessageIcon::Stop);
    return false;
  }
  record.style.minimum = *minimum;
  record.style.maximum = *maximum;
  return true;
}

}  // namespace viamappa
