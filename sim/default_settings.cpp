// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/module.h"

namespace zelk::sim {

std::array<std::uint8_t, kSettingsSize> DefaultSettings() {
  return {
      0x90,        // flags: engine-heating extra injection and oxygen-sensor freeze on
      0x0A,        // (not used by the configurator)
      32,          // mixture 50 %
      32,          // limite_corr 50 %
      0x56, 0xAC,  // idle period 44118: 850 RPM
      0x14, 0x05, 0xC8, 0x00, 0x3C, 0x0F,  // (not used by the configurator)
      0xC4, 0x04,                          // tempo_partida 1220: 1000 ms
      24,                                  // porc_mistura 37.5 %
      91,                                  // temp_corr 35 C
      91,                                  // temp_max_extra 35 C
      131,                                 // temp_max_cold 20 C
      250,  0,                             // var_inicial 250: 200 us
      0,                                   // tempo_extra 0 %
      6,                                   // injecao_extra 9.375 %
      23,                                  // valor_lambda 450 mV
      0x7D,                                // (not used by the configurator)
      238,                                 // tempo_ajuste 49 s
  };
}

}  // namespace zelk::sim
