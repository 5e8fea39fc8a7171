// The layer as the program's tests see it: the toolkit widgets and menu actions behind the
// layer's handles, for tests that click, grab or inspect what the user would see. Only tests link
// it (foliarkh_layer_test_access); the program's own code never does, and the tests that use it
// need none of the layer's private headers.
#pragma once

#include <cstddef>
#include <optional>

#include <QAction>
#include <QFont>
#include <QWidget>

#include "layer/types.h"

namespace layer_test {

// The widget that receives a window's input and paint (a control or dialog itself); nullptr
// when the handle names no window or its widget is gone.
QWidget* client_of(Window win);
// The outer widget of a window (its frame, MDI sub-window or dialog); nullptr as above.
QWidget* frame_of(Window win);
// The handle of the window whose client or frame `widget` is; 0 for any other widget.
Window window_of(const QObject* widget);
// How many windows the layer has now (every kind, controls included).
std::size_t window_count();
// The first action of the window's own menu that carries command `id`; nullptr when it has no
// menu or no such item.
QAction* menu_action(Window win, int id);
// The font a push button of the layer draws its caption in (smaller than its own font when the
// caption would not fit its face); nothing for a widget that is not such a button.
std::optional<QFont> caption_font(const QWidget* widget);

}  // namespace layer_test
