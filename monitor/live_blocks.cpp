// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live_blocks.h"

#include "monitor/live_sample.h"
#include "settings/number_text.h"

namespace zelk {

LiveTexts DecodePollBlock(LiveBlockBytes block, std::string_view cal_text, char decimal_separator) {
  return FormatLiveSample(DecodePollSample(block, ParseInteger(cal_text)), decimal_separator);
}

InstantTexts DecodeInstantBlock(LiveBlockBytes block, char decimal_separator) {
  return FormatInstantSample(DecodeInstantSample(block), decimal_separator);
}

}  // namespace zelk
