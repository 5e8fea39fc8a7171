// The window table and the flag interpretation of window records.
#include "internal/window_record.h"

#include <QCoreApplication>
#include <map>

#include "internal/menu_model.h"
#include "internal/modal_box.h"
#include "internal/record_guard.h"

namespace gui_detail {
namespace {

constexpr const char* kHandleProperty = "layer_window";

std::map<Window, std::unique_ptr<WindowRecord>>& table() {
  static std::map<Window, std::unique_ptr<WindowRecord>> t;
  return t;
}
Window g_next_handle = 0x100;

}  // namespace

void MenuModelDeleter::operator()(MenuModel* m) const {
  if (!m) return;
  if (QCoreApplication::instance())
    delete_after_loops(m);
  else
    delete m;
}

WindowRecord::WindowRecord() = default;
WindowRecord::~WindowRecord() = default;
void* WindowRecord::operator new(std::size_t size) { return allocate_record(size); }
void WindowRecord::operator delete(void* p, std::size_t size) noexcept { free_record(p, size); }

WindowStyle style_from_flags(const WinFlags& flags, WindowStyle s) {
  for (std::uint32_t f : flags) {
    switch (f) {
      case wsf_ThinBorder: s.thin_border = true; break;
      case wsf_SizeBorder: s.sizing_border = true; break;
      case wsf_DialogFrame: s.dialog_frame = true; break;
      case wsf_Close: s.close_box = true; break;
      case wsf_Maximize: s.max_box = true; break;
      case wsf_Minimize: s.min_box = true; break;
      case wsf_HScroll: s.hscroll = true; break;
      case wsf_VScroll: s.vscroll = true; break;
      case wsf_TitleBar: s.title_bar = true; break;
      case wsf_Visible: s.visible = true; break;
      case wsf_Invisible: s.visible = false; break;
      case wsf_Disabled: s.disabled = true; break;
      case wsf_Enabled: s.disabled = false; break;
      case wsf_Maximized: s.maximized = true; break;
      case wsf_Minimized: s.minimized = true; break;
      case wsf_Restored: s.maximized = s.minimized = false; break;
      case wsf_ClipChildren: s.clip_children = true; break;
      case wsf_ClipSiblings: s.clip_siblings = true; break;
      case wsf_TopMost: s.topmost = true; break;
      case wsf_Transparent: s.transparent = true; break;
      case wsf_NoClipSiblings: s.clip_siblings = false; break;
      case wsf_PopUp: s.popup = true; break;
      default: break;
    }
  }
  return s;
}

void tag_widget(QWidget* w, Window win) {
  if (w) w->setProperty(kHandleProperty, QVariant::fromValue<quint32>(win));
}

WindowRecord& register_window(std::unique_ptr<WindowRecord> rec) {
  rec->handle = g_next_handle++;
  rec->loops_at_creation = running_loops();
  tag_widget(rec->client, rec->handle);
  tag_widget(rec->frame, rec->handle);
  WindowRecord& r = *rec;
  table()[r.handle] = std::move(rec);
  return r;
}

void unregister_window(Window win) {
  auto it = table().find(win);
  if (it == table().end()) return;
  for (QWidget* w : {it->second->client.data(), it->second->frame.data()})
    if (w && w->property(kHandleProperty).toUInt() == win) w->setProperty(kHandleProperty, QVariant());
  table().erase(it);
}

WindowRecord* find_record(Window win) {
  auto it = table().find(win);
  return it == table().end() ? nullptr : it->second.get();
}

WindowRecord* find_record(const QObject* widget) {
  if (!widget) return nullptr;
  const QVariant v = widget->property(kHandleProperty);
  return v.isValid() ? find_record(static_cast<Window>(v.toUInt())) : nullptr;
}

WindowRecord& checked_record(Window win, SrcLoc loc) {
  WindowRecord* r = find_record(win);
  if (!r) RUN_Error(errcode::kNotWindow, loc);
  return *r;
}

WindowRecord* live_record(Window win) {
  WindowRecord* r = find_record(win);
  return r && !r->dying ? r : nullptr;
}

bool is_window(Window win) { return win == kScreenWindow || find_record(win) != nullptr; }

std::vector<WindowRecord*> all_records() {
  std::vector<WindowRecord*> out;
  out.reserve(table().size());
  for (auto& [h, r] : table()) out.push_back(r.get());
  return out;
}

bool is_ancestor_or_self(Window ancestor, Window win) {
  for (int guard = 0; win != 0 && guard < 10000; ++guard) {
    if (win == ancestor) return true;
    const WindowRecord* r = find_record(win);
    if (!r) return false;
    win = r->parent;
  }
  return false;
}

void clear_window_table() { table().clear(); }

}  // namespace gui_detail
