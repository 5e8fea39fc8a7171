// The package's event handler (see dialog_handler.h): the order in which the program's handler
// and the package see the events, the check on OK and the recording of results.
#include "dialog_handler.h"

#include "dialog_check.h"
#include "dialog_controls.h"
#include "dialog_state.h"
#include "runtime/scope_exit.h"

namespace dialog_detail {
namespace {

using namespace dialog;

std::optional<long> call_program(Window dlg, const Event& ev) {
  const DialogState* st = find_dialog(dlg);
  if (!st || !st->handler) return std::nullopt;
  const EventHandler handler = st->handler;  // the record may go while the handler runs
  return handler(dlg, ev);
}

std::string prompt_name(Window dlg, const Prompt& prompt) {
  if (const auto* d = std::get_if<dlg_prompt>(&prompt)) {
    const Window label = find_control(dlg, d->label_id);
    return label ? win_GetText(label) : std::string("???");
  }
  if (const auto* s = std::get_if<str_prompt>(&prompt)) return s->name;
  return "???";
}

bool enabled(Window ctl) {
  for (int s : win_GetState(ctl))
    if (s == st_Disabled) return false;
  return true;
}

// The first field that fails the check, reported; true when every field passed.
bool check_fields(Window dlg, const FieldList& fields) {
  for (const Field& field : fields) {
    if (!is_checked_kind(field.value)) continue;
    const Window ctl = find_control(dlg, field.ctl_id);
    if (!ctl || win_GetType(ctl) != wk_Edit || !enabled(ctl)) continue;
    const std::string text = win_GetText(ctl);
    const auto failure = check_field_text(field.value, text);
    if (!failure) continue;
    dlg_Error(failure_text(*failure, field.prompt, prompt_name(dlg, field.prompt)));
    // The box ran a loop of its own: the dialog may be gone by now.
    if (find_dialog(dlg) && win_GetType(ctl) == wk_Edit) {
      win_SetFocus(ctl);
      win_SelectText(ctl, 0, -1);
    }
    return false;
  }
  return true;
}

void process_ok(Window dlg) {
  DialogState* st = find_dialog(dlg);
  ValueList values;
  values.reserve(st->fields.size());
  for (Field& field : st->fields) {
    field.value = read_field(dlg, field);
    values.push_back({field.ctl_id, field.value});
  }
  const FieldList fields = st->fields;
  if (!check_fields(dlg, fields)) return;
  st = find_dialog(dlg);
  if (!st) return;
  st->result = answer_ok;
  st->result_values = std::move(values);
  win_Destroy(dlg);
}

void process_cancel(Window dlg) {
  DialogState* st = find_dialog(dlg);
  st->result = answer_cancel;
  st->result_values.clear();
  win_Destroy(dlg);
}

// The record goes; a waiting modal call takes the result with it.
void clean_up(Window dlg) {
  if (DialogState* st = find_dialog(dlg)) {
    if (st->outcome) {
      st->outcome->result = st->result;
      st->outcome->values = std::move(st->result_values);
    }
    remove_dialog(dlg);
  }
}

// The dialog counts as being set up by the package while a mark lives.
class FillingMark {
 public:
  explicit FillingMark(Window dlg) : dlg_(dlg) {
    if (DialogState* st = find_dialog(dlg_)) ++st->filling;
  }
  ~FillingMark() {
    if (DialogState* st = find_dialog(dlg_)) --st->filling;
  }
  FillingMark(const FillingMark&) = delete;
  FillingMark& operator=(const FillingMark&) = delete;

 private:
  Window dlg_;
};

bool is_button(const Event& ev, int id) {
  const auto* c = std::get_if<e_control>(&ev);
  return c && c->id == id && std::holds_alternative<activated>(c->info);
}

}  // namespace

void fill_fields(Window dlg, const FieldList& fields) {
  const FillingMark mark(dlg);
  for (const Field& field : fields) fill_field(dlg, field);
}

std::optional<long> dialog_package_eh(Window dlg, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    std::optional<PendingDialog> p = take_pending();
    if (!p) return std::nullopt;
    if (p->outcome) p->outcome->window = dlg;
    add_dialog(dlg, {p->title, p->fields, p->handler, 0, {}, p->outcome, 0});
    // The program's handler hears nothing of the setting up before its own e_create.
    if (!p->title.empty()) {
      const FillingMark mark(dlg);
      win_SetText(dlg, p->title);
    }
    fill_fields(dlg, p->fields);
    return call_program(dlg, ev);
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    const auto cleaned = on_scope_exit([dlg] { clean_up(dlg); });
    return call_program(dlg, ev);
  }
  if (std::holds_alternative<e_closerequest>(ev)) return call_program(dlg, ev);
  if (is_button(ev, answer_ok) || is_button(ev, answer_cancel)) {
    if (auto r = call_program(dlg, ev)) return r;
    if (!find_dialog(dlg)) return std::nullopt;
    if (is_button(ev, answer_ok)) process_ok(dlg);
    else process_cancel(dlg);
    return 0;
  }
  if (const DialogState* st = find_dialog(dlg);
      st && st->filling > 0 && (std::holds_alternative<e_control>(ev) || std::holds_alternative<e_state>(ev)))
    return std::nullopt;
  return call_program(dlg, ev);
}

}  // namespace dialog_detail
