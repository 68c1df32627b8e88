#pragma once

// The settings dialog's controls, built into the dialog the platform created, and the moves of
// the core's DialogFields into them and back.

#include <QSize>
#include <array>

#include "platform/ports.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;

namespace zefa::qt {

class SettingsForm {
  public:
    static constexpr QSize kSize{565, 331}; // the dialog's client size
    // Builds every control as a child of the dialog, fixes its client size and wires the
    // buttons: OK ends it with 1, キャンセル with 0, the wheel group's 初期化 with 2.
    explicit SettingsForm(QDialog& dialog);

    // Edits, check boxes, combo items and selections as the fields say.
    void show_fields(const DialogFields& f);
    // What the user left in the controls; a combo whose text was typed gives index -1.
    void read_fields(DialogFields& f) const;

  private:
    // Indexed by the controls' numbers, as in DialogFields; [0] unused.
    std::array<QLineEdit*, 15> edits_{};
    std::array<QCheckBox*, 11> checks_{};
    std::array<QComboBox*, 9> combos_{};
};

} // namespace zefa::qt
