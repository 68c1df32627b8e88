#pragma once

// The settings record: 40 integers and 3 strings, one line each in ZEFA.cfg. Every field is
// declared once, in kSettingFields, which drives the defaults, the load, the save and the dialog.

#include <array>
#include <cstdint>
#include <string>

namespace zefa {

struct Settings {
    int32_t Window_x = 0, Window_y = 0, Repeat = 0, Randam = 0, NormalZoom = 0, FullZoom = 0,
            ListBox = 0, Volume = 0, FF = 0, REW = 0;
    int32_t WheelFF1 = 0, WheelFF2 = 0, WheelFF3 = 0, WheelFF4 = 0, WheelFF5 = 0;
    int32_t WheelREW1 = 0, WheelREW2 = 0, WheelREW3 = 0, WheelREW4 = 0, WheelREW5 = 0;
    int32_t AutoTop = 0, ScanLine = 0, MauseVolume = 0, Aspect = 0, Info = 0, InputMode = 0,
            FlushAutoNext = 0, MainPanel_x = 0, MainPanel_y = 0;
    std::string SkinName, DropFileType, RealFileType;
    int32_t MaskMode = 0, U_Mask = 0, D_Mask = 0, R_Mask = 0, L_Mask = 0, WheelFlg1 = 0,
            WheelFlg2 = 0, FlashQuality = 0, AutoPlay = 0, FlashScale = 0, FlashWindow = 0;

    friend bool operator==(const Settings&, const Settings&) = default;
};

// When a field takes its default: when the main window is created, in the start-up block of
// the first tick, or never (the panel position comes from the panel window).
enum class DefaultPhase { Create, Startup, None };

// The settings dialog's control that shows and edits a field: EditN, CheckBoxN or ComboBoxN.
struct DialogControl {
    enum Kind : uint8_t { None, Edit, Check, Combo };
    Kind kind = None;
    uint8_t number = 0;
};

struct SettingField {
    const char* key; // with its "="
    int32_t Settings::*int_member;
    std::string Settings::*str_member; // set for the three string settings
    int32_t int_default;
    const char* str_default;
    DefaultPhase phase;
    DialogControl control;
};

// The field a dialog control edits; nullptr for none.
const SettingField* field_of(DialogControl::Kind kind, int number);

constexpr size_t kSettingCount = 43;
extern const std::array<SettingField, kSettingCount> kSettingFields; // in file order

constexpr size_t kLineMainPanelX = 27;
constexpr size_t kLineMainPanelY = 28;

// Applies the defaults of one phase.
void apply_setting_defaults(Settings& s, DefaultPhase phase);

// The ten wheel steps' defaults (WheelFF1..5, then WheelREW1..5), for the dialog's reset.
std::array<int32_t, 10> wheel_step_defaults();

// DropFileType's and RealFileType's defaults, which the dialog's extension reset shows.
struct ExtensionTexts {
    std::string drop, real;
};
ExtensionTexts extension_defaults();

// Volume as the engines take it: a hand-edited value outside 0..100 stops at the nearer end.
int16_t volume_percent(int32_t volume);
void reset_wheel_steps(Settings& s);

} // namespace zefa
