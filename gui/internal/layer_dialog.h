// The widget of a dialog of the layer. The dialog itself is the client: its controls are
// children placed in pixels; what the program draws on the dialog itself goes to its surface,
// under the controls, through e_erasebackground and e_update. Close requests become e_closerequest, Escape and Enter the commands
// 2 and the default button (or 1), F1 a click on control 3, and keys, mouse, size and move of
// the dialog itself go through the common translation. Activation of a modeless dialog makes it
// the task's active modeless dialog.
#pragma once

#include <QDialog>

#include "internal/paint_surface.h"

#include "layer/types.h"

namespace gui_detail {

class LayerDialog : public QDialog {
  Q_OBJECT
 public:
  explicit LayerDialog(QWidget* parent);
  PaintSurface& surface() { return surface_; }

 protected:
  void paintEvent(QPaintEvent* ev) override;
  bool event(QEvent* ev) override;
  void closeEvent(QCloseEvent* ev) override;
  void keyPressEvent(QKeyEvent* ev) override;
  void keyReleaseEvent(QKeyEvent* ev) override;
  void mousePressEvent(QMouseEvent* ev) override;
  void mouseReleaseEvent(QMouseEvent* ev) override;
  void mouseDoubleClickEvent(QMouseEvent* ev) override;
  void resizeEvent(QResizeEvent* ev) override;
  void moveEvent(QMoveEvent* ev) override;

 private:
  Window handle() const;
  PaintSurface surface_;
};

// A command of the dialog: e_control(Id, kind, control, activated) when the dialog has an enabled
// control with that id, else e_menu(Id, shift); nothing when that control is disabled.
void dialog_command(Window dialog, int id);
// The control window with id `id` among the dialog's children, or 0.
Window dialog_control(Window dialog, int id);

}  // namespace gui_detail
