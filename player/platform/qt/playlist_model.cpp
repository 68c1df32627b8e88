#include "platform/qt/playlist_model.h"

#include <QFile>
#include <climits>

namespace zefa::qt {

void PlaylistModel::set_names(std::vector<std::string> names) {
    beginResetModel();
    names_ = std::move(names);
    endResetModel();
}

int PlaylistModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return names_.size() > size_t{INT_MAX} ? INT_MAX : static_cast<int>(names_.size());
}

QVariant PlaylistModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const std::string& name = names_[static_cast<size_t>(index.row())];
    // Bytes that are no UTF-8 show as replacement characters; the core keeps the real name.
    return QFile::decodeName(
        QByteArray::fromRawData(name.data(), static_cast<qsizetype>(name.size())));
}

// Names can be selected, never edited or dragged.
Qt::ItemFlags PlaylistModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace zefa::qt
