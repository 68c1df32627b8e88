#pragma once

// The playlist window's names as a list model. The names stay the core's bytes; a row is
// turned into text only when the view asks for it, so a list of 100,000 names is set in
// the time it takes to copy them.

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace zefa::qt {

class PlaylistModel : public QAbstractListModel {
  public:
    explicit PlaylistModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void set_names(std::vector<std::string> names);
    const std::vector<std::string>& names() const { return names_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::vector<std::string> names_;
};

} // namespace zefa::qt
