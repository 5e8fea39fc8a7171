// Drawing of list lines that contain tabs: each tab advances to the list's next tab stop (the
// stops of lbox_SetTabStops, or every 32 dialog units of the list's font), as a list box with
// tab expansion shows its lines.
#pragma once

#include <QStyledItemDelegate>

namespace gui_detail {

class ListTabDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace gui_detail
