// The editor window: a window of the layer around the plain-text editor, its line-limited
// appending, caret and selection, the handler-first input, its commands and its dialogs.
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>

#include "editor_widget.h"
#include "internal/window_record.h"
#include "layer/editor.h"
#include "layer_test_support.h"
#include "runtime/run_error.h"

using namespace layer_test;
using editor_detail::EditorClient;
using editor_detail::EditorView;

namespace {

const WinFlags kFlags = {wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_HScroll, wsf_VScroll};

Window make_editor(Window task, const std::string& text = "", int read_only = 0) {
  return edit_CreateWrap(wk_TopLevel, {10, 10, 410, 210}, "Editor", no_menu{}, task, kFlags,
                         font_Create(ff_Fixed, {}, 10), read_only, 1, 0, text, 1, recording_handler);
}

EditorClient* client_of(Window w) { return static_cast<EditorClient*>(gui_detail::find_record(w)->client.data()); }
EditorView* view_of(Window w) { return client_of(w)->view(); }
QString text_of(Window w) { return view_of(w)->toPlainText(); }

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

void select(Window w, int from, int to) {
  QTextCursor c(view_of(w)->document());
  c.setPosition(from);
  c.setPosition(to, QTextCursor::KeepAnchor);
  view_of(w)->setTextCursor(c);
}

}  // namespace

class EditorTests : public QtSuite {
  Q_OBJECT

 public:
  EditorTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  void isAWindowOfTheLayer() {
    run_in_task([](Window task) {
      const Window w = make_editor(task, cp("Первая\nвторая"));
      QCOMPARE(win_GetType(w), int(wk_TopLevel));
      QCOMPARE(win_GetParent(w), task);
      QCOMPARE(events_of<e_create>(w).size(), std::size_t(1));
      QCOMPARE(text_of(w), QString::fromUtf8("Первая\nвторая"));
      QCOMPARE(view_of(w)->textCursor().position(), 0);  // the first position is 1
      QCOMPARE(win_GetClientRect(w), (Rect{0, 0, 400, 200}));
      QVERIFY(client_of(w)->status_line()->isVisible());
      edit_StatusLineShow(w, 0);
      QVERIFY(!client_of(w)->status_line()->isVisible());
      // Operations of the editor on other windows.
      const Window plain = win_Create(wk_TopLevel, {0, 0, 50, 50}, "", no_menu{}, task, kFlags, nullptr, 0);
      QCOMPARE(caught_code([&] { edit_AppendStr(plain, "x", 0); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { edit_GetNumberOfLines(0x7777777); }), errcode::kNotWindow);
      const Window ro = make_editor(task, "fixed", 1);
      view_of(ro)->setFocus();
      QTest::keyClicks(view_of(ro), "zz");
      QCOMPARE(text_of(ro), QStringLiteral("fixed"));
      win_Destroy(w);
      QCOMPARE(events_of<e_destroy>(w).size(), std::size_t(1));
      QCOMPARE(win_GetType(w), int(wk_NotAWindow));
    });
  }

  void appendKeepsTheLineLimit_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("appends");
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("lines");
    QTest::newRow("100 lines, the 101st pushes the first out") << 100 << 101 << "line 2" << 101;
    QTest::newRow("100 lines, exactly full") << 100 << 100 << "line 1" << 101;
    QTest::newRow("limit 0 removes nothing") << 0 << 150 << "line 1" << 151;
    QTest::newRow("limit 1 removes nothing") << 1 << 150 << "line 1" << 151;
    QTest::newRow("limit 2 keeps the last line") << 2 << 5 << "line 4" << 3;
  }
  void appendKeepsTheLineLimit() {
    QFETCH(int, limit);
    QFETCH(int, appends);
    QFETCH(QString, first);
    QFETCH(int, lines);
    run_in_task([&](Window task) {
      const Window w = make_editor(task);
      for (int i = 1; i <= appends; ++i) edit_AppendStr(w, "line " + std::to_string(i) + "\n", limit);
      QCOMPARE(edit_GetNumberOfLines(w), lines);
      QCOMPARE(view_of(w)->document()->firstBlock().text(), first);
      QCOMPARE(view_of(w)->document()->lastBlock().previous().text(), QStringLiteral("line %1").arg(appends));
      // The caret follows the end of the text, and appending is not undoable.
      QCOMPARE(view_of(w)->textCursor().position(), view_of(w)->document()->characterCount() - 1);
      QVERIFY(!view_of(w)->document()->isUndoAvailable());
    });
  }

