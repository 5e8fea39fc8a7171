// Composing the report of the last run-time error and showing it through the reporter.
#include "runtime/err_report.h"

#include "fatal_stop.h"
#include "runtime/err_messages.h"
#include "runtime/err_texts.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"

namespace {
ErrReporterFn g_reporter = nullptr;
bool g_message_boxes = false;
}  // namespace

void ERR_InstallUserRepFns(ErrReporterFn reporter) { g_reporter = reporter; }
ErrReporterFn ERR_GetUserRepFn() { return g_reporter; }
void ERR_SetMessageBoxes(bool on) { g_message_boxes = on; }
bool ERR_UsesMessageBoxes() { return g_message_boxes; }

std::string ERR_ComposeReport(int code, bool message_boxes) {
  const std::string message = ERR_GetSysErrorMsg(code);
  const SourcePos& p = RUN_GetLastErrorPos();
  std::string text = message_boxes ? "" : "\n" + ERR_Translate("PROGRAM ERROR.") + " ";
  text += ERR_Translate("Module:") + p.unit;
  if (!p.include.empty()) text += " " + ERR_Translate("Include:") + p.include;
  text += " " + ERR_Translate("Pos:") + std::to_string(p.pos);
  if (!message_boxes) text += "\n";
  text += " " + ERR_Translate("Message:") + message;
  if (!message_boxes) text += "\n";
  return text;
}

void ERR_ReportLevel1(int code) {
  const std::string text = ERR_ComposeReport(code, g_message_boxes);
  if (g_reporter) {
    const SourcePos& p = RUN_GetLastErrorPos();
    g_reporter(code, p.include.empty() ? 0 : 1, p.pos, text);
  } else if (g_message_boxes) {
    RUN_ShowErrorBox("PROGRAM ERROR", text);
  } else {
    IO_WrStr(text);
  }
}

void KERNOG_ErrReport(int code) { ERR_ReportLevel1(code); }
