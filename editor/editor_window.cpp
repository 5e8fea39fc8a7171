// Creating editor windows, the editor's own commands, and the text operations: appending under
// a line limit, replacing, caret, lines, selection, clipboard and the status line.
#include <QScrollBar>
#include <algorithm>
#include <QTextBlock>

#include "editor_widget.h"
#include "internal/font_block.h"
#include "internal/text.h"
#include "internal/window_build.h"
#include "internal/window_record.h"
#include "layer/editor.h"
#include "layer/win_ops.h"

using namespace editor_detail;

namespace {

EditorView& view_of(Window win) { return *editor_client(win).view(); }

// The editor's own handling of the events its window's handler fails for: a font given to the
// window (win_SetFont) becomes the text's font, and its commands are carried out.
std::optional<long> editor_commands(Window win, const Event& ev) {
  if (const auto* st = std::get_if<e_state>(&ev))
    if (const auto* f = std::get_if<font>(&st->item)) {
      view_of(win).setFont(gui_detail::to_qfont(f->value));
      return 0;
    }
  const auto* m = std::get_if<e_menu>(&ev);
  if (!m) return std::nullopt;
  EditorView& v = view_of(win);
  switch (m->tag) {
    case edit_cmd_Undo: v.undo(); break;
    case edit_cmd_Redo: v.redo(); break;
    case edit_cmd_Cut: v.cut(); break;
    case edit_cmd_Copy: v.copy(); break;
    case edit_cmd_Paste: v.paste(); break;
    case edit_cmd_Delete:
      if (!v.isReadOnly()) v.textCursor().removeSelectedText();
      break;
    case edit_cmd_SelectAll: v.selectAll(); break;
    case edit_cmd_Search: edit_SearchDlg(win); break;
    case edit_cmd_SearchAgain: edit_SearchAgain(win); break;
    case edit_cmd_Font: edit_SetFontDlg(win); break;
    default: return std::nullopt;
  }
  return 0;
}

}  // namespace

const std::vector<int>& edit_CommandIds() {
  static const std::vector<int> ids = {edit_cmd_Undo,   edit_cmd_Redo,   edit_cmd_Cut,
                                       edit_cmd_Copy,   edit_cmd_Paste,  edit_cmd_Delete,
                                       edit_cmd_SelectAll, edit_cmd_Search, edit_cmd_SearchAgain,
                                       edit_cmd_Font};
  return ids;
}

Window edit_CreateWrap(int kind, Rect rect, const std::string& title, const Menu& menu, Window parent,
                       const WinFlags& flags, const Font& font, int read_only, int indent, int wrap,
                       const std::string& init_text, std::int32_t init_pos, EventHandler handler) {
  auto* client = new EditorClient;
  EditorView* v = client->view();
  v->setFont(gui_detail::to_qfont(font));
  v->setReadOnly(read_only != 0);
  v->auto_indent = indent != 0;
  v->setLineWrapMode(wrap != 0 ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  v->setPlainText(gui_detail::to_qt(init_text));
  const gui_detail::WindowStyle style = gui_detail::style_from_flags(flags);
  v->setHorizontalScrollBarPolicy(style.hscroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  v->setVerticalScrollBarPolicy(style.vscroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  // The window's handler comes first; the editor's commands are its fall-back.
  const Window w = gui_detail::create_window_with_client(client, kind, rect, title, menu, parent, flags,
                                                         editor_commands, handler, 0);
  if (gui_detail::WindowRecord* r = gui_detail::find_record(w)) {
    r->tools.font = font;  // what win_GetFont answers
    edit_GotoPos(w, init_pos);
  }
  return w;
}

void edit_AppendStr(Window win, const std::string& text, std::int32_t max_lines) {
  EditorView& v = view_of(win);
  QTextDocument* doc = v.document();
  const bool follow = !v.textCursor().hasSelection();
  doc->setUndoRedoEnabled(false);
  // One edit block: the cursor moves inside it do not lay out the blocks they pass; only what
  // is shown gets laid out, when it is painted.
  QTextCursor end(doc);
  end.beginEditBlock();
  if (max_lines > 1) {
    const int excess = doc->blockCount() - max_lines;
    if (excess > 0) {
      end.setPosition(doc->findBlockByNumber(excess).position(), QTextCursor::KeepAnchor);
      end.removeSelectedText();
    }
  }
  end.movePosition(QTextCursor::End);
  end.insertText(gui_detail::to_qt(text));
  end.endEditBlock();
  doc->setUndoRedoEnabled(true);
  if (follow) {
    if (v.textCursor().position() != end.position()) v.setTextCursor(end);
    v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum());
  }
}

void edit_PasteStr(Window win, const std::string& text) { view_of(win).setPlainText(gui_detail::to_qt(text)); }

void edit_GotoPos(Window win, std::int32_t pos) {
  EditorView& v = view_of(win);
  const int last = v.document()->characterCount() - 1;  // the position after the last character
  QTextCursor c(v.document());
  c.setPosition(std::clamp(pos - 1, 0, std::max(0, last)));
  v.setTextCursor(c);
  v.ensureCursorVisible();
}

std::int32_t edit_GetNumberOfLines(Window win) { return view_of(win).document()->blockCount(); }

void edit_GetSelection(Window win, std::int32_t& start, std::int32_t& end) {
  const QTextCursor c = view_of(win).textCursor();
  if (!c.hasSelection()) {
    start = end = 0;
    return;
  }
  start = c.selectionStart() + 1;
  end = c.selectionEnd() + 1;
}

void edit_Copy(Window win) { view_of(win).copy(); }

void edit_StatusLineShow(Window win, int show) { editor_client(win).status_line()->setVisible(show != 0); }
