// Controls: creation, ids, check state, window states and edit-field operations.
#include "layer/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include "internal/control_create.h"
#include "internal/dispatch.h"
#include "internal/geometry.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

bool is_control_kind(int kind) { return kind >= wk_PushButton && kind <= wk_ListView; }

// Gives the focus to the parent when `w` or one of its children has it.
void focus_to_parent_if_focused(const WindowRecord& r, QWidget* w) {
  QWidget* f = QApplication::focusWidget();
  if (!w || !f || (f != w && !w->isAncestorOf(f))) return;
  if (const WindowRecord* p = find_record(r.parent); p && p->client) p->client->setFocus(Qt::OtherFocusReason);
}

void set_default_button(WindowRecord& r) {
  auto* me = qobject_cast<QPushButton*>(r.client.data());
  if (r.kind != wk_PushButton || !me) RUN_Error(errcode::kWrongKind);
  for (WindowRecord* x : all_records())
    if (x != &r && x->parent == r.parent && x->kind == wk_PushButton)
      if (auto* b = qobject_cast<QPushButton*>(x->client.data())) b->setDefault(false);
  me->setDefault(true);
}

// The single-line editor of an edit field or list edit, or the multi-line one; 6001 otherwise.
struct EditTarget {
  QLineEdit* line = nullptr;
  QPlainTextEdit* multi = nullptr;
};
EditTarget edit_target(Window win) {
  const WindowRecord& r = checked_record(win);
  EditTarget t;
  if (auto* c = qobject_cast<QComboBox*>(r.client.data()))
    t.line = c->lineEdit();
  else if (auto* m = qobject_cast<QPlainTextEdit*>(r.client.data()))
    t.multi = m;
  else
    t.line = qobject_cast<QLineEdit*>(r.client.data());
  if (!t.line && !t.multi) RUN_Error(errcode::kWrongKind);
  return t;
}

}  // namespace

Window win_CreateControl(int kind, Rect rect, const std::string& title, Window parent,
                         const WinFlags& flags, int ctl_id) {
  if (parent == kScreenWindow) RUN_Error(errcode::kWrongKind);
  const WindowRecord& p = checked_record(parent);
  QRect outer = to_qrect(rect);
  const bool dialog = p.kind == wk_ModalDialog || p.kind == wk_ModelessDialog;
  if (dialog && p.dialog_font && p.client) {
    // Pixels -> dialog units of the system font -> pixels of the dialog's font.
    const BaseUnits sys = system_base_units();
    const Rect du{rect.left * 4 / sys.x, rect.top * 8 / sys.y,
                  rect.left * 4 / sys.x + (rect.right - rect.left) * 4 / sys.x,
                  rect.top * 8 / sys.y + (rect.bottom - rect.top) * 8 / sys.y};
    outer = dialog_units_to_pixels(du, base_units(p.client->font()));
  }
  return create_control_px(parent, kind, outer, title, flags, ctl_id);
}

Window win_GetCtlHandle(Window parent, int ctl_id) {
  if (parent != kScreenWindow) checked_record(parent);
  const int id = ctl_id & 0xFFFF;
  for (const WindowRecord* r : all_records())
    if (r->parent == parent && !r->dying && r->control_id == id &&
        (is_control_kind(r->kind) || r->kind == wk_Child))
      return r->handle;
  RUN_Error(errcode::kNoControlId);
}

void win_Check(Window control, int state) {
  const WindowRecord& r = checked_record(control);
  if (state < 0 || state > 2) RUN_Error(errcode::kBadValue);
  if (r.control_id == 0) return;
  if (auto* c = qobject_cast<QCheckBox*>(r.client.data()))
    c->setCheckState(state == 2 ? Qt::PartiallyChecked : (state == 1 ? Qt::Checked : Qt::Unchecked));
  else if (auto* b = qobject_cast<QRadioButton*>(r.client.data()))
    b->setChecked(state != 0);
}

int win_IsChecked(Window control) {
  const WindowRecord& r = checked_record(control);
  if (auto* c = qobject_cast<QCheckBox*>(r.client.data())) {
    switch (c->checkState()) {
      case Qt::Checked: return 1;
      case Qt::PartiallyChecked: return 2;
      default: return 0;
    }
  }
  if (auto* b = qobject_cast<QRadioButton*>(r.client.data())) return b->isChecked() ? 1 : 0;
  return 0;
}

void win_CheckRadioButton(Window checked, const std::vector<Window>& group) {
  checked_record(checked);
  for (Window w : group) {
    checked_record(w);
    if (w != checked) win_Check(w, 0);
  }
  win_Check(checked, 1);
}

