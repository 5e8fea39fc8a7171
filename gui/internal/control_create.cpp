// Control flags, the widget of each control kind, dialog units and field labels.
#include "internal/control_create.h"

#include <QApplication>
#include <QFontMetrics>
#include <bitset>

#include "internal/control_widgets.h"
#include "internal/custom_class.h"
#include "internal/dispatch.h"
#include "internal/font_block.h"
#include "internal/list_tab_delegate.h"
#include "internal/list_view.h"
#include "internal/qt_window.h"
#include "internal/text.h"
#include "internal/window_record.h"
#include "layer/font.h"
#include "runtime/run_error.h"

namespace gui_detail {
namespace {

// Control flags as the list gives them: the flags of every kind, and which kind-specific flags
// are present. The flag 0 ends the interpretation; native style bits after it have no meaning
// on this toolkit and are ignored, as are flags that do not apply to the kind.
struct ControlFlags {
  bool visible = true, disabled = false, group = false, tab_stop = false;
  std::bitset<72> has;
  bool operator[](int f) const { return has[static_cast<std::size_t>(f)]; }
};

ControlFlags parse_flags(const WinFlags& flags) {
  ControlFlags c;
  for (std::uint32_t f : flags) {
    if (f == 0) break;
    switch (f) {
      case wsf_Invisible: c.visible = false; break;
      case wsf_Disabled: c.disabled = true; break;
      case 25: c.group = true; break;
      case 26: c.tab_stop = true; break;
      default:
        if (f < c.has.size()) c.has.set(f);
        break;
    }
  }
  return c;
}

Qt::ScrollBarPolicy bar_policy(bool wanted, bool always) {
  if (!wanted) return Qt::ScrollBarAlwaysOff;
  return always ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
}

QWidget* make_push_button(QWidget* parent, const ControlFlags& f, const QString& title) {
  auto* b = new CtlPushButton(parent);
  b->setText(title);
  if (f[23]) b->setDefault(true);
  return b;
}

QWidget* make_radio_button(QWidget* parent, const ControlFlags& f, const QString& title) {
  auto* b = new CtlRadioButton(parent);
  b->setText(title);
  b->auto_check = f[51];
  if (f[34]) b->setLayoutDirection(Qt::RightToLeft);
  b->setChecked(f[22]);
  return b;
}

QWidget* make_check_box(QWidget* parent, const ControlFlags& f, const QString& title) {
  auto* b = new CtlCheckBox(parent);
  b->setText(title);
  b->auto_check = f[51] || f[68];
  b->setTristate(f[50] || f[68]);
  if (f[34]) b->setLayoutDirection(Qt::RightToLeft);
  b->setChecked(f[22]);
  return b;
}

QWidget* make_edit(QWidget* parent, const ControlFlags& f, const QString& title) {
  Qt::Alignment align = Qt::AlignLeft;
  if (f[32]) align = Qt::AlignHCenter;
  if (f[33]) align = Qt::AlignRight;
  if (f[28]) {
    auto* e = new CtlTextEdit(parent);
    e->want_return = f[49];
    e->to_upper = f[42];
    e->to_lower = f[43];
    e->setReadOnly(f[27]);
    e->setVerticalScrollBarPolicy(bar_policy(f[8], false));
    e->setHorizontalScrollBarPolicy(bar_policy(f[7], false));
    // Lines wrap at the border unless the field scrolls horizontally.
    e->setLineWrapMode(f[46] || f[7] ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    if (f[38]) e->setFrameShape(QFrame::NoFrame);
    if (align != Qt::AlignLeft) {
      QTextOption o = e->document()->defaultTextOption();
      o.setAlignment(align);
      e->document()->setDefaultTextOption(o);
    }
    e->setPlainText(title);
    return e;
  }
  auto* e = new CtlLineEdit(parent);
  e->to_upper = f[42];
  e->to_lower = f[43];
  e->setReadOnly(f[27]);
  e->setAlignment(align | Qt::AlignVCenter);
  if (f[38]) e->setFrame(false);
  if (f[44]) e->setEchoMode(QLineEdit::Password);
  e->setText(title);
  return e;
}

QWidget* make_static(QWidget* parent, const ControlFlags& f, const QString& title) {
  auto* l = new CtlLabel(parent);
  l->setTextFormat(Qt::PlainText);
  Qt::Alignment align = Qt::AlignLeft;
  if (f[32]) align = Qt::AlignHCenter;
  if (f[33]) align = Qt::AlignRight;
  l->setAlignment(align | Qt::AlignTop);
  l->setWordWrap(!(f[39] || f[40]));
  // Rectangles and frames in black, grey or white.
  for (int shape = 62; shape <= 67; ++shape) {
    if (!f[shape]) continue;
    static const QColor kColours[] = {Qt::black, QColor(128, 128, 128), Qt::white};
    const QColor c = kColours[(shape - 62) % 3];
    QPalette p = l->palette();
    if (shape < 65) {
      p.setColor(QPalette::Window, c);
      l->setAutoFillBackground(true);
    } else {
      p.setColor(QPalette::WindowText, c);
      l->setFrameShape(QFrame::Box);
    }
    l->setPalette(p);
    return l;
  }
  l->prefix = !f[41];
  l->show_text(title);
  return l;
}

QWidget* make_list_box(QWidget* parent, const ControlFlags& f) {
  auto* v = new CtlListView(parent);
  v->sorted = f[53];
  v->notify = !f[52];
  v->multi = f[29] || f[60];
  if (f[60])
    v->setSelectionMode(QAbstractItemView::ExtendedSelection);
  else if (f[29])
    v->setSelectionMode(QAbstractItemView::MultiSelection);
  else
    v->setSelectionMode(QAbstractItemView::SingleSelection);
  v->setVerticalScrollBarPolicy(bar_policy(f[8] || f[30], f[61]));
  v->setHorizontalScrollBarPolicy(bar_policy(f[7] || f[30], f[61]));
  if (f[30]) {  // several columns, filled top to bottom
    v->setFlow(QListView::TopToBottom);
    v->setWrapping(true);
    v->setResizeMode(QListView::Adjust);
  }
  if (f[38]) v->setFrameShape(QFrame::NoFrame);
  if (f[57]) v->setItemDelegate(new ListTabDelegate(v));
  return v;
}

QWidget* make_combo(QWidget* parent, int kind, const ControlFlags& f, const QString& title) {
  auto* c = new CtlComboBox(parent, kind == wk_ListEdit);
  c->sorted = f[53];
  if (kind == wk_ListEdit) c->setEditText(title);
  return c;
}

QWidget* make_widget(QWidget* parent, int kind, const ControlFlags& f, const QString& title) {
  switch (kind) {
    case wk_PushButton: return make_push_button(parent, f, title);
    case wk_RadioButton: return make_radio_button(parent, f, title);
    case wk_CheckBox: return make_check_box(parent, f, title);
    case wk_HScroll: return new CtlScrollBar(parent, Qt::Horizontal);
    case wk_VScroll: return new CtlScrollBar(parent, Qt::Vertical);
    case wk_Edit: return make_edit(parent, f, title);
    case wk_Text: return make_static(parent, f, title);
    case wk_ListBox: return make_list_box(parent, f);
    case wk_ListButton: case wk_ListEdit: return make_combo(parent, kind, f, title);
    case wk_GroupBox: {
      auto* g = new CtlGroupBox(parent);
      g->setTitle(title);
      return g;
    }
    case wk_ListView: {  // its title is not shown: it names the list for assistive technology
      auto* v = new CtlTableView(parent);
      if (f[38]) v->setFrameShape(QFrame::NoFrame);
      v->setAccessibleName(title);
      return v;
    }
    default: return nullptr;
  }
}

Qt::FocusPolicy focus_policy(int kind, bool tab_stop) {
  if (kind == wk_Text || kind == wk_GroupBox) return Qt::NoFocus;
  return tab_stop ? Qt::StrongFocus : Qt::ClickFocus;
}

QString strip_mnemonic(const QString& s) {
  QString out;
  out.reserve(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] == QLatin1Char('&')) {  // "&&" stands for one "&"; a single "&" marks a mnemonic
      if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += s[i];
  }
  return out;
}

}  // namespace

BaseUnits base_units(const QFont& font) {
  const QFontMetrics fm(font);
  const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  BaseUnits b;
  b.x = std::max(1, (letters / 26 + 1) / 2);
  b.y = std::max(1, fm.height());
  return b;
}

BaseUnits system_base_units() { return base_units(to_qfont(font_Create(ff_System, {}, 10))); }

QRect dialog_units_to_pixels(const Rect& du, BaseUnits b) {
  return QRect(du.left * b.x / 4, du.top * b.y / 8, (du.right - du.left) * b.x / 4,
               (du.bottom - du.top) * b.y / 8);
}

QString control_text(int kind, std::string_view text) {
  const bool caption = kind == wk_PushButton || kind == wk_RadioButton || kind == wk_CheckBox || kind == wk_Text ||
                       kind == wk_GroupBox;
  return caption ? system_text(text) : to_qt(text);
}

Window create_control_px(Window parent, int kind, const QRect& outer, const std::string& title,
                         const WinFlags& flags, int ctl_id) {
  if ((kind < wk_PushButton || kind > wk_GroupBox) && kind != wk_ListView) RUN_Error(errcode::kWrongKind);
  if (parent == kScreenWindow) RUN_Error(errcode::kWrongKind);
  WindowRecord& pr = checked_record(parent);
  if (!QApplication::instance() || !pr.client || pr.dying) RUN_Error(errcode::kControlNotCreated);
  const ControlFlags f = parse_flags(flags);

  QWidget* w = make_widget(pr.client, kind, f, control_text(kind, title));
  if (!w) RUN_Error(errcode::kControlNotCreated);
  ControlTraits* t = traits_of(w);
  t->group_start = f.group;
  w->setFocusPolicy(focus_policy(kind, f.tab_stop));
  if (pr.tools.font) w->setFont(to_qfont(*pr.tools.font));
  w->setGeometry(outer);

  auto rec = std::make_unique<WindowRecord>();
  rec->kind = kind;
  rec->parent = parent;
  rec->client = w;
  rec->control_id = ctl_id & 0xFFFF;
  rec->style.visible = f.visible;
  rec->style.disabled = f.disabled;
  rec->style.clip_siblings = kind != wk_GroupBox;
  WindowRecord& r = register_window(std::move(rec));

  if (f.disabled) w->setEnabled(false);
  w->setVisible(f.visible);
  return r.handle;
}

Window create_custom_px(Window parent, const std::string& class_name, const QRect& outer,
                        const std::string& title, const WinFlags& flags, int ctl_id) {
  if (parent == kScreenWindow) RUN_Error(errcode::kWrongKind);
  WindowRecord& pr = checked_record(parent);
  if (pr.kind >= wk_PushButton && pr.kind <= wk_Icon) RUN_Error(errcode::kWrongKind);
  const std::optional<EventHandler> handler = custom_class_handler(class_name);
  if (!QApplication::instance() || !pr.client || pr.dying || !handler) RUN_Error(errcode::kControlNotCreated);
  const ControlFlags f = parse_flags(flags);

  auto* w = new LayerClient(pr.client);
  w->setWindowTitle(system_text(title));
  w->setFocusPolicy(f.tab_stop ? Qt::StrongFocus : Qt::ClickFocus);
  w->setGeometry(outer);

  auto rec = std::make_unique<WindowRecord>();
  rec->kind = wk_Custom;
  rec->parent = parent;
  rec->client = w;
  rec->surface = &w->surface();
  rec->handler = *handler;
  rec->control_id = ctl_id & 0xFFFF;
  rec->style.visible = f.visible;
  rec->style.disabled = f.disabled;
  rec->style.clip_siblings = true;
  rec->tools.font = pr.tools.font;
  WindowRecord& r = register_window(std::move(rec));
  const Window h = r.handle;
  if (f.disabled) w->setEnabled(false);

  deliver(h, e_create{0});
  if (WindowRecord* again = find_record(h); again && !again->dying && again->client)
    again->client->setVisible(again->style.visible);
  return h;
}

Window create_control_du(Window dialog, int kind, const Rect& du_rect, const std::string& title,
                         const WinFlags& flags, int ctl_id) {
  const WindowRecord& d = checked_record(dialog);
  const BaseUnits b = d.client ? base_units(d.client->font()) : system_base_units();
  return create_control_px(dialog, kind, dialog_units_to_pixels(du_rect, b), title, flags, ctl_id);
}

void set_control_label(Window field, Window label) {
  WindowRecord& f = checked_record(field);
  const WindowRecord& l = checked_record(label);
  auto* text = qobject_cast<QLabel*>(l.client.data());
  if (!text || !f.client) return;
  text->setBuddy(f.client);
  f.client->setAccessibleName(strip_mnemonic(text->text()));
}

}  // namespace gui_detail
