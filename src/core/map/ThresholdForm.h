// "Soglie Visualizzazione Tematismo": the scales between which a layer is shown, typed as whole
// denominators, with what they mean written beside them.
#pragma once

#include "forms/FormDialog.h"
#include "map/StyleRecord.h"
#include "ui/UserInterface.h"

namespace viamappa {

// The buttons every style form ends with.
inline constexpr std::uint16_t kFormOk = 1;
inline constexpr std::uint16_t kFormCancel = 2;

class ThresholdForm {
 public:
  static constexpr std::uint16_t kMinimumField = 101;  // "SOGMIN"
  static constexpr std::uint16_t kMaximumField = 102;  // "SOGMAX"
  static constexpr std::uint16_t kEffectField = 103;   // "DESC"
  // Eight digits, leading zeros shown as blanks.
  static constexpr NumberLayout kThresholdLayout{8, 0, false, true, false};

  // The fields hold the record's thresholds ("%ld", empty for none) and their effect.
  explicit ThresholdForm(const StyleRecord& record);

  FormDialog& form() { return form_; }
  const FormDialog& form() const { return form_; }

  // After a threshold field was left: the effect follows the fields when both can be read.
  void FieldLeft();

  // "Ok": the fields read as thresholds go into the record when the pair is acceptable (true).
  // Otherwise the error message is shown and the record keeps its thresholds (false). Either way the
  // form ends.
  bool Accept(StyleRecord& record, UserInterface& ui) const;

 private:
  FormDialog form_;
};

}  // namespace viamappa