void win_CheckRadioButton(Window parent, int first_id, int last_id, int check_id) {
  checked_record(parent);
  for (const WindowRecord* r : all_records()) {
    if (r->parent != parent || r->dying || (r->kind != wk_RadioButton && r->kind != wk_CheckBox)) continue;
    if (r->control_id < first_id || r->control_id > last_id) continue;
    win_Check(r->handle, r->control_id == check_id ? 1 : 0);
  }
}

void win_SetState(Window win, const std::vector<int>& states) {
  checked_record(win);
  if (states.empty()) RUN_Error(errcode::kEmptyList);
  for (int s : states) {
    WindowRecord* r = find_record(win);  // a handler may have destroyed the window
    if (!r || r->dying) return;
    QWidget* outer = outer_widget(*r);
    switch (s) {
      case st_Visible:
        r->style.visible = true;
        if (outer) outer->show();
        deliver(win, e_state{visible{}});
        break;
      case st_Invisible:
        r->style.visible = false;
        if (outer) {
          const bool had_focus = QApplication::focusWidget() &&
                                 (QApplication::focusWidget() == outer || outer->isAncestorOf(QApplication::focusWidget()));
          outer->hide();  // focus events: their handlers may destroy the window
          if (!live_record(win)) return;
          if (had_focus)
            if (const WindowRecord* p = find_record(r->parent); p && p->client) p->client->setFocus(Qt::OtherFocusReason);
        }
        deliver(win, e_state{invisible{}});
        break;
      case st_Disabled:
        r->style.disabled = true;
        if (outer) {
          focus_to_parent_if_focused(*r, outer);
          outer->setEnabled(false);
        }
        deliver(win, e_state{disabled{}});
        break;
      case st_Enabled:
        r->style.disabled = false;
        if (outer) outer->setEnabled(true);
        deliver(win, e_state{enabled{}});
        break;
      case st_Maximized:
        if (outer) outer->showMaximized();
        break;
      case st_Minimized:
        if (outer) outer->showMinimized();
        break;
      case st_Restored:
        if (outer) outer->showNormal();
        break;
      case st_DefPushButton:
        set_default_button(*r);
        break;
      default:
        RUN_Error(errcode::kBadValue);
    }
  }
}

std::vector<int> win_GetState(Window win) {
  const WindowRecord& r = checked_record(win);
  const QWidget* outer = outer_widget(r);
  std::vector<int> out;
  if (!outer) return out;
  out.push_back(outer->isHidden() ? st_Invisible : st_Visible);
  out.push_back(outer->testAttribute(Qt::WA_Disabled) ? st_Disabled : st_Enabled);
  if (outer->isMaximized()) out.push_back(st_Maximized);
  if (outer->isMinimized()) out.push_back(st_Minimized);
  if (const auto* b = qobject_cast<const QPushButton*>(r.client.data()); b && r.kind == wk_PushButton && b->isDefault())
    out.push_back(st_DefPushButton);
  return out;
}

void win_SetEditCtlReadOnly(Window edit, bool read_only) {
  const EditTarget t = edit_target(edit);
  if (t.line) t.line->setReadOnly(read_only);
  if (t.multi) t.multi->setReadOnly(read_only);
}

void win_GetTextSelection(Window edit, int& start, int& end) {
  const EditTarget t = edit_target(edit);
  if (t.line) {
    if (t.line->hasSelectedText()) {
      start = static_cast<int>(t.line->selectionStart());
      end = static_cast<int>(t.line->selectionEnd());
    } else {
      start = end = static_cast<int>(t.line->cursorPosition());
    }
  } else {
    const QTextCursor c = t.multi->textCursor();
    start = c.selectionStart();
    end = c.selectionEnd();
  }
}

void win_SelectText(Window edit, int start, int end) {
  const EditTarget t = edit_target(edit);
  const int len = t.line ? static_cast<int>(t.line->text().size()) : t.multi->document()->characterCount() - 1;
  if (start < 0) {  // remove the selection, keep the caret
    if (t.line) t.line->deselect();
    if (t.multi) {
      QTextCursor c = t.multi->textCursor();
      c.clearSelection();
      t.multi->setTextCursor(c);
    }
    return;
  }
  if (end < 0 || end > len) end = len;
  start = std::min(start, len);
  if (t.line) {
    t.line->setSelection(start, end - start);
  } else {
    QTextCursor c = t.multi->textCursor();
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    t.multi->setTextCursor(c);
  }
}

void win_Clear(Window edit) {
  const EditTarget t = edit_target(edit);
  if (t.line && !t.line->isReadOnly() && t.line->hasSelectedText()) t.line->insert(QString());
  if (t.multi && !t.multi->isReadOnly()) t.multi->textCursor().removeSelectedText();
}
