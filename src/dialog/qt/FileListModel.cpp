#include "dialog/qt/FileListModel.h"

#include "dialog/qt/Artwork.h"

namespace penlark::qt {

void FileListModel::SetItems(const ListViewControl& list) {
  if (list.Items == items_) {
    return;
  }
  beginResetModel();
  items_ = list.Items;
  endResetModel();
}

void FileListModel::SetHeaders(const std::vector<ColumnHeader>& columns) {
  if (columns.size() == columns_.size()) {
    return;
  }
  beginResetModel();
  columns_ = columns;
  endResetModel();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() != 0) {
    return {};
  }
  const ListItem& item = items_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return QString::fromStdString(item.Text);
    case Qt::DecorationRole:
      return ListIcon(item.SmallIcon);
    default:
      return {};
  }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= static_cast<int>(columns_.size())) {
    return {};
  }
  return QString::fromStdString(columns_[static_cast<std::size_t>(section)].Text);
}

}  // namespace penlark::qt
