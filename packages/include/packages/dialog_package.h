// The dialog package: a dialog laid out in a dialog resource, filled from a field list, with the
// program's handler seeing every event first, the edit fields checked on OK, and an answer code
// with the final values of all fields handed back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "layer/layer.h"

namespace dialog {

// ---- Edit-field properties, tried in list order when OK is checked ----

struct mandatory {
  friend bool operator==(const mandatory&, const mandatory&) = default;
};
// At most `max_chars` characters (text fields).
struct length {
  std::int32_t max_chars = 0;
  friend bool operator==(const length&, const length&) = default;
};
// The property `default`(Value): an empty field with it passes the check at once.
template <class T>
struct default_value {
  T value{};
  friend bool operator==(const default_value&, const default_value&) = default;
};
template <class N>
struct range {
  N min{};
  N max{};
  friend bool operator==(const range&, const range&) = default;
};
template <class N>
struct minimum {
  N min{};
  friend bool operator==(const minimum&, const minimum&) = default;
};
template <class N>
struct maximum {
  N max{};
  friend bool operator==(const maximum&, const maximum&) = default;
};
template <class T> default_value(T) -> default_value<T>;
default_value(const char*) -> default_value<std::string>;
template <class N> range(N, N) -> range<N>;
template <class N> minimum(N) -> minimum<N>;
template <class N> maximum(N) -> maximum<N>;

// Properties that play no part in the check; they act when the field is filled: `decimals`(N)
// writes a real with N decimals, `upper`/`lower` write the text in upper or lower case,
// `enable`(On) enables or disables the field's control and `show`(On) shows or hides it.
struct decimals {
  std::int32_t n = 0;
  friend bool operator==(const decimals&, const decimals&) = default;
};
struct upper {
  friend bool operator==(const upper&, const upper&) = default;
};
struct lower {
  friend bool operator==(const lower&, const lower&) = default;
};
struct enable {
  bool on = true;
  friend bool operator==(const enable&, const enable&) = default;
};
struct show {
  bool on = true;
  friend bool operator==(const show&, const show&) = default;
};

// The properties of a text field: mandatory (1), length (2), default (3), then the fill-only ones.
using StrProperty = std::variant<mandatory, length, default_value<std::string>, upper, lower, enable, show>;
// The properties of a number field: mandatory (1), default (2), range (3), minimum (4),
// maximum (5), then the fill-only ones.
template <class N>
using NumProperty =
    std::variant<mandatory, default_value<N>, range<N>, minimum<N>, maximum<N>, decimals, upper, lower, enable, show>;

// ---- Field values, in the order of the value domain (index + 1 is the kind code) ----

struct checkbox {
  bool checked = false;
  friend bool operator==(const checkbox&, const checkbox&) = default;
};
// The radio buttons of a group and the control id of the selected one (0: none).
struct radiobuttongroup {
  std::vector<int> buttons;
  int selected = 0;
  friend bool operator==(const radiobuttongroup&, const radiobuttongroup&) = default;
};
struct pushbutton {
  std::string text;
  friend bool operator==(const pushbutton&, const pushbutton&) = default;
};
struct editstr {
  std::string text;
  std::vector<StrProperty> props;
  friend bool operator==(const editstr&, const editstr&) = default;
};
// A number field holds a number or none (an empty field).
struct editint {
  std::optional<std::int32_t> value;
  std::vector<NumProperty<std::int32_t>> props;
  friend bool operator==(const editint&, const editint&) = default;
};
struct editlong {
  std::optional<std::int32_t> value;  // the long type is 32 bits wide
  std::vector<NumProperty<std::int32_t>> props;
  friend bool operator==(const editlong&, const editlong&) = default;
};
struct editreal {
  std::optional<double> value;
  std::vector<NumProperty<double>> props;
  friend bool operator==(const editreal&, const editreal&) = default;
};
struct statictext {
  std::string text;
  friend bool operator==(const statictext&, const statictext&) = default;
};
// The items and the selected positions (0-based, ascending).
struct listbox {
  std::vector<std::string> items;
  std::vector<int> selected;
  friend bool operator==(const listbox&, const listbox&) = default;
};
// The items and the selected position (-1: none).
struct listbutton {
  std::vector<std::string> items;
  int selected = -1;
  friend bool operator==(const listbutton&, const listbutton&) = default;
};
// The items and the text of the edit line.
struct listedit {
  std::vector<std::string> items;
  std::string text;
  friend bool operator==(const listedit&, const listedit&) = default;
};
struct scrollbar {
  int min = 0;
  int max = 100;
  int pos = 0;
  friend bool operator==(const scrollbar&, const scrollbar&) = default;
};
// Data of a custom control (kind 20) or of a data field (an edit field or a custom control): the
// control's text. Filling the field sets that text (win_SetText), which a custom control hears
// as e_state(text); reading it takes the text back (win_GetText), which a custom control keeps
// up to date by setting its own text (win_SetText on itself) when the user changes its data.
struct custom {
  std::string data;
  friend bool operator==(const custom&, const custom&) = default;
};
struct datafield {
  std::string data;
  friend bool operator==(const datafield&, const datafield&) = default;
};

using FieldValue = std::variant<checkbox, radiobuttongroup, pushbutton, editstr, editint, editlong, editreal,
                                statictext, listbox, listbutton, listedit, scrollbar, custom, datafield>;

// The kind code of a value, 1 (checkbox) … 14 (datafield).
inline int kind_code(const FieldValue& v) { return static_cast<int>(v.index()) + 1; }

// ---- Prompts: how a field is named in the messages of the check ----

// The text replaces the whole message.
struct own_prompt {
  std::string text;
  friend bool operator==(const own_prompt&, const own_prompt&) = default;
};
// The current text of the control `label_id` (the label beside the field).
struct dlg_prompt {
  int label_id = 0;
  friend bool operator==(const dlg_prompt&, const dlg_prompt&) = default;
};
struct str_prompt {
  std::string name;
  friend bool operator==(const str_prompt&, const str_prompt&) = default;
};
// The name "???".
struct nopr {
  friend bool operator==(const nopr&, const nopr&) = default;
};
using Prompt = std::variant<own_prompt, dlg_prompt, str_prompt, nopr>;

// One entry of the field list.
struct Field {
  int ctl_id = 0;
  FieldValue value;
  Prompt prompt = nopr{};
  friend bool operator==(const Field&, const Field&) = default;
};
using FieldList = std::vector<Field>;

// One entry of a value list: what the dialog hands back.
struct Value {
  int ctl_id = 0;
  FieldValue value;
  friend bool operator==(const Value&, const Value&) = default;
};
using ValueList = std::vector<Value>;

// The answer of a modal dialog.
enum Answer : int { answer_none = 0, answer_ok = 1, answer_cancel = 2 };
struct Result {
  int answer = answer_none;  // 1 OK, 2 Cancel or any other end, 0 not created
  ValueList values;          // every field in field-list order after OK, else empty
};

}  // namespace dialog

