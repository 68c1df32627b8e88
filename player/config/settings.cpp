#include "config/settings.h"

#include <algorithm>

namespace zefa {

namespace {

constexpr SettingField I(const char* key, int32_t Settings::*m, int32_t def, DefaultPhase p,
                         DialogControl c = {}) {
    return SettingField{key, m, nullptr, def, nullptr, p, c};
}
constexpr SettingField S(const char* key, std::string Settings::*m, const char* def,
                         DialogControl c) {
    return SettingField{key, nullptr, m, 0, def, DefaultPhase::Startup, c};
}
constexpr DialogControl E(uint8_t n) {
    return {DialogControl::Edit, n};
}
constexpr DialogControl K(uint8_t n) {
    return {DialogControl::Check, n};
}
constexpr DialogControl B(uint8_t n) {
    return {DialogControl::Combo, n};
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
    I("FF=", &Settings::FF, 5000, C, E(2)),
    I("REW=", &Settings::REW, 5000, C, E(1)),
    I("WheelFF1=", &Settings::WheelFF1, -1000, C, E(3)),
    I("WheelFF2=", &Settings::WheelFF2, -3000, C, E(4)),
    I("WheelFF3=", &Settings::WheelFF3, -9000, C, E(5)),
    I("WheelFF4=", &Settings::WheelFF4, -14000, C, E(6)),
    I("WheelFF5=", &Settings::WheelFF5, -30000, C, E(7)),
    I("WheelREW1=", &Settings::WheelREW1, 1000, C, E(8)),
    I("WheelREW2=", &Settings::WheelREW2, 3000, C, E(9)),
    I("WheelREW3=", &Settings::WheelREW3, 9000, C, E(10)),
    I("WheelREW4=", &Settings::WheelREW4, 14000, C, E(11)),
    I("WheelREW5=", &Settings::WheelREW5, 30000, C, E(12)),
    I("AutoTop=", &Settings::AutoTop, 0, U, K(1)),
    I("ScanLine=", &Settings::ScanLine, 1, U, K(7)),
    I("MauseVolume=", &Settings::MauseVolume, 1, U, K(2)),
    I("Aspect=", &Settings::Aspect, 0, C),
    I("Info=", &Settings::Info, 1, U, K(3)),
    I("InputMode=", &Settings::InputMode, 1, U, K(4)),
    I("FlushAutoNext=", &Settings::FlushAutoNext, 1, U, K(5)),
    I("MainPanel_x=", &Settings::MainPanel_x, 0, DefaultPhase::None),
    I("MainPanel_y=", &Settings::MainPanel_y, 0, DefaultPhase::None),
    S("SkinName=", &Settings::SkinName, "Default01", B(1)),
    S("DropFileType=", &Settings::DropFileType,
      ".mpg.mpeg.mp3.avi.wav.mov.rm.swf.mp4.m4v.m4a.mkv.webm.ogg.ogv.oga.opus.flac;", E(13)),
    S("RealFileType=", &Settings::RealFileType, ".rm;", E(14)),
    I("MaskMode=", &Settings::MaskMode, 0, U, K(6)),
    I("U_Mask=", &Settings::U_Mask, 2, U, B(2)),
    I("D_Mask=", &Settings::D_Mask, 2, U, B(3)),
    I("R_Mask=", &Settings::R_Mask, 0, U, B(5)),
    I("L_Mask=", &Settings::L_Mask, 0, U, B(4)),
    I("WheelFlg1=", &Settings::WheelFlg1, 1, U, K(8)),
    I("WheelFlg2=", &Settings::WheelFlg2, 1, U, K(9)),
    I("FlashQuality=", &Settings::FlashQuality, 0, U, B(6)),
    I("AutoPlay=", &Settings::AutoPlay, 1, U, K(10)),
    I("FlashScale=", &Settings::FlashScale, 0, U, B(7)),
    I("FlashWindow=", &Settings::FlashWindow, 0, U, B(8)),
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

const SettingField* field_of(DialogControl::Kind kind, int number) {
    for (const SettingField& f : kSettingFields)
        if (f.control.kind == kind && f.control.number == number) return &f;
    return nullptr;
}

ExtensionTexts extension_defaults() {
    ExtensionTexts t;
    for (const SettingField& f : kSettingFields) {
        if (f.str_member == &Settings::DropFileType) t.drop = f.str_default;
        if (f.str_member == &Settings::RealFileType) t.real = f.str_default;
    }
    return t;
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
