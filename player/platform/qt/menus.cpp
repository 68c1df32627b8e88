#include "platform/qt/menus.h"

#include <QAction>
#include <QMenu>

namespace zefa::qt {

const std::vector<MenuItem>& menu_items(Menu m) {
    static const std::vector<MenuItem> aspect = {
        {0, "OriginalSize"}, {1, "4:3"},     {2, "16:9"},    {3, "320*240"}, {4, "352*240"},
        {5, "640*480"},      {6, "704*480"}, {7, "720*480"}, {-1, "Cansel"},
    };
    // The full-screen captions carry an ideographic space before the full-width colon.
    static const std::vector<MenuItem> zoom = {
        {0, "50%"},
        {1, "75%"},
        {2, "100%"},
        {3, "150%"},
        {4, "200%"},
        {5, "FULL-1\u3000：整数倍の最大画面サイズ"},
        {6, "FULL-2\u3000：アスペクト比固定最大化(はみ出し無し)"},
        {7, "FULL-3\u3000：アスペクト比固定最大化(はみ出し有り)"},
        {8, "FULL-4\u3000：画面いっぱいに表示"},
        {-1, "Cansel"},
    };
    return m == Menu::Aspect ? aspect : zoom;
}

void fill_menu(QMenu& menu, Menu m, int checked) {
    for (const MenuItem& item : menu_items(m)) {
        QAction* action = menu.addAction(QString::fromUtf8(item.caption));
        action->setData(item.value);
        action->setCheckable(item.value >= 0);
        action->setChecked(item.value >= 0 && item.value == checked);
    }
}

int run_menu(Menu m, QPoint at, int checked) {
    QMenu menu;
    fill_menu(menu, m, checked);
    const QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toInt() : -1;
}

} // namespace zefa::qt
