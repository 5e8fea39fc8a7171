// The table of custom-control classes: a class name with the handler its controls start with.
// Classes live for the process (they may be registered before uix_Init) until class_Destroy or
// the layer's reset.
#include <map>

#include "internal/custom_class.h"
#include "layer/controls.h"
#include "runtime/run_error.h"

namespace {

std::map<std::string, EventHandler>& classes() {
  static std::map<std::string, EventHandler> c;
  return c;
}

}  // namespace

namespace gui_detail {

std::optional<EventHandler> custom_class_handler(const std::string& class_name) {
  const auto it = classes().find(class_name);
  if (it == classes().end()) return std::nullopt;
  return it->second;
}

void clear_custom_classes() { classes().clear(); }

}  // namespace gui_detail

void class_Create(const std::string& class_name, EventHandler handler) {
  if (class_name.empty() || !classes().emplace(class_name, handler).second) RUN_Error(errcode::kClassNotRegistered);
}

bool class_Destroy(const std::string& class_name) { return classes().erase(class_name) > 0; }
