// Tab expansion in list lines.
#include "internal/list_tab_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextOption>

#include "internal/control_create.h"
#include "internal/list_model.h"

namespace gui_detail {

void ListTabDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
  QStyleOptionViewItem o = option;
  initStyleOption(&o, index);
  if (!o.text.contains(QLatin1Char('\t'))) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QString text = o.text;
  o.text.clear();
  const QWidget* w = o.widget;
  QStyle* style = w ? w->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &o, painter, w);  // background and selection

  QTextOption to;
  to.setWrapMode(QTextOption::NoWrap);
  to.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  const auto* model = qobject_cast<const ListModel*>(index.model());
  const QList<qreal> stops = model ? model->tab_stops() : QList<qreal>{};
  if (stops.size() == 1) {  // one stop: tabs every that many
    to.setTabStopDistance(stops.front());
  } else if (!stops.isEmpty()) {
    QList<QTextOption::Tab> tabs;
    for (qreal s : stops) tabs.append(QTextOption::Tab(s, QTextOption::LeftTab));
    to.setTabs(tabs);
  } else {
    to.setTabStopDistance(32.0 * base_units(o.font).x / 4);
  }
  const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &o, w);
  painter->save();
  painter->setFont(o.font);
  const bool selected = o.state & QStyle::State_Selected;
  painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(QRectF(r).adjusted(2, 0, 0, 0), text, to);
  painter->restore();
}

}  // namespace gui_detail
