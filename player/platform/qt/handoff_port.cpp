#include "platform/qt/qt_platform.h"

#include "platform/qt/qt_platform_impl.h"

namespace zefa {

bool QtPlatform::listen_for_handoff(int listening_fd) {
    d_->handoff = std::make_unique<qt::HandoffServer>([this](const CopyDataRecord& record) {
        bring_to_front(Win::Main);
        if (d_->events) d_->events->copy_data(record.dw_data, record.path);
    });
    if (d_->handoff->listen(listening_fd)) return true;
    d_->handoff.reset();
    return false;
}

} // namespace zefa
