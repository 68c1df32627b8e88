#include "platform/qt/settings_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/settings.h"

namespace zefa::qt {

namespace {

QString numbered(const char* kind, int number) {
    return QString::fromLatin1(kind) + QString::number(number);
}

QGroupBox* group(QWidget* parent, int number, const char* title, QRect r) {
    auto* g = new QGroupBox(QString::fromUtf8(title), parent);
    g->setObjectName(numbered("GroupBox", number));
    g->setGeometry(r);
    return g;
}

void label(QWidget* parent, int number, const char* text, QPoint at) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(numbered("Label", number));
    l->adjustSize(); // as wide as its text
    l->move(at);
}

QLineEdit* edit(QWidget* parent, int number, QRect r) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(numbered("Edit", number));
    e->setGeometry(r);
    return e;
}

QComboBox* combo(QWidget* parent, int number, QPoint at, int width) {
    auto* c = new QComboBox(parent);
    c->setObjectName(numbered("ComboBox", number));
    c->setEditable(true);
    // Typed text stays text: it never becomes an item of the list.
    c->setInsertPolicy(QComboBox::NoInsert);
    // Qt's own height at the dialog's font, so that nothing is cut off.
    c->setGeometry(at.x(), at.y(), width, c->sizeHint().height());
    return c;
}

QPushButton* button(QWidget* parent, int number, const char* text, QRect r) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(numbered("Button", number));
    b->setGeometry(r);
    return b;
}

struct CheckPlace {
    int number;
    const char* text;
    int y, width;
};

// The left column, top to bottom.
constexpr CheckPlace kChecks[] = {
    {2, "最大化時マウスの上下で音量調整", 168, 217},
    {3, "最大化時情報表示する", 184, 177},
    {4, "通常表示時にキー入力を受け付ける", 200, 225},
    {1, "動画のみ大体常に手前に表示かもON", 216, 217},
    {5, "Flash再生時終了ポイントでＮＥＸＴする", 232, 233},
    {10, "起動後すぐに再生する", 248, 209},
    {6, "ラインマスクON", 264, 97},
    {7, "スキャンラインON", 280, 137},
    {8, "通常時ホイールマウスを使う", 296, 177},
    {9, "最大化時ホイールマウスを使う", 312, 185},
};

} // namespace

