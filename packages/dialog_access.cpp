// The setters and getters of an open dialog of the package. A window that is not an open dialog
// of the package, or a field it does not have with the asked kind, is run-time error 9002.
#include <algorithm>

#include "dialog_controls.h"
#include "dialog_handler.h"
#include "dialog_state.h"
#include "packages/dialog_package.h"
#include "runtime/run_error.h"

using namespace dialog;
using namespace dialog_detail;

namespace {

DialogState& open_dialog(Window dlg) {
  DialogState* st = find_dialog(dlg);
  if (!st) RUN_Error(errcode::kNoValueListEntry);
  return *st;
}

// The dialog's field with that id whose value has the kind of `kind_of`.
Field& field_of(Window dlg, int ctl_id, std::size_t kind_index) {
  for (Field& f : open_dialog(dlg).fields)
    if (f.ctl_id == ctl_id && f.value.index() == kind_index) return f;
  RUN_Error(errcode::kNoValueListEntry);
}

void set_value(Window dlg, int ctl_id, FieldValue value) {
  Field& f = field_of(dlg, ctl_id, value.index());
  f.value = std::move(value);
  const Field copy = f;
  fill_fields(dlg, {copy});
}

template <class K>
K current(Window dlg, int ctl_id) {
  const Field& f = field_of(dlg, ctl_id, FieldValue(K{}).index());
  return std::get<K>(read_field(dlg, f));
}

template <class K>
K recorded(Window dlg, int ctl_id) {
  return std::get<K>(field_of(dlg, ctl_id, FieldValue(K{}).index()).value);
}

}  // namespace

ValueList dialog_GetValues(Window dlg) {
  ValueList out;
  for (const Field& f : open_dialog(dlg).fields) out.push_back({f.ctl_id, read_field(dlg, f)});
  return out;
}

FieldValue dialog_GetValue(Window dlg, int ctl_id) {
  for (const Field& f : open_dialog(dlg).fields)
    if (f.ctl_id == ctl_id) return read_field(dlg, f);
  RUN_Error(errcode::kNoValueListEntry);
}

void dialog_SetValues(Window dlg, const ValueList& values) {
  for (const Value& v : values) set_value(dlg, v.ctl_id, v.value);
}

void dialog_SetFields(Window dlg, const FieldList& fields) {
  for (const Field& f : fields) {
    FieldList& own = open_dialog(dlg).fields;
    auto it = std::find_if(own.begin(), own.end(), [&f](const Field& o) { return o.ctl_id == f.ctl_id; });
    if (it == own.end()) own.push_back(f);
    else *it = f;
    fill_fields(dlg, {f});
  }
}

void dialog_SetState(Window dlg, const std::vector<int>& ctl_ids, const std::vector<int>& states) {
  open_dialog(dlg);
  for (int id : ctl_ids) win_SetState(win_GetCtlHandle(dlg, id), states);
}

void dialog_SetCheck(Window dlg, int ctl_id, bool checked) { set_value(dlg, ctl_id, checkbox{checked}); }

void dialog_SetRadiobutton(Window dlg, int ctl_id, int selected) {
  radiobuttongroup r = recorded<radiobuttongroup>(dlg, ctl_id);
  r.selected = selected;
  set_value(dlg, ctl_id, r);
}

void dialog_SetStr(Window dlg, int ctl_id, const std::string& text) {
  editstr e = recorded<editstr>(dlg, ctl_id);
  e.text = text;
  set_value(dlg, ctl_id, e);
}

void dialog_SetInt(Window dlg, int ctl_id, std::optional<std::int32_t> value) {
  editint e = recorded<editint>(dlg, ctl_id);
  e.value = value;
  set_value(dlg, ctl_id, e);
}

void dialog_SetLong(Window dlg, int ctl_id, std::optional<std::int32_t> value) {
  editlong e = recorded<editlong>(dlg, ctl_id);
  e.value = value;
  set_value(dlg, ctl_id, e);
}

void dialog_SetReal(Window dlg, int ctl_id, std::optional<double> value) {
  editreal e = recorded<editreal>(dlg, ctl_id);
  e.value = value;
  set_value(dlg, ctl_id, e);
}

void dialog_SetStaticText(Window dlg, int ctl_id, const std::string& text) {
  set_value(dlg, ctl_id, statictext{text});
}

void dialog_SetListBox(Window dlg, int ctl_id, const std::vector<std::string>& items, const std::vector<int>& selected) {
  set_value(dlg, ctl_id, listbox{items, selected});
}

void dialog_SetListButton(Window dlg, int ctl_id, const std::vector<std::string>& items, int selected) {
  set_value(dlg, ctl_id, listbutton{items, selected});
}

void dialog_SetListEdit(Window dlg, int ctl_id, const std::vector<std::string>& items, const std::string& text) {
  set_value(dlg, ctl_id, listedit{items, text});
}

void dialog_SetScrollBar(Window dlg, int ctl_id, const scrollbar& value) { set_value(dlg, ctl_id, value); }

bool dialog_GetCheck(Window dlg, int ctl_id) { return current<checkbox>(dlg, ctl_id).checked; }
int dialog_GetRadiobutton(Window dlg, int ctl_id) { return current<radiobuttongroup>(dlg, ctl_id).selected; }
std::string dialog_GetStr(Window dlg, int ctl_id) { return current<editstr>(dlg, ctl_id).text; }
std::optional<std::int32_t> dialog_GetInt(Window dlg, int ctl_id) { return current<editint>(dlg, ctl_id).value; }
std::optional<std::int32_t> dialog_GetLong(Window dlg, int ctl_id) { return current<editlong>(dlg, ctl_id).value; }
std::optional<double> dialog_GetReal(Window dlg, int ctl_id) { return current<editreal>(dlg, ctl_id).value; }
std::string dialog_GetStaticText(Window dlg, int ctl_id) { return current<statictext>(dlg, ctl_id).text; }
listbox dialog_GetListBox(Window dlg, int ctl_id) { return current<listbox>(dlg, ctl_id); }
listbutton dialog_GetListButton(Window dlg, int ctl_id) { return current<listbutton>(dlg, ctl_id); }
listedit dialog_GetListEdit(Window dlg, int ctl_id) { return current<listedit>(dlg, ctl_id); }
scrollbar dialog_GetScrollBar(Window dlg, int ctl_id) { return current<scrollbar>(dlg, ctl_id); }
