// The text of a toolbar button: "tooltip;help-line text".
#include "packages/toolbar.h"

toolbar_texts toolbar_SplitText(std::string_view text) {
  const std::size_t semi = text.find(';');
  if (semi == std::string_view::npos) return {std::string(), std::string(text)};
  return {std::string(text.substr(0, semi)), std::string(text.substr(semi + 1))};
}
