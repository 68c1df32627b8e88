// The settings dialog: its controls where they belong, and the fields through a user's edits.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include "config/settings.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_support.h"

namespace zefa {
namespace {

using test::when_modal_up;

struct Place {
    const char* name;
    const char* text;       // caption or title; nullptr where there is none
    int x, y, w = 0, h = 0; // relative to the parent; 0: the control's own
};

// Every control; the captions as the user reads them.
const Place kPlaces[] = {{"GroupBox2", "シークの設定", 8, 8, 153, 41},
                         {"Label4", "戻し", 8, 24},
                         {"Edit1", nullptr, 32, 16, 41, 20},
                         {"Label3", "送り", 80, 24},
                         {"Edit2", nullptr, 104, 16, 41, 20},
                         {"GroupBox1", "ホイールシークの速度設定", 8, 56, 273, 105},
                         {"Label1", "送り", 8, 16},
                         {"Label2", "戻し", 8, 48},
                         {"Edit8", nullptr, 32, 16, 41, 20},
                         {"Edit9", nullptr, 80, 16, 41, 20},
                         {"Edit10", nullptr, 128, 16, 41, 20},
                         {"Edit11", nullptr, 176, 16, 41, 20},
                         {"Edit12", nullptr, 224, 16, 41, 20},
                         {"Edit3", nullptr, 32, 48, 41, 20},
                         {"Edit4", nullptr, 80, 48, 41, 20},
                         {"Edit5", nullptr, 128, 48, 41, 20},
                         {"Edit6", nullptr, 176, 48, 41, 20},
                         {"Edit7", nullptr, 224, 48, 41, 20},
                         {"Button3", "初期化", 168, 72, 97, 25},
                         {"CheckBox2", "最大化時マウスの上下で音量調整", 8, 168, 217, 17},
                         {"CheckBox3", "最大化時情報表示する", 8, 184, 177, 17},
                         {"CheckBox4", "通常表示時にキー入力を受け付ける", 8, 200, 225, 17},
                         {"CheckBox1", "動画のみ大体常に手前に表示かもON", 8, 216, 217, 17},
                         {"CheckBox5", "Flash再生時終了ポイントでＮＥＸＴする", 8, 232, 233, 17},
                         {"CheckBox10", "起動後すぐに再生する", 8, 248, 209, 17},
                         {"CheckBox6", "ラインマスクON", 8, 264, 97, 17},
                         {"CheckBox7", "スキャンラインON", 8, 280, 137, 17},
                         {"CheckBox8", "通常時ホイールマウスを使う", 8, 296, 177, 17},
                         {"CheckBox9", "最大化時ホイールマウスを使う", 8, 312, 185, 17},
                         {"GroupBox4", "対応拡張子の設定", 288, 8, 265, 105},
                         {"Label5", "ドラック＆ドロップの対応拡張子", 8, 16},
                         {"Edit13", nullptr, 8, 32, 249, 20},
                         {"Label6", "リアルコントロールの対応拡張子", 8, 56},
                         {"Edit14", nullptr, 8, 72, 185, 20},
                         {"Button4", "初期化", 200, 72, 57, 25},
                         {"GroupBox3", "SkinName", 288, 120, 265, 41},
                         {"ComboBox1", nullptr, 8, 16, 249},
                         {"GroupBox5", "ラインマスクの設定(%)", 248, 168, 137, 65},
                         {"Label7", "上", 8, 16},
                         {"ComboBox2", nullptr, 24, 16, 41},
                         {"Label8", "下", 72, 16},
                         {"ComboBox3", nullptr, 88, 16, 41},
                         {"Label9", "左", 8, 40},
                         {"ComboBox4", nullptr, 24, 40, 41},
                         {"Label10", "右", 72, 40},
                         {"ComboBox5", nullptr, 88, 40, 41},
                         {"GroupBox6", "Flashの設定", 392, 168, 161, 89},
                         {"Label11", "画質", 32, 24},
                         {"ComboBox6", nullptr, 64, 16, 89},
                         {"Label12", "伸縮", 32, 48},
                         {"ComboBox7", nullptr, 64, 40, 89},
                         {"Label13", "ウインドウ", 8, 72},
                         {"ComboBox8", nullptr, 64, 64, 89},
                         {"Button2", "キャンセル", 400, 297, 75, 25},
                         {"Button1", "OK", 480, 296, 75, 25}};

QString caption(const QWidget* w) {
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    return {};
}

TEST(SettingsFormControls, EveryControlIsNamedCaptionedAndPlaced) {
    QtPlatform platform;
    QWidget* dialog = platform.window(Win::Dialog);
    EXPECT_EQ(dialog->size(), QSize(565, 331));
    const QRegularExpression named(
        QStringLiteral("^(GroupBox|Label|Edit|CheckBox|ComboBox|Button)\\d+$"));
    EXPECT_EQ(dialog->findChildren<QWidget*>(named).size(), std::size(kPlaces)); // no more
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(p.name);
        auto* w = dialog->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(caption(w), QString::fromUtf8(p.text ? p.text : ""));
        EXPECT_EQ(w->pos(), QPoint(p.x, p.y));
        EXPECT_EQ(w->size(), QSize(p.w ? p.w : w->width(), p.h ? p.h : w->height()));
        if (auto* c = qobject_cast<QComboBox*>(w)) {
            EXPECT_TRUE(c->isEditable());
            EXPECT_EQ(c->insertPolicy(), QComboBox::NoInsert);
            EXPECT_GE(c->height(), c->sizeHint().height()); // the text is not cut off
        }
    }
    EXPECT_TRUE(dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->isDefault());
}

class SettingsFormDialog : public ::testing::Test {
  protected:
    static DialogFields sample() {
        DialogFields f;
        for (int n = 1; n <= 14; ++n)
            f.edit[n] = std::to_string(100 + n);
        f.check[3] = f.check[10] = true;
        f.combo_items[1] = {"default", "黒"};
        f.combo_index[1] = 1;
        f.combo_items[2] = {"0", "5", "10"};
        f.combo_index[2] = 2;
        f.combo_items[6] = {"低", "中", "高"};
        f.combo_index[6] = 0;
        f.combo_items[7] = {"a"}; // stays unselected
        return f;
    }

