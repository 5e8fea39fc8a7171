// The packages' one reset entry and its registration as a part of the process.
#include "packages/packages_part.h"

#include "dialog_state.h"
#include "layer/layer_part.h"
#include "message_window_facts.h"
#include "runtime/run.h"
#include "toolbar_state.h"

namespace {

void reset_packages() {
  toolbar_detail::clear_toolbar_state();
  dialog_detail::clear_dialog_state();
  msg_facts::clear_all();
}

}  // namespace

void packages_RegisterPart() {
  uix_RegisterPart();
  RUN_RegisterPart(nullptr, nullptr, reset_packages);
}
