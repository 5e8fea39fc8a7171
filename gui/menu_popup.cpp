// menu_PopUp: a menu of a resource or a list shown at a point of a window; the chosen command is
// posted to the window as e_menu.
#include <QMenu>
#include <QWidget>

#include "internal/geometry.h"
#include "internal/key_codes.h"
#include "internal/menu_model.h"
#include "internal/modal_box.h"
#include "internal/posted.h"
#include "internal/window_record.h"
#include "layer/menu.h"

using namespace gui_detail;

void menu_PopUp(Window win, const Menu& menu, Point at, int align) {
  WindowRecord& r = checked_record(win);
  std::unique_ptr<MenuModel> model = MenuModel::build(menu);
  if (!model || !r.client) return;
  model->on_command = [win](int tag) { post_layer_event(win, e_menu{tag, current_shift_state()}); };
  ModalBox<QMenu> popup;
  popup->addActions(model->bar_actions());
  QPoint p = r.client->mapToGlobal(QPoint(at.x, at.y));
  const int width = popup->sizeHint().width();
  if (align == align_Center) p.rx() -= width / 2;
  else if (align == align_Right) p.rx() -= width;
  // The menu closes when the window is destroyed while it is open.
  const RunningLoop running(popup.get(), win);
  popup->exec(p);
}