// ---- Running a dialog ----

// Opens dialog resource `res_id` as a modal dialog of `parent` with the package's handler and
// returns when it has closed. A non-empty `title` replaces the resource's title. `handler` (may
// be nullptr) sees every event, and sees close requests, OK (e_control 1), Cancel (e_control 2)
// and e_destroy before the package; when it succeeds for one of those the package does nothing
// more for it. `creation_data` reaches the handler in e_create. When the dialog cannot be made,
// the box "Error <dialog_Create>" is shown and the answer is 0.
dialog::Result dialog_CreateModal(Window parent, int res_id, const std::string& title, const dialog::FieldList& fields,
                                  EventHandler handler, std::int32_t creation_data);
// The same as a modeless dialog; returns its window at once (0 when it cannot be made).
Window dialog_CreateModeless(Window parent, int res_id, const std::string& title, const dialog::FieldList& fields,
                             EventHandler handler, std::int32_t creation_data);

// ---- Reading a value list: the first entry with the id and the kind, else run-time error 9002 ----

bool dialog_VLGetCheck(int ctl_id, const dialog::ValueList& values);
int dialog_VLGetRadiobutton(int ctl_id, const dialog::ValueList& values);  // the selected button
std::string dialog_VLGetstr(int ctl_id, const dialog::ValueList& values);
std::optional<std::int32_t> dialog_VLGetint(int ctl_id, const dialog::ValueList& values);
std::optional<std::int32_t> dialog_VLGetlong(int ctl_id, const dialog::ValueList& values);
std::optional<double> dialog_VLGetreal(int ctl_id, const dialog::ValueList& values);
dialog::listbox dialog_VLGetListBox(int ctl_id, const dialog::ValueList& values);
dialog::listbutton dialog_VLGetListButton(int ctl_id, const dialog::ValueList& values);
dialog::listedit dialog_VLGetListEdit(int ctl_id, const dialog::ValueList& values);
dialog::scrollbar dialog_VLGetScrollBar(int ctl_id, const dialog::ValueList& values);
std::string dialog_VLGetCustom(int ctl_id, const dialog::ValueList& values);
std::string dialog_VLGetDataField(int ctl_id, const dialog::ValueList& values);
// The item list of a list box, list button or list edit entry.
std::vector<std::string> dialog_VLGetAllList(int ctl_id, const dialog::ValueList& values);

