#pragma once

#include "dialog/Controls.h"

#include <vector>

#include <QAbstractTableModel>

// The dialog's list items for Qt's item views: one row per item, with the columns of the report
// view ("Name", then the always empty "Size" and "Last Modified").
namespace penlark::qt {

class FileListModel final : public QAbstractTableModel {
 public:
  // Takes a copy of the items when they differ from those shown.
  void SetItems(const ListViewControl& list);
  void SetHeaders(const std::vector<ColumnHeader>& columns);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<ListItem> items_;
  std::vector<ColumnHeader> columns_;
};

}  // namespace penlark::qt
