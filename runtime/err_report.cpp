// Composing the report of the last run-time error and showing it through the reporter.
#include "err_report.h"

#include <cstdio>

#include "run_error.h"

namespace {
ErrReporterFn g_reporter = nullptr;
bool g_message_boxes = false;
}  // namespace

void ERR_InstallUserRepFns(ErrReporterFn reporter) { g_reporter = reporter; }
ErrReporterFn ERR_GetUserRepFn() { return g_reporter; }
void ERR_SetMessageBoxes(bool on) { g_message_boxes = on; }
bool ERR_UsesMessageBoxes() { return g_message_boxes; }

void ERR_ReportLevel1(int code) {
  const SourcePos& p = RUN_GetLastErrorPos();
  std::string text = "Module:" + p.unit;
  if (!p.include.empty()) text += " Include:" + p.include;
  text += " Pos:" + std::to_string(p.pos) + " Message:" + std::to_string(code);
  if (g_reporter) {
    g_reporter(code, p.include.empty() ? 0 : 1, p.pos, text);
    return;
  }
  std::fprintf(stderr, "\nPROGRAM ERROR. %s\n", text.c_str());
}
