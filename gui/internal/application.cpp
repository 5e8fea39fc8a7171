// Creation of the application object with the program's name.
#include "internal/application.h"

#include <cstdlib>
#include <string>

#include "internal/resource_lookup.h"

namespace gui_detail {

std::unique_ptr<QApplication> make_application_if_needed() {
  if (QApplication::instance()) return nullptr;
  // The application object keeps argc and argv for its lifetime; the name is the registered one
  // (empty without a registration).
  static int argc = 1;
  static std::string name;
  static char* argv[] = {nullptr, nullptr};
  name = program_name();
  argv[0] = name.data();
  auto app = std::make_unique<QApplication>(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return app;
}

bool can_show_windows() {
  if (QApplication::instance()) return true;
  for (const char* var : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* v = std::getenv(var); v && *v) return true;
  return false;
}

}  // namespace gui_detail