  void appendOfCardsAndTheUsersSelection() {
    run_in_task([](Window task) {
      const Window w = make_editor(task);
      std::string card;
      for (int i = 1; i <= 6; ++i) card += cp("Поле ") + std::to_string(i) + ": " + cp("значение") + "\n";
      card += "----------\n";
      for (int i = 0; i < 30; ++i) {
        edit_AppendStr(w, card, 40);
        QVERIFY(edit_GetNumberOfLines(w) <= 40 + 7);
      }
      QCOMPARE(view_of(w)->document()->lastBlock().previous().text(), QStringLiteral("----------"));
      // The view follows the end: the caret at the end of the text is in sight.
      QVERIFY(view_of(w)->verticalScrollBar()->maximum() > 0);
      QVERIFY(view_of(w)->viewport()->rect().contains(view_of(w)->cursorRect()));
      QCOMPARE(view_of(w)->textCursor().position(), view_of(w)->document()->characterCount() - 1);
      QCOMPARE(view_of(w)->document()->lastBlock().previous().previous().text(), QString::fromUtf8("Поле 6: значение"));
      // A selection of the user survives an append and still covers the same text.
      const int start = view_of(w)->document()->lastBlock().previous().position();
      select(w, start, start + 10);
      edit_AppendStr(w, card, 40);
      QCOMPARE(view_of(w)->textCursor().selectedText(), QStringLiteral("----------"));
      std::int32_t s = 0, e = 0;
      edit_GetSelection(w, s, e);
      QCOMPARE(e - s, 10);
      QCOMPARE(view_of(w)->document()->toPlainText().mid(s - 1, 10), QStringLiteral("----------"));
    });
  }

  // Labels of different widths followed by tabs, as a record card writes them, put their values
  // at one column in a proportional font, and again after the window's font has changed.
  void tabbedLabelsLineUpTheirValues() {
    run_in_task([](Window task) {
      const Window w = make_editor(task);
      const char* lines[] = {"Автор:\t\t\tx\n", "Наименование:\t\tx\n", "Категория:\t\tx\n",
                             "Диск:\t\t\tx\n", "Переплет:\t\tx\n", "Обложка:\t\tx\n"};
      for (const char* l : lines) edit_AppendStr(w, cp(l), 100);
      for (int size : {10, 14}) {
        win_SetFont(w, font_Create(ff_System, {}, size));
        EditorView* v = view_of(w);
        std::vector<int> xs;
        for (QTextBlock b = v->document()->firstBlock(); b.isValid() && !b.text().isEmpty(); b = b.next()) {
          QTextCursor c(b);
          c.movePosition(QTextCursor::EndOfBlock);
          c.movePosition(QTextCursor::Left);  // before the value
          xs.push_back(v->cursorRect(c).left());
        }
        QCOMPARE(xs.size(), std::size_t(6));
        for (int x : xs) QCOMPARE(x, xs.front());
      }
      win_Destroy(w);
    });
  }

  void caretSelectionPasteAndCopy() {
    run_in_task([](Window task) {
      const Window w = make_editor(task, "abc\ndef");
      std::int32_t s = -1, e = -1;
      edit_GetSelection(w, s, e);
      QCOMPARE(s, 0);
      QCOMPARE(e, 0);
      select(w, 0, 2);
      edit_GetSelection(w, s, e);
      QCOMPARE(s, 1);
      QCOMPARE(e, 3);
      edit_Copy(w);
      QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ab"));
      edit_GotoPos(w, 6);
      QCOMPARE(view_of(w)->textCursor().position(), 5);
      QCOMPARE(client_of(w)->status_line()->text(), QStringLiteral("Line 2, Col 2"));
      edit_GotoPos(w, 1000);  // clamped to the end
      QCOMPARE(view_of(w)->textCursor().position(), 7);
      edit_GotoPos(w, -5);
      QCOMPARE(view_of(w)->textCursor().position(), 0);
      edit_PasteStr(w, cp("новый\nтекст\n"));
      QCOMPARE(text_of(w), QString::fromUtf8("новый\nтекст\n"));
      QCOMPARE(edit_GetNumberOfLines(w), 3);
      edit_PasteStr(w, "");
      QCOMPARE(edit_GetNumberOfLines(w), 1);
    });
  }