SettingsForm::SettingsForm(QDialog& dialog) {
    dialog.setFixedSize(kSize);

    QGroupBox* seek = group(&dialog, 2, "シークの設定", {8, 8, 153, 41});
    label(seek, 4, "戻し", {8, 24});
    edits_[1] = edit(seek, 1, {32, 16, 41, 20});
    label(seek, 3, "送り", {80, 24});
    edits_[2] = edit(seek, 2, {104, 16, 41, 20});

    QGroupBox* wheel = group(&dialog, 1, "ホイールシークの速度設定", {8, 56, 273, 105});
    label(wheel, 1, "送り", {8, 16});
    for (int i = 0; i < 5; ++i)
        edits_[8 + i] = edit(wheel, 8 + i, {32 + 48 * i, 16, 41, 20});
    label(wheel, 2, "戻し", {8, 48});
    for (int i = 0; i < 5; ++i)
        edits_[3 + i] = edit(wheel, 3 + i, {32 + 48 * i, 48, 41, 20});
    QPushButton* wheel_reset = button(wheel, 3, "初期化", {168, 72, 97, 25});

    for (const CheckPlace& c : kChecks) {
        auto* box = new QCheckBox(QString::fromUtf8(c.text), &dialog);
        box->setObjectName(numbered("CheckBox", c.number));
        box->setGeometry(8, c.y, c.width, 17);
        checks_[c.number] = box;
    }

    QGroupBox* types = group(&dialog, 4, "対応拡張子の設定", {288, 8, 265, 105});
    label(types, 5, "ドラック＆ドロップの対応拡張子", {8, 16});
    edits_[13] = edit(types, 13, {8, 32, 249, 20});
    label(types, 6, "リアルコントロールの対応拡張子", {8, 56});
    edits_[14] = edit(types, 14, {8, 72, 185, 20});
    QPushButton* types_reset = button(types, 4, "初期化", {200, 72, 57, 25});

    QGroupBox* skin = group(&dialog, 3, "SkinName", {288, 120, 265, 41});
    combos_[1] = combo(skin, 1, {8, 16}, 249);

    QGroupBox* mask = group(&dialog, 5, "ラインマスクの設定(%)", {248, 168, 137, 65});
    label(mask, 7, "上", {8, 16});
    combos_[2] = combo(mask, 2, {24, 16}, 41);
    label(mask, 8, "下", {72, 16});
    combos_[3] = combo(mask, 3, {88, 16}, 41);
    label(mask, 9, "左", {8, 40});
    combos_[4] = combo(mask, 4, {24, 40}, 41);
    label(mask, 10, "右", {72, 40});
    combos_[5] = combo(mask, 5, {88, 40}, 41);

    QGroupBox* flash = group(&dialog, 6, "Flashの設定", {392, 168, 161, 89});
    label(flash, 11, "画質", {32, 24});
    combos_[6] = combo(flash, 6, {64, 16}, 89);
    label(flash, 12, "伸縮", {32, 48});
    combos_[7] = combo(flash, 7, {64, 40}, 89);
    label(flash, 13, "ウインドウ", {8, 72});
    combos_[8] = combo(flash, 8, {64, 64}, 89);

    QPushButton* cancel = button(&dialog, 2, "キャンセル", {400, 297, 75, 25});
    QPushButton* ok = button(&dialog, 1, "OK", {480, 296, 75, 25});
    // Enter in an edit or a combo presses OK, as in any Qt dialog; a focused button takes
    // Enter itself (autoDefault).
    ok->setDefault(true);

    QObject::connect(ok, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(1); });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(0); });
    QObject::connect(wheel_reset, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(2); });
    QLineEdit* drop = edits_[13];
    QLineEdit* real = edits_[14];
    // Only the two edits: the dialog stays open and the user may still cancel.
    QObject::connect(types_reset, &QPushButton::clicked, &dialog, [drop, real] {
        const ExtensionTexts defaults = extension_defaults();
        drop->setText(QString::fromStdString(defaults.drop));
        real->setText(QString::fromStdString(defaults.real));
    });
}

void SettingsForm::show_fields(const DialogFields& f) {
    for (size_t n = 1; n < edits_.size(); ++n)
        edits_[n]->setText(QString::fromStdString(f.edit[n]));
    for (size_t n = 1; n < checks_.size(); ++n)
        checks_[n]->setChecked(f.check[n]);
    for (size_t n = 1; n < combos_.size(); ++n) {
        QComboBox* c = combos_[n];
        c->clear(); // the typed text too, so -1 shows a blank combo
        for (const std::string& item : f.combo_items[n])
            c->addItem(QString::fromStdString(item));
        const int i = f.combo_index[n];
        c->setCurrentIndex(i >= 0 && i < c->count() ? i : -1);
    }
}

void SettingsForm::read_fields(DialogFields& f) const {
    for (size_t n = 1; n < edits_.size(); ++n)
        f.edit[n] = edits_[n]->text().toStdString();
    for (size_t n = 1; n < checks_.size(); ++n)
        f.check[n] = checks_[n]->isChecked();
    for (size_t n = 1; n < combos_.size(); ++n) {
        const QComboBox* c = combos_[n];
        const int i = c->currentIndex();
        // Typing changes the text but leaves the index on the item chosen before.
        const bool typed = i < 0 || c->currentText() != c->itemText(i);
        f.combo_index[n] = typed ? -1 : i;
        f.combo_text[n] = c->currentText().toStdString();
    }
}

} // namespace zefa::qt
