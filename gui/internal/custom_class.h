// The classes of custom controls that the program has registered with class_Create.
#pragma once

#include <optional>
#include <string>

#include "layer/events.h"

namespace gui_detail {

// The handler of the registered class `class_name`, or none when no such class is registered.
std::optional<EventHandler> custom_class_handler(const std::string& class_name);
// Forgets every registered class (the layer's reset).
void clear_custom_classes();

}  // namespace gui_detail
