// The window table: handle -> window record. A record exists from the window's creation until
// its destruction has been delivered; widgets carry their handle in the property "layer_window"
// so that toolkit events find their record. Handles are never reused within a run.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "layer/drawing.h"
#include "layer/events.h"
#include "layer/types.h"
#include "layer/window.h"
#include "runtime/run_error.h"

class QPainter;

namespace gui_detail {

class MenuModel;
class PaintSurface;

// Menus are deleted when the loop gets back (after every box's loop, see modal_box.h): a window
// may be destroyed from its own menu command, while the toolkit is still inside that menu.
struct MenuModelDeleter {
  void operator()(MenuModel* m) const;
};
using MenuModelPtr = std::unique_ptr<MenuModel, MenuModelDeleter>;

// The look of a window, computed from its flag list.
struct WindowStyle {
  bool visible = true, disabled = false, maximized = false, minimized = false;
  bool thin_border = false, sizing_border = false, dialog_frame = false, close_box = false;
  bool max_box = false, min_box = false, hscroll = false, vscroll = false, title_bar = false;
  bool clip_children = false, clip_siblings = false, topmost = false, transparent = false;
  bool popup = false;
};
// Applies the flags in order to `start`; unknown flags are ignored.
WindowStyle style_from_flags(const WinFlags& flags, WindowStyle start = {});

// The drawing tools of a window (layer/drawing.h), selected into every drawing context of it.
using ::Brush;
using ::DrawTools;
using ::Pen;

struct WindowRecord {
  WindowRecord();
  ~WindowRecord();
  WindowRecord(const WindowRecord&) = delete;
  WindowRecord& operator=(const WindowRecord&) = delete;
  // Records are allocated through the guard of freed records (internal/record_guard.h).
  static void* operator new(std::size_t size);
  static void operator delete(void* p, std::size_t size) noexcept;

  Window handle = 0;
  int kind = wk_NotAWindow;
  Window parent = 0;             // the screen for pop-ups; the task window for MDI children
  QPointer<QWidget> client;      // receives input and paint; the control or dialog itself
  QPointer<QWidget> frame;       // the outer widget (frame window, MDI sub-window, dialog)
  EventHandler handler = nullptr;
  EventHandler second_handler = nullptr;    // tried before `handler`
  EventHandler subclass_handler = nullptr;  // replaces the chain (controls)
  std::int32_t creation_data = 0;
  int control_id = 0;
  WindowStyle style;
  DrawTools tools;
  int cursor = 1;
  MenuModelPtr menu;                // own menu of a task, top-level or dialog window
  PaintSurface* surface = nullptr;  // the client's drawing surface, when it has one
  QPainter* paint_painter = nullptr;  // set only while e_update is delivered
  Rect update_rect;
  bool created_by_layer = true;
  bool erasing = false;  // e_erasebackground is being delivered
  bool hooked = false;   // win_EnableHook
  bool hook_delivering = false;  // a hooked toolkit event is being offered as e_native
  bool dying = false;   // its destruction has begun
  // The registered nested loops that ran when the window was made (modal_box.h): its widgets
  // are deleted once no more run.
  std::size_t loops_at_creation = 0;
  // A dialog that is still being built (its controls made, its e_create not yet handled): its
  // controls' notifications produce no e_control.
  bool being_created = false;
  // A dialog laid out in the dialog units of a font of its own: win_CreateControl maps pixel
  // rectangles through dialog units into it (see internal/control_create.h).
  bool dialog_font = false;
};

// The screen's handle (a window of kind 3 without a widget).
inline constexpr Window kScreenWindow = 0x10;

// Registers a record (its handle is assigned here) and tags the client and frame widgets.
WindowRecord& register_window(std::unique_ptr<WindowRecord> rec);
void unregister_window(Window win);
// Re-tags a widget that becomes part of a registered window (e.g. a frame made later).
void tag_widget(QWidget* w, Window win);
WindowRecord* find_record(Window win);
WindowRecord* find_record(const QObject* widget);
// The record while the window lives and its destruction has not begun, else nullptr. Layer code
// looks its record up again with this after any call that can run a handler (toolkit calls
// that deliver focus, size, move or activation events, e_control notifications, deliver), and
// stops when the window is gone: the handler may have destroyed it, freeing the record.
WindowRecord* live_record(Window win);
// The record, or run-time error 6000 (not a window of the layer); the screen has no record.
WindowRecord& checked_record(Window win, SrcLoc loc = SrcLoc::current());
bool is_window(Window win);
// All live records in creation order.
std::vector<WindowRecord*> all_records();
// Whether `ancestor` is `win` or one of its parents.
bool is_ancestor_or_self(Window ancestor, Window win);
// Drops every record (end of a run, the layer's reset).
void clear_window_table();

}  // namespace gui_detail
