// Fields and their controls (see dialog_controls.h): which control kinds fit which value kinds,
// and how each value is written to and read from its control.
#include "dialog_controls.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "dialog_text.h"
#include "runtime/conversions.h"

namespace dialog_detail {
namespace {

using namespace dialog;

bool kind_fits(const FieldValue& value, int kind) {
  return std::visit(
      [kind](const auto& f) {
        using F = std::decay_t<decltype(f)>;
        if constexpr (std::is_same_v<F, checkbox>) return kind == wk_CheckBox;
        else if constexpr (std::is_same_v<F, radiobuttongroup>) return kind == wk_RadioButton;
        else if constexpr (std::is_same_v<F, pushbutton>) return kind == wk_PushButton;
        else if constexpr (std::is_same_v<F, statictext>) return kind == wk_Text || kind == wk_GroupBox;
        else if constexpr (std::is_same_v<F, listbox>) return kind == wk_ListBox;
        else if constexpr (std::is_same_v<F, listbutton>) return kind == wk_ListButton;
        else if constexpr (std::is_same_v<F, listedit>) return kind == wk_ListEdit;
        else if constexpr (std::is_same_v<F, scrollbar>) return kind == wk_HScroll || kind == wk_VScroll;
        else if constexpr (std::is_same_v<F, custom>) return kind == wk_Custom;
        else if constexpr (std::is_same_v<F, datafield>) return kind == wk_Edit || kind == wk_Custom;
        else return kind == wk_Edit;  // editstr, editint, editlong, editreal
      },
      value);
}

// A value the control cannot show: a selected radio button outside its group, a real that is no
// finite number, a scroll position outside its range.
bool usable(const FieldValue& value) {
  if (const auto* r = std::get_if<radiobuttongroup>(&value))
    return r->selected == 0 || std::find(r->buttons.begin(), r->buttons.end(), r->selected) != r->buttons.end();
  if (const auto* r = std::get_if<editreal>(&value)) return !r->value || std::isfinite(*r->value);
  if (const auto* s = std::get_if<scrollbar>(&value)) return s->min <= s->max && s->pos >= s->min && s->pos <= s->max;
  return true;
}

void illegal_field(const Field& field) { dlg_Error("Illegal FIELD variant. " + field_term(field)); }

// The fill-only properties of an edit field: case of the text, enabled and visible state.
template <class Props>
void apply_edit_properties(Window ctl, const Props& props, std::string& text) {
  for (const auto& p : props) {
    if (std::holds_alternative<upper>(p)) text = CONV_up_low_oi(text);
    if (std::holds_alternative<lower>(p)) text = CONV_up_low_io(text);
    if (const auto* e = std::get_if<enable>(&p)) win_SetState(ctl, {e->on ? st_Enabled : st_Disabled});
    if (const auto* s = std::get_if<show>(&p)) win_SetState(ctl, {s->on ? st_Visible : st_Invisible});
  }
}

void fill_list(Window ctl, const std::vector<std::string>& items) {
  lbox_Clear(ctl);
  if (!items.empty()) lbox_Add(ctl, items);
}

}  // namespace

Window find_control(Window dlg, int ctl_id) {
  for (Window w : win_GetChildWindows(dlg))
    if (win_GetCtlId(w) == ctl_id) return w;
  return 0;
}

bool fill_field(Window dlg, const Field& field) {
  const Window ctl = find_control(dlg, field.ctl_id);
  if (!ctl || !kind_fits(field.value, win_GetType(ctl))) {
    illegal_field(field);
    return false;
  }
  std::vector<Window> group;
  if (const auto* r = std::get_if<radiobuttongroup>(&field.value)) {
    for (int id : r->buttons) {
      const Window b = find_control(dlg, id);
      if (!b || win_GetType(b) != wk_RadioButton) {
        illegal_field(field);
        return false;
      }
      group.push_back(b);
    }
  }
  if (!usable(field.value)) {
    dlg_Error("Illegal Value! " + value_term(field.value));
    return false;
  }
  std::visit(
      [&](const auto& f) {
        using F = std::decay_t<decltype(f)>;
        if constexpr (std::is_same_v<F, checkbox>) {
          win_Check(ctl, f.checked ? 1 : 0);
        } else if constexpr (std::is_same_v<F, radiobuttongroup>) {
          for (std::size_t i = 0; i < group.size(); ++i) win_Check(group[i], f.buttons[i] == f.selected ? 1 : 0);
        } else if constexpr (std::is_same_v<F, pushbutton> || std::is_same_v<F, statictext>) {
          win_SetText(ctl, f.text);
        } else if constexpr (std::is_same_v<F, editstr> || std::is_same_v<F, editint> ||
                             std::is_same_v<F, editlong> || std::is_same_v<F, editreal>) {
          std::string text = edit_text(field.value);
          apply_edit_properties(ctl, f.props, text);
          win_SetText(ctl, text);
        } else if constexpr (std::is_same_v<F, listbox>) {
          fill_list(ctl, f.items);
          for (int i : f.selected) lbox_SetSel(ctl, i, 1);
        } else if constexpr (std::is_same_v<F, listbutton>) {
          fill_list(ctl, f.items);
          if (f.selected >= 0 && f.selected < static_cast<int>(f.items.size())) lbox_SetSel(ctl, f.selected, 1);
        } else if constexpr (std::is_same_v<F, listedit>) {
          fill_list(ctl, f.items);
          win_SetText(ctl, f.text);
        } else if constexpr (std::is_same_v<F, scrollbar>) {
          win_SetScrollRange(ctl, f.min, f.max);
          win_SetScrollPos(ctl, f.pos);
        } else if constexpr (std::is_same_v<F, custom> || std::is_same_v<F, datafield>) {
          // The data is the control's text: an edit field shows it, a custom control hears it
          // as e_state(text).
          win_SetText(ctl, f.data);
        }
      },
      field.value);
  return true;
}

FieldValue read_field(Window dlg, const Field& field) {
  const Window ctl = find_control(dlg, field.ctl_id);
  if (!ctl || !kind_fits(field.value, win_GetType(ctl))) return field.value;
  return std::visit(
      [&](const auto& f) -> FieldValue {
        using F = std::decay_t<decltype(f)>;
        F v = f;
        if constexpr (std::is_same_v<F, checkbox>) {
          v.checked = win_IsChecked(ctl) == 1;
        } else if constexpr (std::is_same_v<F, radiobuttongroup>) {
          v.selected = 0;
          for (int id : f.buttons)
            if (const Window b = find_control(dlg, id); b && win_GetType(b) == wk_RadioButton && win_IsChecked(b) == 1) {
              v.selected = id;
              break;
            }
        } else if constexpr (std::is_same_v<F, pushbutton> || std::is_same_v<F, statictext> ||
                             std::is_same_v<F, editstr>) {
          v.text = win_GetText(ctl);
        } else if constexpr (std::is_same_v<F, editint> || std::is_same_v<F, editlong>) {
          v.value = CONV_s_i_io(win_GetText(ctl));
        } else if constexpr (std::is_same_v<F, editreal>) {
          v.value = CONV_s_r_io(win_GetText(ctl));
        } else if constexpr (std::is_same_v<F, listbox>) {
          std::vector<std::string> lines;
          v.items = lbox_GetAll(ctl);
          v.selected.clear();
          lbox_GetSel(ctl, lines, v.selected);
        } else if constexpr (std::is_same_v<F, listbutton>) {
          v.items = lbox_GetAll(ctl);
          v.selected = lbox_GetSelIndex(ctl).value_or(-1);
        } else if constexpr (std::is_same_v<F, listedit>) {
          v.items = lbox_GetAll(ctl);
          v.text = win_GetText(ctl);
        } else if constexpr (std::is_same_v<F, scrollbar>) {
          win_GetScrollRange(ctl, v.min, v.max);
          v.pos = win_GetScrollPos(ctl);
        } else if constexpr (std::is_same_v<F, custom> || std::is_same_v<F, datafield>) {
          v.data = win_GetText(ctl);  // a custom control gives its data by setting its own text
        }
        return v;
      },
      field.value);
}

}  // namespace dialog_detail
