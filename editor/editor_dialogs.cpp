// The editor's dialogs: the search dialog with repeated search, and the font dialog.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "editor_widget.h"
#include "internal/font_block.h"
#include "internal/modal_box.h"
#include "internal/text.h"
#include "internal/window_record.h"
#include "layer/editor.h"

using namespace editor_detail;
using gui_detail::system_text;

namespace {

// Finds the last search's text from the caret, going round to the other end once.
void find_next(EditorClient& c) {
  EditorView& v = *c.view();
  if (v.find(c.search_text, c.search_flags)) return;
  const QTextCursor before = v.textCursor();
  QTextCursor from(v.document());
  from.movePosition(c.search_flags.testFlag(QTextDocument::FindBackward) ? QTextCursor::End : QTextCursor::Start);
  v.setTextCursor(from);
  if (v.find(c.search_text, c.search_flags)) return;
  v.setTextCursor(before);
  QApplication::beep();
}

}  // namespace

void edit_SearchDlg(Window win) {
  EditorClient& c = editor_client(win);
  gui_detail::ModalBox<QDialog> dlg(c.window());
  dlg->setObjectName(QStringLiteral("editor_search"));
  dlg->setWindowTitle(system_text("Search"));
  auto* what = new QLineEdit(dlg.get());
  what->setObjectName(QStringLiteral("search_text"));
  const QString selected = c.view()->textCursor().selectedText();
  what->setText(!selected.isEmpty() && !selected.contains(QChar(0x2029)) ? selected : c.search_text);
  what->selectAll();
  auto* match_case = new QCheckBox(system_text("Match &case"), dlg.get());
  match_case->setObjectName(QStringLiteral("match_case"));
  match_case->setChecked(c.search_flags.testFlag(QTextDocument::FindCaseSensitively));
  auto* whole = new QCheckBox(system_text("&Whole words"), dlg.get());
  whole->setObjectName(QStringLiteral("whole_words"));
  whole->setChecked(c.search_flags.testFlag(QTextDocument::FindWholeWords));
  auto* backward = new QCheckBox(system_text("Search &backwards"), dlg.get());
  backward->setObjectName(QStringLiteral("backwards"));
  backward->setChecked(c.search_flags.testFlag(QTextDocument::FindBackward));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dlg.get());
  buttons->button(QDialogButtonBox::Ok)->setText(system_text("&Find"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dlg.get(), &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dlg.get(), &QDialog::reject);
  auto* form = new QFormLayout(dlg.get());
  form->addRow(system_text("Find &what:"), what);
  form->addRow(match_case);
  form->addRow(whole);
  form->addRow(backward);
  form->addRow(buttons);

  QPointer<EditorClient> alive(&c);
  if (gui_detail::exec_box(dlg.get(), win) != QDialog::Accepted || !alive || what->text().isEmpty()) return;
  c.search_text = what->text();
  c.search_flags = {};
  if (match_case->isChecked()) c.search_flags |= QTextDocument::FindCaseSensitively;
  if (whole->isChecked()) c.search_flags |= QTextDocument::FindWholeWords;
  if (backward->isChecked()) c.search_flags |= QTextDocument::FindBackward;
  find_next(c);
}

void edit_SearchAgain(Window win) {
  EditorClient& c = editor_client(win);
  if (c.search_text.isEmpty()) {
    edit_SearchDlg(win);
    return;
  }
  find_next(c);
}

void edit_SetFontDlg(Window win) {
  EditorClient& c = editor_client(win);
  QPointer<EditorClient> alive(&c);
  gui_detail::ModalBox<QFontDialog> dlg(c.view()->font(), c.window());
  dlg->setWindowTitle(system_text("Font"));
  dlg->setOption(QFontDialog::DontUseNativeDialog);
  if (gui_detail::exec_box(dlg.get(), win) != QDialog::Accepted || !alive) return;
  const QFont chosen = dlg->selectedFont();
  c.view()->setFont(chosen);
  if (gui_detail::WindowRecord* r = gui_detail::find_record(win)) r->tools.font = gui_detail::from_qfont(chosen);
}
