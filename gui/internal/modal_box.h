// Boxes, dialogs and pop-up menus that run a nested loop. Each lives on the heap behind a guard,
// never on a stack frame, and every such loop is registered with the window that owns it.
// Destroying that window (or one of its ancestors, or the window whose widget the box sits on)
// ends the box as if it had been cancelled, and the caller hears that it was. The widgets of
// windows destroyed while a loop runs are deleted only once every loop that started after the
// window was made has ended: frames below such a loop (the handler that opened the box, the
// button that ran it) may still be inside them. Frames of a loop that started before the window
// was made cannot be, so a dialog made and destroyed inside another box's loop goes as soon as its
// own loop has returned.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "layer/types.h"

class QDialog;

namespace gui_detail {

// A box made on the heap for one modal run; deleted with the holder unless its owner's
// destruction freed it first.
template <class Box>
class ModalBox {
 public:
  template <class... Args>
  explicit ModalBox(Args&&... args) : box_(new Box(std::forward<Args>(args)...)) {}
  ~ModalBox() { delete box_.data(); }
  ModalBox(const ModalBox&) = delete;
  ModalBox& operator=(const ModalBox&) = delete;

  Box* get() const { return box_.data(); }
  Box* operator->() const { return box_.data(); }

 private:
  QPointer<Box> box_;
};

// Registers the nested loop of `box` for as long as it lives, on behalf of the window `owner`
// (0: no window of the layer).
class RunningLoop {
 public:
  RunningLoop(QWidget* box, Window owner);
  ~RunningLoop();
  RunningLoop(const RunningLoop&) = delete;
  RunningLoop& operator=(const RunningLoop&) = delete;

  // The box was ended because its owner went, or it is freed already.
  bool ended() const { return ended_ || !box_; }

 private:
  friend void end_loops_of(const std::vector<Window>& gone);
  QPointer<QWidget> box_;
  Window owner_;
  bool ended_ = false;
};

// Runs the dialog application-modal for `owner`. Its result code (QDialog::Accepted, the code of
// a message box's button, ...), or nullopt when it ended because its owner was destroyed; the
// dialog may then be freed already.
std::optional<int> exec_box(QDialog* box, Window owner);

// Ends, as cancelled, every running box whose owner is one of the windows or which sits on a
// widget of one of them. Called while the windows' destruction begins (their records still there).
void end_loops_of(const std::vector<Window>& gone);

// How many registered loops run now. A window notes it when it is made: only a loop that started
// later can have frames inside the window's widgets.
std::size_t running_loops();

// Deletes what a destroyed window leaves behind (its widgets, its menu) once every registered
// loop that started after it was made (`loops_at_creation` loops ran then) has ended, when control
// gets back to the loop that runs then (deleteLater); a window made inside a box's loop thus goes
// as soon as that loop has returned, not when the outermost box closes.
void delete_after_loops(QObject* o, std::size_t loops_at_creation = 0);

}  // namespace gui_detail