  void handlerComesFirst() {
    run_in_task([](Window task) {
      const Window w = make_editor(task);
      view_of(w)->setFocus();
      // A handler that takes the key keeps the editor from typing it.
      behaviour() = [](Window, const Event& ev) -> std::optional<long> {
        if (const auto* k = std::get_if<e_keydown>(&ev); k && k->key == 'X') return 0;
        return std::nullopt;
      };
      QTest::keyClicks(view_of(w), "aXb");
      QCOMPARE(text_of(w), QStringLiteral("ab"));
      QCOMPARE(events_of<e_char>(w).size(), std::size_t(3));
      // Auto-indent: a new line starts with the white space of the one before.
      edit_PasteStr(w, "  x");
      edit_GotoPos(w, 4);
      QTest::keyClick(view_of(w), Qt::Key_Return);
      QCOMPARE(text_of(w), QStringLiteral("  x\n  "));
      // The editor's own commands, for a handler that fails for them; others are left alone.
      edit_PasteStr(w, "one two");
      log().clear();
      QCOMPARE(win_SendEvent(w, e_menu{edit_cmd_SelectAll, 0}), 0L);
      QCOMPARE(view_of(w)->textCursor().selectedText(), QStringLiteral("one two"));
      QCOMPARE(events_of<e_menu>(w).size(), std::size_t(1));
      win_SendEvent(w, e_menu{edit_cmd_Delete, 0});
      QCOMPARE(text_of(w), QString());
      win_SendEvent(w, e_menu{edit_cmd_Undo, 0});
      QCOMPARE(text_of(w), QStringLiteral("one two"));
      // A right click reaches the handler as e_mousedown and e_mouseup with button 1.
      log().clear();
      QTest::mouseClick(view_of(w)->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 5));
      QCOMPARE(events_of<e_mouseup>(w).size(), std::size_t(1));
      QCOMPARE(events_of<e_mouseup>(w)[0].button, int(mb_Right));
      QCOMPARE(events_of<e_mouseup>(w)[0].point, (Point{20, 5}));
      QVERIFY(!QApplication::activePopupWidget());  // no menu of the toolkit's own
    });
  }

  void searchDialogAndSearchAgain() {
    run_in_task([](Window task) {
      const Window w = make_editor(task, cp("Толстой; Пушкин; толстой; Гоголь"));
      auto search_for = [](const QString& what, bool match_case) {
        on_next_modal([what, match_case](QWidget* m) {
          m->findChild<QLineEdit*>("search_text")->setText(what);
          m->findChild<QCheckBox*>("match_case")->setChecked(match_case);
          QTest::mouseClick(m->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
      };
      search_for(QString::fromUtf8("толстой"), false);
      edit_SearchAgain(w);  // with no search yet it asks
      std::int32_t s = 0, e = 0;
      edit_GetSelection(w, s, e);
      QCOMPARE(s, 1);
      QCOMPARE(e, 8);
      edit_SearchAgain(w);
      edit_GetSelection(w, s, e);
      QCOMPARE(s, 18);
      edit_SearchAgain(w);  // goes round to the start once
      edit_GetSelection(w, s, e);
      QCOMPARE(s, 1);
      // Case matters when asked for: the only match is found from anywhere.
      search_for(QString::fromUtf8("толстой"), true);
      edit_SearchDlg(w);
      edit_GetSelection(w, s, e);
      QCOMPARE(s, 18);
      // Not found: the caret stays where it was.
      edit_GotoPos(w, 5);
      search_for(QStringLiteral("absent"), false);
      edit_SearchDlg(w);
      edit_GetSelection(w, s, e);
      QCOMPARE(s, 0);
      QCOMPARE(view_of(w)->textCursor().position(), 4);
      // Cancel keeps the last search.
      on_next_modal([](QWidget* m) {
        m->findChild<QLineEdit*>("search_text")->setText("other");
        QTest::mouseClick(m->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
      });
      edit_SearchDlg(w);
      QCOMPARE(client_of(w)->search_text, QStringLiteral("absent"));
    });
  }

  void fontDialog() {
    run_in_task([](Window task) {
      const Window w = make_editor(task);
      const QFont before = view_of(w)->font();
      on_next_modal([](QWidget* m) {
        auto* d = qobject_cast<QFontDialog*>(m);
        QVERIFY(d);
        QVERIFY(d->testOption(QFontDialog::DontUseNativeDialog));
        QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
      });
      edit_SetFontDlg(w);
      QCOMPARE(view_of(w)->font(), before);
      on_next_modal([](QWidget* m) {
        auto* d = qobject_cast<QFontDialog*>(m);
        QFont f = d->currentFont();
        f.setPointSize(17);
        d->setCurrentFont(f);
        QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
      });
      win_SendEvent(w, e_menu{edit_cmd_Font, 0});
      QCOMPARE(view_of(w)->font().pointSize(), 17);
      std::vector<int> styles;
      int size = 0;
      font_GetAttrs(win_GetFont(w), styles, size);
      QCOMPARE(size, 17);
      // A font given to the window through the layer becomes the text's font.
      win_SetFont(w, font_Create(ff_Times, {fs_Bold}, 12));
      QCOMPARE(view_of(w)->font().family(), QStringLiteral("Times New Roman"));
      QVERIFY(view_of(w)->font().bold());
      QCOMPARE(font_FaceName(win_GetFont(w)), std::string("Times New Roman"));
    });
  }
};

QTEST_MAIN(EditorTests)
#include "editor_tests.moc"
