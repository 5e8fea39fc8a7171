// The registered parts of the process (the runtime's own first), their start, end and reset.
#include "run_parts.h"

#include <algorithm>
#include <vector>

#include "fatal_stop.h"
#include "runtime/console_output.h"
#include "runtime/err_report.h"
#include "runtime/err_texts.h"
#include "runtime/fact_store.h"
#include "runtime/file_slots.h"
#include "runtime/run.h"
#include "runtime/run_error.h"
#include "runtime/term_reader.h"

namespace {

struct RunPart {
  RunPartFn init;
  RunPartFn end;
  RunPartFn reset;
  bool operator==(const RunPart&) const = default;
};

// The runtime's own reset: the program's files closed (a failing close is not reported: the
// state is dropped either way) and the devices back to the screen and the keyboard; the routines
// the layer, the packages and the program install (console output, error reports and the
// translation of their words, message and fatal boxes) back to the runtime's own; the fact store
// emptied (every section's chains, single kinds back at their preset fact), the position of the
// last read error forgotten and the error state cleared.
void reset_runtime() {
  try {
    IO_EndFiles();
  } catch (const RunError&) {
  }
  IO_InitFiles();
  IO_SetLayerRunning(false);
  IO_SetConsoleFns(nullptr, nullptr);
  ERR_InstallUserRepFns(nullptr);
  ERR_InstallTranslation(nullptr);
  ERR_SetMessageBoxes(false);
  RUN_SetErrorBoxFn(nullptr);
  RNT_FC_Terminate();
  RNT_ResetReadErrorPosition();
  RUN_ResetErrorState();
}

// The registered parts in registration order; the runtime's own part is the first.
std::vector<RunPart>& parts() {
  static std::vector<RunPart> list{{nullptr, RNT_FC_Terminate, reset_runtime}};
  return list;
}

}  // namespace

void RUN_RegisterPart(RunPartFn init, RunPartFn end, RunPartFn reset) {
  const RunPart part{init, end, reset};
  if (std::find(parts().begin(), parts().end(), part) == parts().end()) parts().push_back(part);
}

void RUN_ResetParts() {
  const auto& list = parts();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (it->reset) it->reset();
}

void RUN_InitParts() {
  for (const RunPart& p : parts())
    if (p.init) p.init();
}

int RUN_EndParts() {
  int code = 0;
  const auto& list = parts();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    try {
      if (it->end) it->end();
    } catch (const RunError& e) {
      if (code == 0) code = e.code();
    }
  }
  return code;
}