    template <typename T> static T* find(QWidget* dialog, const char* name) {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }
    static void click(QWidget* dialog, const char* button) {
        QTest::mouseClick(find<QPushButton>(dialog, button), Qt::LeftButton);
    }

    // What a user does: two seek edits, a check box, a chosen and a typed combo.
    static void edit_some(QWidget* d) {
        QLineEdit* e2 = find<QLineEdit>(d, "Edit2");
        e2->selectAll();
        QTest::keyClicks(e2, QStringLiteral("7000"));
        QLineEdit* e1 = find<QLineEdit>(d, "Edit1");
        e1->selectAll();
        QTest::keyClicks(e1, QStringLiteral("7,000"));
        QTest::mouseClick(find<QCheckBox>(d, "CheckBox3"), Qt::LeftButton, {}, QPoint(6, 8));
        QTest::keyClick(find<QComboBox>(d, "ComboBox6"), Qt::Key_Down);
        QLineEdit* typed = find<QComboBox>(d, "ComboBox2")->lineEdit();
        typed->selectAll();
        QTest::keyClicks(typed, QStringLiteral("abc"));
    }

    // The fields a user's edits touch and some they leave, in one line.
    static std::string touched(const DialogFields& f) {
        std::string line = f.edit[1] + "|" + f.edit[2] + "|" + f.edit[14] + "|";
        for (int n = 1; n <= 10; ++n)
            line += f.check[n] ? '1' : '0';
        for (int n : {1, 2, 6, 7})
            line += "|" + std::to_string(f.combo_index[n]) + ":" + f.combo_text[n];
        return line;
    }
    static constexpr const char* kEdited = "7,000|7000|114|0000000001|1:黒|-1:abc|1:中|-1:";

