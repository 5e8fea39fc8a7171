// Dialog templates from resources and from definition lists.
#include "internal/dialog_template.h"

#include "internal/control_create.h"
#include "internal/font_block.h"
#include "internal/text.h"
#include "layer/font.h"
#include "runtime/run_error.h"

namespace gui_detail {
namespace {

QRect to_du(const DuRect& r) { return QRect(r.x, r.y, r.cx, r.cy); }

WinFlags to_flags(const ResFlags& f) {
  const auto l = f.list();
  return WinFlags(l.begin(), l.end());
}

// A pixel rectangle as dialog units of `b` (integer division).
QRect px_to_du(const Rect& r, BaseUnits b) {
  return QRect(r.left * 4 / b.x, r.top * 8 / b.y, (r.right - r.left) * 4 / b.x, (r.bottom - r.top) * 8 / b.y);
}

}  // namespace

DialogTemplate template_from_resource(const ResDialog& def) {
  DialogTemplate t;
  t.caption = std::string(def.caption);
  t.du = to_du(def.rect);
  t.flags = to_flags(def.flags);
  if (!def.font_face.empty()) {
    QFont f(to_qt(def.font_face));
    f.setPointSize(def.font_points > 0 ? def.font_points : 8);
    t.font = f;
  }
  for (const ResDialogItem& d : def.items)
    t.items.push_back(
        {d.kind, d.id, std::string(d.text), to_du(d.rect), to_flags(d.flags), d.icon, std::string(d.class_name)});
  return t;
}

DialogTemplate template_from_definitions(const wdef_dialog& head, const std::vector<WinDef>& rest) {
  const BaseUnits sys = system_base_units();
  DialogTemplate t;
  t.caption = head.title;
  t.du = px_to_du(head.rect, sys);
  t.flags = head.flags;
  if (head.font) t.font = to_qfont(*head.font);
  for (const WinDef& d : rest) {
    if (const auto* u = std::get_if<wdef_custom>(&d)) {
      t.items.push_back({wk_Custom, u->id, u->title, px_to_du(u->rect, sys), u->flags, 0, u->class_name});
      continue;
    }
    const auto* c = std::get_if<wdef_control>(&d);
    if (!c) RUN_Error(errcode::kBadDefinition);  // only controls follow the head
    t.items.push_back({c->kind, c->id, c->title, px_to_du(c->rect, sys), c->flags, 0, {}});
  }
  return t;
}

QFont system_dialog_font() { return to_qfont(font_Create(ff_System, {}, 10)); }

QFont template_font(const DialogTemplate& t) { return t.font ? *t.font : system_dialog_font(); }

}  // namespace gui_detail
