// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which widgets of the main window show each setting of settings/settings_table.h:
// its box (an edit box, or an option's check box), the label with its caption
// and the label with its unit, by the setting's identity; and the lamps of
// the module's status bits. The settings table knows nothing of widgets.

#include <array>
#include <string_view>
#include <vector>

#include "settings/option_flags.h"
#include "settings/settings_table.h"

class Lamp;
class QCheckBox;
class QLabel;
class QLineEdit;
class QString;
class QWidget;

namespace zelk {

struct SettingWidgets {
  SettingIndex setting;
  std::string_view group;          // the group box that holds the box
  std::string_view box;            // the edit box or check box
  std::string_view caption_label;  // none for a check box, whose own text is its caption
  std::string_view unit_label;
};

inline constexpr std::array<SettingWidgets, kSettingRowCount> kSettingWidgets{{
    {kTempoPartida, "partida_frio", "tempo_partida", "Label5", "Label6"},
    {kTempMaxCold, "partida_frio", "temp_max_cold", "Label7", "Label8"},
    {kPorcMistura, "partida_frio", "porc_mistura", "Label9", "Label10"},
    {kInjecaoExtra, "aquecimento", "injecao_extra", "Label11", "Label12"},
    {kTempMaxExtra, "aquecimento", "temp_max_extra", "Label13", "Label14"},
    {kLimiteCorr, "correcao", "limite_corr", "Label15", "Label16"},
    {kTempCorr, "correcao", "temp_corr", "Label23", "Label24"},
    {kTempoAjuste, "sonda", "tempo_ajuste", "Label18", "Label19"},
    {kValorLambda, "sonda", "valor_lambda", "Label17", "Label20"},
    {kVarInicial, "acel_rapida", "var_inicial", "Label2", "Label3"},
    {kTempoExtra, "acel_rapida", "tempo_extra", "Label1", "Label4"},
    {kRpmAdj, "GroupBox1", "rpm_adj", "Label39", "Label40"},
    {kHeatEn, "aquecimento", "heat_en", {}, {}},
    {kSondaEn, "sonda", "sonda_en", {}, {}},
    {kAcelRapidaEn, "acel_rapida", "acel_rapida_en", {}, {}},
    {kBandaLarga, "sonda", "banda_larga", {}, {}},
}};

// By the lamp's index in kStatusLamps.
inline constexpr std::array<std::string_view, kStatusLamps.size()> kLampWidgets{"map_prg",
                                                                                "rpm_prg"};

const SettingWidgets& WidgetsOf(SettingIndex setting);

// The edit box whose text the entry check checks, by the widget: the edit
// boxes' settings only (the idle RPM's box is set by its buttons).
const SettingRow* CheckedSettingOf(const QWidget* widget);

// The widgets of `window` (the main window) for a setting.
QLineEdit* EditOf(const QWidget& window, SettingIndex setting);  // an edit box, or rpm_adj
QCheckBox* CheckBoxOf(const QWidget& window, SettingIndex option);
QWidget* BoxOf(const QWidget& window, SettingIndex setting);
QLabel* UnitLabelOf(const QWidget& window, SettingIndex setting);
Lamp* LampOf(const QWidget& window, std::size_t lamp);

// One of the row's texts (caption, unit, hint) in the window's language.
QString RowText(const SettingRow& row, std::string_view english);

// What an option box enables while it is checked: the boxes of the settings
// that need it, then their labels.
std::vector<QWidget*> WidgetsEnabledBy(const QWidget& window, SettingIndex option);

}  // namespace zelk