    // The dialog with a bound: one that a broken case leaves open is closed after 10 s.
    int run() {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [this] {
            ADD_FAILURE() << "the settings dialog was left open";
            static_cast<QDialog*>(platform.window(Win::Dialog))->reject();
        });
        guard.start(10000);
        return platform.settings_dialog(fields);
    }

    QtPlatform platform;
    DialogFields fields = sample();
};

TEST_F(SettingsFormDialog, ShowsTheFieldsAndReturnsTheEditsWithEachButtonsResult) {
    QStringList shown;
    when_modal_up([&](QWidget* d) {
        shown << find<QLineEdit>(d, "Edit1")->text() << find<QLineEdit>(d, "Edit12")->text()
              << QString::number(find<QCheckBox>(d, "CheckBox3")->isChecked())
              << QString::number(find<QCheckBox>(d, "CheckBox4")->isChecked())
              << QString::number(find<QComboBox>(d, "ComboBox2")->count())
              << find<QComboBox>(d, "ComboBox2")->currentText()
              << find<QComboBox>(d, "ComboBox7")->currentText()
              << QString::number(find<QComboBox>(d, "ComboBox8")->count())
              << QString::number(d->pos().x()) + "," + QString::number(d->pos().y());
        edit_some(d);
        click(d, "Button1");
    });
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(touched(fields), kEdited);
    EXPECT_EQ(shown, QStringList({"101", "112", "1", "0", "3", "10", "", "0", "222,175"}));

    // The items are replaced, not added to; a user's edits come back whichever way it closes.
    const auto closes_with = [&](int expected, const std::function<void(QWidget*)>& close) {
        fields = sample();
        int items = -1;
        when_modal_up([&](QWidget* d) {
            items = find<QComboBox>(d, "ComboBox2")->count();
            edit_some(d);
            close(d);
        });
        EXPECT_EQ(run(), expected);
        EXPECT_EQ(touched(fields), kEdited);
        EXPECT_EQ(items, 3);
    };
    closes_with(0, [](QWidget* d) { click(d, "Button2"); });
    closes_with(2, [](QWidget* d) { click(d, "Button3"); });
    closes_with(0, [](QWidget* d) { d->close(); });
    closes_with(0, [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    // OK is the default button: Enter in an edit or a combo presses it.
    closes_with(1,
                [](QWidget* d) { QTest::keyClick(find<QLineEdit>(d, "Edit2"), Qt::Key_Return); });
    closes_with(1, [](QWidget* d) {
        QTest::keyClick(find<QComboBox>(d, "ComboBox2")->lineEdit(), Qt::Key_Return);
    });

    // No selection shows no text, also where the user typed some the last time.
    ASSERT_EQ(fields.combo_index[2], -1);
    QString left_over = QStringLiteral("?");
    when_modal_up([&](QWidget* d) {
        left_over = find<QComboBox>(d, "ComboBox2")->currentText();
        click(d, "Button2");
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(left_over, QString());
}

TEST_F(SettingsFormDialog, ExtensionResetRefillsOnlyItsEditsAndStaysOpen) {
    const ExtensionTexts defaults = extension_defaults();
    ASSERT_FALSE(defaults.drop.empty());
    bool open_after_reset = false;
    when_modal_up([&](QWidget* d) {
        click(d, "Button4");
        test::settle();
        open_after_reset = d->isVisible();
        click(d, "Button2");
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(open_after_reset);
    EXPECT_EQ(fields.edit[13], defaults.drop);
    EXPECT_EQ(fields.edit[14], defaults.real);
    EXPECT_EQ(fields.edit[12], "112");
}

} // namespace
} // namespace zefa
