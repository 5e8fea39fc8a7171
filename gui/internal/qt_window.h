// The layer's own widgets. LayerClient is the client area of task, top-level and child windows:
// it receives input and paint and turns them into events of the domain. LayerFrame (a
// QMainWindow) is the frame of the task window and of top-level windows outside MDI, with their
// menu bar; LayerMdiChild is the frame of a top-level window inside the MDI task window.
// Frames turn close requests and moves into events; everything else happens in the client.
#pragma once

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QWidget>

#include "internal/paint_surface.h"

namespace gui_detail {

class LayerClient : public QWidget {
  Q_OBJECT
 public:
  explicit LayerClient(QWidget* parent = nullptr);
  PaintSurface& surface() { return surface_; }

 protected:
  bool focusNextPrevChild(bool next) override;
  void paintEvent(QPaintEvent* ev) override;
  void resizeEvent(QResizeEvent* ev) override;
  void moveEvent(QMoveEvent* ev) override;
  void focusInEvent(QFocusEvent* ev) override;
  void focusOutEvent(QFocusEvent* ev) override;
  void keyPressEvent(QKeyEvent* ev) override;
  void keyReleaseEvent(QKeyEvent* ev) override;
  void mousePressEvent(QMouseEvent* ev) override;
  void mouseReleaseEvent(QMouseEvent* ev) override;
  void mouseDoubleClickEvent(QMouseEvent* ev) override;
  void mouseMoveEvent(QMouseEvent* ev) override;
  void wheelEvent(QWheelEvent* ev) override;

 private:
  Window handle() const;
  PaintSurface surface_;
  int wheel_rest_ = 0;
};

class LayerFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit LayerFrame(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

 protected:
  void closeEvent(QCloseEvent* ev) override;
  void moveEvent(QMoveEvent* ev) override;
};

class LayerMdiChild : public QMdiSubWindow {
  Q_OBJECT
 public:
  LayerMdiChild();

 protected:
  void closeEvent(QCloseEvent* ev) override;
  void moveEvent(QMoveEvent* ev) override;
};

}  // namespace gui_detail