// ---- An open dialog of the package (another window, or a field it does not have: 9002) ----

// The current values of all fields, read from their controls, in field-list order.
dialog::ValueList dialog_GetValues(Window dlg);
dialog::FieldValue dialog_GetValue(Window dlg, int ctl_id);
// Give the listed fields new values (each value must be of the field's kind) and fill their
// controls; dialog_SetFields also replaces prompts and adds fields the dialog did not have.
void dialog_SetValues(Window dlg, const dialog::ValueList& values);
void dialog_SetFields(Window dlg, const dialog::FieldList& fields);
// Applies the layer's state list (win_SetState) to the control of each listed field.
void dialog_SetState(Window dlg, const std::vector<int>& ctl_ids, const std::vector<int>& states);

void dialog_SetCheck(Window dlg, int ctl_id, bool checked);
void dialog_SetRadiobutton(Window dlg, int ctl_id, int selected);
void dialog_SetStr(Window dlg, int ctl_id, const std::string& text);
void dialog_SetInt(Window dlg, int ctl_id, std::optional<std::int32_t> value);
void dialog_SetLong(Window dlg, int ctl_id, std::optional<std::int32_t> value);
void dialog_SetReal(Window dlg, int ctl_id, std::optional<double> value);
void dialog_SetStaticText(Window dlg, int ctl_id, const std::string& text);
void dialog_SetListBox(Window dlg, int ctl_id, const std::vector<std::string>& items, const std::vector<int>& selected);
void dialog_SetListButton(Window dlg, int ctl_id, const std::vector<std::string>& items, int selected);
void dialog_SetListEdit(Window dlg, int ctl_id, const std::vector<std::string>& items, const std::string& text);
void dialog_SetScrollBar(Window dlg, int ctl_id, const dialog::scrollbar& value);

bool dialog_GetCheck(Window dlg, int ctl_id);
int dialog_GetRadiobutton(Window dlg, int ctl_id);
std::string dialog_GetStr(Window dlg, int ctl_id);
std::optional<std::int32_t> dialog_GetInt(Window dlg, int ctl_id);
std::optional<std::int32_t> dialog_GetLong(Window dlg, int ctl_id);
std::optional<double> dialog_GetReal(Window dlg, int ctl_id);
std::string dialog_GetStaticText(Window dlg, int ctl_id);
dialog::listbox dialog_GetListBox(Window dlg, int ctl_id);
dialog::listbutton dialog_GetListButton(Window dlg, int ctl_id);
dialog::listedit dialog_GetListEdit(Window dlg, int ctl_id);
dialog::scrollbar dialog_GetScrollBar(Window dlg, int ctl_id);
