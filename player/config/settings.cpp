#include "config/settings.h"

#include <algorithm>

namespace zefa {

namespace {

constexpr SettingField I(const char* key, int32_t Settings::*m, int32_t def, DefaultPhase p) {
    return SettingField{key, m, nullptr, def, nullptr, p};
}
constexpr SettingField S(const char* key, std::string Settings::*m, const char* def) {
    return SettingField{key, nullptr, m, 0, def, DefaultPhase::Startup};
}

constexpr DefaultPhase C = DefaultPhase::Create;
constexpr DefaultPhase U = DefaultPhase::Startup;

} // namespace

const std::array<SettingField, kSettingCount> kSettingFields = {{
    I("Window_x=", &Settings::Window_x, 0, C),
    I("Window_y=", &Settings::Window_y, 0, C),
    I("Repeat=", &Settings::Repeat, 1, C),
    I("Randam=", &Settings::Randam, 0, C),
    I("NormalZoom=", &Settings::NormalZoom, 2, C),
    I("FullZoom=", &Settings::FullZoom, 5, C),
    I("ListBox=", &Settings::ListBox, 0, C),
    I("Volume=", &Settings::Volume, 75, C),
    I("FF=", &Settings::FF, 5000, C),
    I("REW=", &Settings::REW, 5000, C),
    I("WheelFF1=", &Settings::WheelFF1, -1000, C),
    I("WheelFF2=", &Settings::WheelFF2, -3000, C),
    I("WheelFF3=", &Settings::WheelFF3, -9000, C),
    I("WheelFF4=", &Settings::WheelFF4, -14000, C),
    I("WheelFF5=", &Settings::WheelFF5, -30000, C),
    I("WheelREW1=", &Settings::WheelREW1, 1000, C),
    I("WheelREW2=", &Settings::WheelREW2, 3000, C),
    I("WheelREW3=", &Settings::WheelREW3, 9000, C),
    I("WheelREW4=", &Settings::WheelREW4, 14000, C),
    I("WheelREW5=", &Settings::WheelREW5, 30000, C),
    I("AutoTop=", &Settings::AutoTop, 0, U),
    I("ScanLine=", &Settings::ScanLine, 1, U),
    I("MauseVolume=", &Settings::MauseVolume, 1, U),
    I("Aspect=", &Settings::Aspect, 0, C),
    I("Info=", &Settings::Info, 1, U),
    I("InputMode=", &Settings::InputMode, 1, U),
    I("FlushAutoNext=", &Settings::FlushAutoNext, 1, U),
    I("MainPanel_x=", &Settings::MainPanel_x, 0, DefaultPhase::None),
    I("MainPanel_y=", &Settings::MainPanel_y, 0, DefaultPhase::None),
    S("SkinName=", &Settings::SkinName, "Default01"),
    S("DropFileType=", &Settings::DropFileType, ".mpg.mpeg.mp3.avi.wav.mov.rm.swf;"),
    S("RealFileType=", &Settings::RealFileType, ".rm;"),
    I("MaskMode=", &Settings::MaskMode, 0, U),
    I("U_Mask=", &Settings::U_Mask, 2, U),
    I("D_Mask=", &Settings::D_Mask, 2, U),
    I("R_Mask=", &Settings::R_Mask, 0, U),
    I("L_Mask=", &Settings::L_Mask, 0, U),
    I("WheelFlg1=", &Settings::WheelFlg1, 1, U),
    I("WheelFlg2=", &Settings::WheelFlg2, 1, U),
    I("FlashQuality=", &Settings::FlashQuality, 0, U),
    I("AutoPlay=", &Settings::AutoPlay, 1, U),
    I("FlashScale=", &Settings::FlashScale, 0, U),
    I("FlashWindow=", &Settings::FlashWindow, 0, U),
}};

void apply_setting_defaults(Settings& s, DefaultPhase phase) {
    for (const SettingField& f : kSettingFields) {
        if (f.phase != phase) continue;
        if (f.str_member)
            s.*f.str_member = f.str_default;
        else
            s.*f.int_member = f.int_default;
    }
}

namespace {
constexpr size_t kFirstWheelLine = 10; // WheelFF1..5 then WheelREW1..5
}

std::array<int32_t, 10> wheel_step_defaults() {
    std::array<int32_t, 10> d{};
    for (size_t i = 0; i < d.size(); ++i)
        d[i] = kSettingFields[kFirstWheelLine + i].int_default;
    return d;
}

int16_t volume_percent(int32_t volume) {
    return static_cast<int16_t>(std::clamp(volume, 0, 100));
}

void reset_wheel_steps(Settings& s) {
    for (size_t i = 0; i < 10; ++i) {
        const SettingField& f = kSettingFields[kFirstWheelLine + i];
        s.*f.int_member = f.int_default;
    }
}

} // namespace zefa
