// The QApplication that the layer makes when the program has none.
#pragma once

#include <QApplication>
#include <memory>

namespace gui_detail {

// A new application object when none exists (nullptr otherwise); the caller owns it.
std::unique_ptr<QApplication> make_application_if_needed();
// Whether the toolkit can open windows here (an application exists, or a display or a
// platform is named in the environment).
bool can_show_windows();

}  // namespace gui_detail
