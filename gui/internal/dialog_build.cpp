// Dialogs from templates: creation, layout, labels, focus, e_create and the modal loop.
#include "internal/dialog_build.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <algorithm>

#include "internal/control_create.h"
#include "internal/dispatch.h"
#include "internal/geometry.h"
#include "internal/layer_dialog.h"
#include "internal/lifecycle.h"
#include "internal/modal_box.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

namespace gui_detail {
namespace {

constexpr std::uint32_t kTabStopFlag = 26;

bool is_field_kind(int kind) {
  return kind == wk_Edit || kind == wk_ListBox || kind == wk_ListButton || kind == wk_ListEdit || kind == wk_ListView;
}

bool has_flag(const WinFlags& flags, std::uint32_t f) {
  // A 0 ends the flag numbers: what follows is raw style bits.
  for (std::uint32_t x : flags) {
    if (x == 0) return false;
    if (x == f) return true;
  }
  return false;
}

Qt::WindowFlags dialog_window_flags(const WindowStyle& s) {
  Qt::WindowFlags f = Qt::Dialog;
  if (!s.title_bar) return f | Qt::FramelessWindowHint;
  f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (s.close_box) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (s.topmost) f |= Qt::WindowStaysOnTopHint;
  return f;
}

// An icon item: the icon resource drawn in the item's rectangle.
Window create_icon_item(Window dialog, const TemplateItem& item, const QRect& px) {
  WindowRecord& d = checked_record(dialog);
  auto* label = new QLabel(d.client);
  label->setPixmap(QIcon(QStringLiteral(":/icons/%1.ico").arg(item.icon)).pixmap(px.size()));
  label->setGeometry(px);
  auto rec = std::make_unique<WindowRecord>();
  rec->kind = wk_Icon;
  rec->parent = dialog;
  rec->client = label;
  rec->control_id = item.id & 0xFFFF;
  rec->style = style_from_flags(item.flags);
  WindowRecord& r = register_window(std::move(rec));
  label->setVisible(r.style.visible);
  if (r.style.disabled) label->setEnabled(false);
  return r.handle;
}

Window create_item(Window dialog, const TemplateItem& item, BaseUnits b) {
  const Rect du{item.du.x(), item.du.y(), item.du.x() + item.du.width(), item.du.y() + item.du.height()};
  if (item.kind == wk_Icon) return create_icon_item(dialog, item, dialog_units_to_pixels(du, b));
  if (item.kind == wk_Custom)
    return create_custom_px(dialog, item.class_name, dialog_units_to_pixels(du, b), item.text, item.flags, item.id);
  const Window c = create_control_du(dialog, item.kind, du, item.text, item.flags, item.id);
  // A combined list's rectangle includes its dropped-down list: the field is as high as its line.
  if (item.kind == wk_ListButton || item.kind == wk_ListEdit)
    if (QWidget* w = find_record(c)->client; w && w->sizeHint().height() < w->height())
      w->resize(w->width(), w->sizeHint().height());
  return c;
}

// The global position of the origin of the parent's client area (the screen's origin for none).
QPoint owner_origin(const WindowRecord* parent) {
  if (!parent || !parent->client) return QPoint(0, 0);
  return parent->client->mapToGlobal(QPoint(0, 0));
}

}  // namespace

Window open_dialog(const DialogTemplate& t, Window parent, int kind, EventHandler handler,
                   std::int32_t creation_data) {
  const bool on_screen = parent == kScreenWindow;
  WindowRecord* pr = on_screen ? nullptr : &checked_record(parent);
  if (kind != wk_ModalDialog && kind != wk_ModelessDialog) RUN_Error(errcode::kWrongKind);
  if (pr && pr->kind != wk_Task && pr->kind != wk_TopLevel && pr->kind != wk_Child &&
      pr->kind != wk_ModalDialog && pr->kind != wk_ModelessDialog)
    RUN_Error(errcode::kWrongKind);
  if (!QApplication::instance()) RUN_Error(errcode::kDialogNotCreated);

  WindowStyle style = style_from_flags(t.flags);
  style.maximized = style.minimized = false;
  style.visible = true;  // a dialog is shown once made, whatever its template says
  if (kind == wk_ModelessDialog) style.thin_border = true;

  auto* dlg = new LayerDialog(pr ? outer_widget(*pr) : nullptr);
  dlg->setWindowFlags(dialog_window_flags(style));
  dlg->setFont(template_font(t));
  dlg->setWindowTitle(system_text(t.caption));

  auto rec = std::make_unique<WindowRecord>();
  rec->kind = kind;
  rec->parent = parent;
  rec->client = dlg;
  rec->surface = &dlg->surface();
  rec->handler = handler;
  rec->creation_data = creation_data;
  rec->style = style;
  rec->being_created = true;
  rec->dialog_font = t.font.has_value();
  WindowRecord& r = register_window(std::move(rec));
  const Window h = r.handle;
  if (TaskData* td = task()) td->dialogs.push_back(h);

  const BaseUnits b = base_units(dlg->font());
  const QRect px = dialog_units_to_pixels(Rect{t.du.x(), t.du.y(), t.du.x() + t.du.width(), t.du.y() + t.du.height()}, b);
  set_client_geometry(r, QRect(owner_origin(pr) + px.topLeft(), px.size()));

  try {
    std::vector<std::pair<const TemplateItem*, Window>> made;
    for (const TemplateItem& item : t.items) made.emplace_back(&item, create_item(h, item, b));

    // A static text labels the field that follows it; the field is then found under its name.
    for (std::size_t i = 1; i < made.size(); ++i)
      if (made[i - 1].first->kind == wk_Text && is_field_kind(made[i].first->kind))
        set_control_label(made[i].second, made[i - 1].second);

    // The focus goes where the platform would put it: the first control with a tab stop.
    for (const auto& [item, win] : made) {
      const WindowRecord* cr = find_record(win);
      if (!has_flag(item->flags, kTabStopFlag) || !cr || !cr->client) continue;
      if (cr->client->isHidden() || !cr->client->isEnabled()) continue;
      cr->client->setFocus(Qt::OtherFocusReason);
      break;
    }
  } catch (const RunError&) {
    // Nothing of the dialog reaches its handler: it never heard of its creation.
    if (WindowRecord* x = find_record(h)) x->handler = nullptr;
    destroy_window(h);
    RUN_Error(errcode::kDialogNotCreated);
  }

  deliver(h, e_create{creation_data});

  WindowRecord* again = find_record(h);
  if (!again || again->dying) return h;
  again->being_created = false;
  if (delivery_blocked()) {
    destroy_window(h);
    return h;
  }
  if (kind == wk_ModelessDialog) {
    dlg->show();
    return h;
  }
  // The loop ends when the dialog has been ended (and destroyed, also with its parent) or when
  // the run ends.
  exec_box(dlg, h);
  if (find_record(h)) destroy_window(h);
  return h;
}

}  // namespace gui_detail
