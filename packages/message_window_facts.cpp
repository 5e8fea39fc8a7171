// The fact section of the message window package, its kinds in declaration order.
#include "message_window_facts.h"

#include "runtime/codepage.h"

namespace msg_facts {

FactSection section;
DetermKind<std::int32_t> max_no_lines{section, "max_no_lines"_cp};
DetermKind<std::uint32_t> mess_win{section, "mess_win"_cp};
DetermKind<std::string> msg_buffer{section, "msg_buffer"_cp};
DetermKind<std::int32_t> msg_timer{section, "msg_timer"_cp};
DetermKind<RectFact> msg_newrct{section, "msg_newrct"_cp};
DetermKind<std::int32_t> msg_debug{section, "msg_debug"_cp};

void clear_all() {
  max_no_lines.retract_all();
  mess_win.retract_all();
  msg_buffer.retract_all();
  msg_timer.retract_all();
  msg_newrct.retract_all();
  msg_debug.retract_all();
}

}  // namespace msg_facts
