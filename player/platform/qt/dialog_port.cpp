#include "platform/qt/qt_platform.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/qt/menus.h"
#include "platform/qt/qt_platform_impl.h"

namespace zefa {

void QtPlatform::message_box(const std::string& utf8) {
    const Impl::ModalScope modal(*d_);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("VIVADO"), QString::fromUtf8(utf8),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    // Above a main window that stays on top.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

std::optional<std::string> QtPlatform::open_file() {
    const Impl::ModalScope modal(*d_);
    QFileDialog dialog(nullptr, QStringLiteral("開く"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

int QtPlatform::popup_menu(Menu m, Point p, int checked) {
    const Impl::ModalScope modal(*d_);
    return qt::run_menu(m, QPoint(p.x, p.y), checked);
}

int QtPlatform::settings_dialog(DialogFields& fields) {
    const Impl::ModalScope modal(*d_);
    d_->form().show_fields(fields);
    // Above a main window that stays on top, even if something lowered the dialog meanwhile.
    d_->set_topmost(Win::Dialog, true);
    d_->dialog->move(222, 175);
    // Mapping an X window does not restack it: the dialog, made before the windows the player
    // raised since, would open below them.
    d_->dialog->raise();
    const int result = d_->dialog->exec();
    // Also after a cancel: the core decides what of the fields it keeps.
    d_->form().read_fields(fields);
    return result;
}

} // namespace zefa
