#include "ui/SnapFactorDialog.h"

#include <cmath>

#include "base/NumberText.h"

namespace viamappa {

SnapFactorDialog::SnapFactorDialog() : text_(FormatFixedZeroPadded(kDefaultMetres, 1, 2, ',')) {}

std::optional<std::string> SnapFactorDialog::Accept() {
  // A text that is no number must not run the conflation with a factor of 0, which would take every
  // secondary arc for a new one; nor may a negative factor, which no distance is within.
  const std::optional<double> metres = ParseDecimal(text_);
  if (!metres || !std::isfinite(*metres) || *metres < 0)
    return "ATTENZIONE: il fattore di snap deve essere un numero di metri maggiore o uguale a zero, "
           "ad esempio 10,00.";
  snap_factor_ = *metres == 0 ? 0 : *metres;  // -0 reads as 0
  return std::nullopt;
}

}  // namespace viamappa
