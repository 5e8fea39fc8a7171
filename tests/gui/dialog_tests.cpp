// Dialog windows and the standard dialogs, driven through the real dialogs on the offscreen
// platform: each modal dialog is found when it shows, typed into and clicked.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "internal/control_create.h"
#include "internal/window_record.h"
#include "layer_portable/file_filters.h"
#include "layer_test_support.h"
#include "runtime/run_error.h"

using namespace layer_test;

namespace {

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

QPushButton* button(QWidget* m, const char* id) { return m->findChild<QPushButton*>(QString::fromLatin1(id)); }

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// The buttons of a question dialog that show, in their order.
QStringList shown_buttons(QWidget* m) {
  QStringList out;
  for (QPushButton* b : m->findChildren<QPushButton*>())
    if (!b->isHidden()) out << b->objectName() + "=" + b->text();
  return out;
}

QWidget* widget_of(Window w) { return gui_detail::find_record(w)->client; }

QString accessible_name(Window w) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget_of(w));
  return a ? a->text(QAccessible::Name) : QString("<none>");
}

// The text of the label that assistive technology finds for a field (its label relation).
QString accessible_label(Window w) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget_of(w));
  if (!a) return "<none>";
  for (const auto& [other, rel] : a->relations(QAccessible::Label)) return other->text(QAccessible::Name);
  return "<no label>";
}

// What the data-entry dialog's handler saw while it was opened.
struct Opening {
  Window dialog = 0;
  std::int32_t data = 0;
  int focus_id = -1;
  std::size_t controls_during_create = 0;
};
Opening g_opening;

// Fills the category list on e_create, as the program does; succeeds for close requests while
// `keep_open` holds; destroys the dialog on Cancel (id 2).
bool g_keep_open = false;
std::optional<long> entry_handler(Window w, const Event& ev) {
  log().push_back({w, ev});
  if (const auto* c = std::get_if<e_create>(&ev)) {
    g_opening.dialog = w;
    g_opening.data = c->creation_data;
    const Window list = win_GetCtlHandle(w, fixture::ctl_category);
    lbox_Add(list, -1, std::vector<std::string>{"b", "a"});
    lbox_SetSel(list, 0, 1);
    win_SetText(win_GetCtlHandle(w, fixture::ctl_author), "x");
    QWidget* f = widget_of(w)->focusWidget();
    g_opening.focus_id = f ? gui_detail::find_record(f)->control_id : 0;
    g_opening.controls_during_create = events_of<e_control>(w).size();
    return 0;
  }
  if (std::holds_alternative<e_closerequest>(ev) && g_keep_open) return 0;
  if (const auto* c = std::get_if<e_control>(&ev); c && c->id == 2) {
    win_Destroy(w);
    return 0;
  }
  return std::nullopt;
}

}  // namespace

class DialogTests : public QtSuite {
  Q_OBJECT

 public:
  DialogTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  void resourceDialogOpensLaidOutAndNamed() {
    run_in_task([](Window task) {
      g_opening = {};
      g_keep_open = false;
      QStringList names;
      QSize size, base;
      bool modal = false;
      on_next_modal([&](QWidget* m) {
        const Window d = g_opening.dialog;
        modal = win_GetType(d) == wk_ModalDialog && m == widget_of(d);
        using namespace fixture;
        for (int id : {ctl_author, ctl_title, ctl_category, ctl_kind, ctl_file})
          names << accessible_label(win_GetCtlHandle(d, id));
        for (int id : {1, 2, int(ctl_disk), int(ctl_hard), int(ctl_show_cover), int(ctl_close_cover)})
          names << accessible_name(win_GetCtlHandle(d, id));
        names << QAccessible::queryAccessibleInterface(m)->text(QAccessible::Name);
        size = m->size();
        const gui_detail::BaseUnits b = gui_detail::base_units(m->font());
        base = QSize(b.x, b.y);
        QTest::keyClick(m, Qt::Key_Escape);  // Cancel (id 2): the handler destroys the dialog
      });
      const Window got = win_CreateResDialog(task, wk_ModalDialog, fixture::dlg_entry, entry_handler, 42);
      // The modal call returned after the dialog closed, with the window it had.
      QCOMPARE(got, g_opening.dialog);
      QCOMPARE(win_GetType(got), int(wk_NotAWindow));
      QVERIFY(modal);
      QCOMPARE(g_opening.data, 42);
      QCOMPARE(g_opening.focus_id, fixture::ctl_author);  // the first control with a tab stop
      QCOMPARE(g_opening.controls_during_create, std::size_t(0));
      QCOMPARE(events_of<e_destroy>(got).size(), std::size_t(1));
      QCOMPARE(names, (QStringList{QString::fromUtf8("Автор"), QString::fromUtf8("Наименование"),
                                   QString::fromUtf8("Категория"), QString::fromUtf8("Вид"),
                                   QString::fromUtf8("Файл"), "OK", "Cancel", QString::fromUtf8("Диск"),
                                   QString::fromUtf8("Твердый"), QString::fromUtf8("ВидОбл"),
                                   QString::fromUtf8("ОблЗакрыть"), QString::fromUtf8("Ввод данных")}));
      // 285 × 139 dialog units of the dialog font.
      QCOMPARE(size, QSize(285 * base.width() / 4, 139 * base.height() / 8));
    });
  }

  void dialogCloseRequestsHelpAndEnter() {
    run_in_task([](Window task) {
      g_opening = {};
      g_keep_open = true;
      bool stayed = false;
      std::vector<e_control> controls;
      on_next_modal([&](QWidget* m) {
        const Window d = g_opening.dialog;
        m->close();  // the handler succeeds: the dialog stays
        stayed = m->isVisible() && win_GetType(d) == wk_ModalDialog;
        QTest::keyClick(widget_of(win_GetCtlHandle(d, fixture::ctl_author)), Qt::Key_F1);
        QTest::keyClick(widget_of(win_GetCtlHandle(d, fixture::ctl_author)), Qt::Key_Return);
        for (const e_control& c : events_of<e_control>(d))
          if (std::holds_alternative<activated>(c.info)) controls.push_back(c);
        g_keep_open = false;
        m->close();  // now it fails: the modal dialog ends
      });
      const Window d = win_CreateResDialog(task, wk_ModalDialog, fixture::dlg_entry, entry_handler, 0);
      QVERIFY(stayed);
      QCOMPARE(events_of<e_closerequest>(d).size(), std::size_t(2));
      QCOMPARE(win_GetType(d), int(wk_NotAWindow));
      // F1 is a click on control 3 (the dialog has none), Enter a click on the default button.
      QCOMPARE(controls.size(), std::size_t(2));
      QCOMPARE(controls[0].id, 3);
      QCOMPARE(controls[0].kind, int(wk_PushButton));
      QCOMPARE(controls[0].window, Window(0));
      QVERIFY(std::holds_alternative<activated>(controls[0].info));
      QCOMPARE(controls[1].id, 1);
      QVERIFY(controls[1].window != 0);
    });
  }

  void modalNoteClosesItselfOnItsTimer() {
    run_in_task([](Window task) {
      static int ticks;
      ticks = 0;
      const Window d = win_CreateResDialog(
          task, wk_ModalDialog, fixture::dlg_note,
          [](Window w, const Event& ev) -> std::optional<long> {
            if (std::holds_alternative<e_create>(ev)) {
              timer_Set(w, 30);
              return 0;
            }
            if (const auto* t = std::get_if<e_timer>(&ev)) {
              if (++ticks == 2) {
                timer_Kill(t->id);
                win_Destroy(w);
              }
              return 0;
            }
            return std::nullopt;
          },
          0);
      // The modal loop ran the timer and returned once the handler destroyed the dialog.
      QCOMPARE(ticks, 2);
      QCOMPARE(win_GetType(d), int(wk_NotAWindow));
      QVERIFY(win_GetListDialogs().empty());
    });
  }

  void modelessAndDynamicDialogs() {
    run_in_task([](Window task) {
      const Window about = win_CreateResDialog(task, wk_ModelessDialog, fixture::dlg_about, recording_handler, 5);
      QCOMPARE(win_GetType(about), int(wk_ModelessDialog));  // returned at once, still open
      QVERIFY(widget_of(about)->isVisible());
      // The dialog itself is painted through its handler, background first.
      QVERIFY(wait_until([&] { return !events_of<e_update>(about).empty(); }));
      QVERIFY(!events_of<e_erasebackground>(about).empty());
      QCOMPARE(events_of<e_create>(about).at(0).creation_data, 5);
      QCOMPARE(win_GetListDialogs(), std::vector<Window>{about});
      QCOMPARE(win_GetParent(about), task);
      QCOMPARE(win_GetText(win_GetCtlHandle(about, fixture::ctl_about_line2)), std::string("Version 1.0"));
      click(widget_of(win_GetCtlHandle(about, 1)));
      const auto clicks = events_of<e_control>(about);
      QCOMPARE(clicks.size(), std::size_t(1));
      QCOMPARE(clicks[0].id, 1);
      QCOMPARE(clicks[0].window, win_GetCtlHandle(about, 1));
      // Its close request fails: a modeless dialog is ended and destroyed.
      widget_of(about)->close();
      QCOMPARE(win_GetType(about), int(wk_NotAWindow));
      QVERIFY(win_GetListDialogs().empty());

      // The saved note: a font of its own lays it out; its icon item shows fixture::icon_note.
      const Window note = win_CreateResDialog(task, wk_ModelessDialog, fixture::dlg_note, recording_handler, 0);
      QWidget* nw = widget_of(note);
      QCOMPARE(nw->font().family(), QString("Times New Roman"));
      const gui_detail::BaseUnits nb = gui_detail::base_units(nw->font());
      QCOMPARE(nw->size(), QSize(101 * nb.x / 4, 26 * nb.y / 8));
      const Window icon = win_GetCtlHandle(note, fixture::ctl_note_icon);
      QCOMPARE(win_GetType(icon), int(wk_Icon));
      QVERIFY(!qobject_cast<QLabel*>(widget_of(icon))->pixmap().isNull());
      QCOMPARE(win_GetText(win_GetCtlHandle(note, fixture::ctl_note_text)), cp("Данные сохранены"));
      // A dialog keeps its size unless the program moves it.
      win_Move(note, {0, 0, 300, 120});
      QCOMPARE(nw->size(), QSize(300, 120));
      QCOMPARE(nw->minimumSize(), nw->maximumSize());
      win_Destroy(note);

      // A dialog from a definition list: pixels of the system font, controls by id.
      const Window dyn = win_CreateDynDialog(
          {wdef_dialog{wk_ModelessDialog, {10, 10, 250, 130}, "Dyn", {wsf_TitleBar, wsf_Close}, std::nullopt},
           wdef_control{wk_Text, {8, 8, 80, 24}, "&Name", 10, {}},
           wdef_control{wk_Edit, {90, 8, 230, 30}, "", 11, {26}},
           wdef_control{wk_PushButton, {90, 60, 170, 90}, "Go", 12, {26, 23}}},
          task, recording_handler, 0);
      QCOMPARE(win_GetText(dyn), std::string("Dyn"));
      QCOMPARE(accessible_name(win_GetCtlHandle(dyn, 11)), QString("Name"));
      QVERIFY(widget_of(win_GetCtlHandle(dyn, 11))->hasFocus() ||
              widget_of(dyn)->focusWidget() == widget_of(win_GetCtlHandle(dyn, 11)));
      win_Destroy(dyn);

      const Window top = win_CreateDyn({wdef_toplevel{{20, 20, 300, 200}, "Top", no_menu{}, {wsf_TitleBar}},
                                        wdef_control{wk_ListBox, {0, 0, 100, 100}, "", 7, {}}},
                                       task, recording_handler, 0);
      QCOMPARE(win_GetType(win_GetCtlHandle(top, 7)), int(wk_ListBox));
      win_Destroy(top);

      QCOMPARE(caught_code([&] { win_CreateResDialog(task, wk_ModalDialog, 4242, recording_handler, 0); }), errcode::kNoDialogResource);
      QCOMPARE(caught_code([&] { win_CreateResDialog(task, wk_Child, fixture::dlg_about, recording_handler, 0); }),
               errcode::kWrongKind);
      QCOMPARE(caught_code([&] {
                 win_CreateResDialog(Window(0x7777), wk_ModalDialog, fixture::dlg_about, recording_handler, 0);
               }),
               errcode::kNotWindow);
      QCOMPARE(caught_code([&] { win_CreateDynDialog({}, task, recording_handler, 0); }), errcode::kEmptyList);
      QCOMPARE(caught_code([&] { win_CreateDynDialog({wdef_child{}}, task, recording_handler, 0); }), errcode::kBadDefinition);
      QCOMPARE(caught_code([&] { win_CreateDyn({wdef_dialog{}}, task, recording_handler, 0); }), errcode::kBadDefinition);
    });
  }

  void askAnswersAndClosing() {
    run_in_task([](Window task) {
      const std::vector<std::string> two = {"&Yes", "&No"}, three = {"A", "B", "C"};
      struct Case {
        std::vector<std::string> buttons;
        const char* press;  // button id to click, or nullptr to close, "esc" for Escape
        int answer;
      };
      const Case cases[] = {
          {two, "1", 0},   {two, "2", 1},   {two, nullptr, 1},   {two, "esc", 1},
          {three, "1", 0}, {three, "3", 1}, {three, "2", 2},     {three, nullptr, 2},
          {three, "esc", 2},
      };
      for (const Case& c : cases) {
        QStringList shown;
        on_next_modal([&](QWidget* m) {
          shown = shown_buttons(m);
          if (!c.press) m->close();
          else if (QByteArray(c.press) == "esc") QTest::keyClick(m, Qt::Key_Escape);
          else click(button(m, c.press));
        });
        QCOMPARE(dlg_Ask(task, "T", "Q?", c.buttons), c.answer);
        // With three buttons the second slot is id 3 and the last is id 2.
        QCOMPARE(shown.size(), qsizetype(c.buttons.size()));
        if (c.buttons.size() == 3) QCOMPARE(shown, (QStringList{"1=A", "3=B", "2=C"}));
      }
    });
  }

  void askWithOneButtonAndBackslash() {
    run_in_task([](Window) {
      QStringList shown;
      QString question, title;
      on_next_modal([&](QWidget* m) {
        shown = shown_buttons(m);
        question = m->findChild<QLabel*>("4")->text();
        title = m->windowTitle();
        m->close();
      });
      QCOMPARE(dlg_Ask(cp("C:\\книги\\x"), {cp("Да"), "", ""}), 1);
      QCOMPARE(shown, QStringList{QString::fromUtf8("1=Да")});
      QCOMPARE(question, QString::fromUtf8("C:\\ книги\\ x"));
      QCOMPARE(title, QString());

      on_next_modal([&](QWidget* m) { click(button(m, "1")); });
      QCOMPARE(dlg_Ask("Title", "Q", {"Only"}), 0);
      QCOMPARE(caught_code([] { dlg_Ask("Q", {}); }), errcode::kEmptyList);
      QCOMPARE(caught_code([] { dlg_Ask(Window(0x7777), "T", "Q", {"A"}); }), errcode::kNotWindow);
    });
  }

  // A question box is wide enough for its whole title, however short the question.
  void askShowsItsWholeTitle() {
    run_in_task([](Window task) {
      for (const char* title : {"Удаление строки", "Изменить категорию у всех записей каталога"}) {
        int width = 0, needed = 0;
        on_next_modal([&](QWidget* m) {
          QFont bold = m->font();
          bold.setBold(true);
          needed = QFontMetrics(bold).horizontalAdvance(m->windowTitle());
          width = m->width();
          m->close();
        });
        dlg_Ask(task, cp(title), cp("Да?"), {cp("Да"), cp("Нет")});
        QVERIFY2(needed > 0 && width >= needed + 100, qPrintable(QString("%1 < %2").arg(width).arg(needed)));
      }
    });
  }

  void messageBoxAnswers() {
    run_in_task([](Window) {
      struct Case {
        int buttons;
        QMessageBox::StandardButton press;  // NoButton: Escape
        int answer;
      };
      const Case cases[] = {
          {mb_YesNo, QMessageBox::Yes, 1},          {mb_YesNo, QMessageBox::No, 2},
          {mb_OkCancel, QMessageBox::NoButton, 2},  {mb_YesNoCancel, QMessageBox::NoButton, 3},
          {mb_RetryCancel, QMessageBox::Retry, 1},  {mb_AbortRetryIgnore, QMessageBox::Retry, 2},
          {mb_AbortRetryIgnore, QMessageBox::Ignore, 3}, {mb_Ok, QMessageBox::NoButton, 1},
      };
      for (const Case& c : cases) {
        on_next_modal([&](QWidget* m) {
          auto* box = qobject_cast<QMessageBox*>(m);
          if (c.press == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
          else
            click(box->button(c.press));
        });
        QCOMPARE(dlg_MessageBox("T", "text", mb_Question, c.buttons, 0, mb_TaskModal), c.answer);
      }

      // Yes–No has no Cancel: Escape and the close box leave it open.
      bool stayed = false;
      QString text;
      QAbstractButton* def = nullptr;
      on_next_modal([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        text = box->text();
        def = box->defaultButton();
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        QTest::qWait(20);
        stayed = box->isVisible();
        click(box->button(QMessageBox::No));
        def = def == box->button(QMessageBox::No) ? def : nullptr;
      });
      QCOMPARE(dlg_MessageBox("T", cp("В базе уже\nесть такая запись!"), mb_Information, mb_YesNo, 1, 0), 2);
      QVERIFY(stayed);
      QVERIFY(def != nullptr);  // DefaultButton 1 is the second button
      QCOMPARE(text, QString::fromUtf8("В базе уже\nесть такая запись!"));

      for (auto bad : {std::array<int, 4>{4, 0, 0, 0}, {0, 6, 0, 0}, {0, 0, 3, 0}, {0, 0, 0, 2}, {-1, 0, 0, 0}})
        QCOMPARE(caught_code([&] { dlg_MessageBox("T", "x", bad[0], bad[1], bad[2], bad[3]); }), errcode::kBadValue);

      QString note_title, error_title;
      on_next_modal([&](QWidget* m) {
        note_title = m->windowTitle();
        click(static_cast<QMessageBox*>(m)->button(QMessageBox::Ok));
      });
      dlg_Note("saved");
      on_next_modal([&](QWidget* m) {
        error_title = m->windowTitle();
        QVERIFY(static_cast<QMessageBox*>(m)->icon() == QMessageBox::Critical);
        click(static_cast<QMessageBox*>(m)->button(QMessageBox::Ok));
      });
      dlg_Error("", "failed");
      QCOMPARE(note_title, QString("Note"));
      QCOMPARE(error_title, QString("Error"));
    });
  }

  void getStrOkAndCancel() {
    run_in_task([](Window task) {
      bool all_selected = false, focused = false;
      on_next_modal([&](QWidget* m) {
        auto* edit = m->findChild<QLineEdit*>("4");
        all_selected = edit->selectedText() == QString::fromUtf8("Пушкин");
        focused = m->focusWidget() == edit;
        QTest::keyClicks(edit, "abc");  // replaces the selection
        click(button(m, "1"));
      });
      QCOMPARE(dlg_GetStr(task, "T", "Name", cp("Пушкин")), std::optional<std::string>("abc"));
      QVERIFY(all_selected);
      QVERIFY(focused);

      on_next_modal([&](QWidget* m) {
        QTest::keyClicks(m->findChild<QLineEdit*>("4"), "edited");
        click(button(m, "2"));
      });
      QCOMPARE(dlg_GetStr("T", "Name", "x"), std::optional<std::string>());
      on_next_modal([&](QWidget* m) { m->close(); });
      QCOMPARE(dlg_GetStr("T", "Name", "x"), std::optional<std::string>());

      // At most 499 characters come back.
      on_next_modal([&](QWidget* m) { QTest::keyClick(m->findChild<QLineEdit*>("4"), Qt::Key_Return); });
      QCOMPARE(dlg_GetStr("T", "Name", std::string(600, 'z'))->size(), std::size_t(499));
    });
  }

  void listSelect() {
    run_in_task([](Window) {
      const std::vector<std::string> items = {cp("Поэзия"), cp("Проза"), cp("Пьесы"), cp("Про")};
      struct Case {
        const char* typed;  // nullptr: keep the preselected entry; "" clears the line
        bool ok;
        int result, index;
        std::string chosen;
      };
      const Case cases[] = {
          {nullptr, true, 1, 1, items[1]},   // the preselected entry
          {"Про", true, 1, 3, items[3]},     // exact wins over the earlier prefix match
          {"Пь", true, 1, 2, items[2]},      // prefix
          {"Роман", true, 1, -1, ""},        // nothing
          {"", true, 1, -1, ""},             // an empty line matches nothing
          {"Проза", false, 0, 0, ""},        // Cancel, even after typing
      };
      for (const Case& c : cases) {
        QString line;
        on_next_modal([&](QWidget* m) {
          auto* combo = m->findChild<QComboBox*>("101");
          line = combo->lineEdit()->selectedText();
          if (c.typed) {
            combo->lineEdit()->clear();
            for (QChar ch : QString::fromUtf8(c.typed))
              QTest::sendKeyEvent(QTest::Click, combo->lineEdit(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
          }
          click(button(m, c.ok ? "1" : "2"));
        });
        std::string chosen = "stale";
        int index = 77;
        QCOMPARE(dlg_ListSelect("T", items, 1, chosen, index), c.result);
        QCOMPARE(index, c.index);
        QCOMPARE(chosen, c.chosen);
        QCOMPARE(line, QString::fromUtf8("Проза"));  // the preselected text, fully selected
      }
      std::string chosen;
      int index = 0;
      on_next_modal([&](QWidget* m) { m->close(); });
      QCOMPARE(dlg_ListSelect("T", items, 0, chosen, index), 0);
      QCOMPARE(index, 0);
      QCOMPARE(caught_code([&] { dlg_ListSelect("T", {}, 0, chosen, index); }), errcode::kEmptyList);
    });
  }

  void fileFilterRules() {
    using gui_detail::name_matches;
    QVERIFY(name_matches("*.bmp", "*.bmp"));
    QVERIFY(name_matches("*.bmp", "cover.bmp"));
    QVERIFY(!name_matches("*.bmp", "cover.pre"));
    QVERIFY(!name_matches("*.bmp", "a.b.bmp"));  // "*" stops at the next point
    QVERIFY(name_matches("?.txt", "a.txt"));
    QVERIFY(!name_matches("??.txt", "a.txt"));
    QVERIFY(name_matches("*.pre;*.bmp", "x.bmp"));
    QCOMPARE(gui_detail::preselected_filter({"bmp", "*.bmp", "pre", "*.pre"}, "*.pre"), std::size_t(1));
    QCOMPARE(gui_detail::preselected_filter({"bmp", "*.bmp", "pre", "*.pre"}, "*.txt"), std::size_t(0));
    QCOMPARE(gui_detail::filter_extension("*.bmp"), std::string("bmp"));
    QCOMPARE(gui_detail::filter_extension("*.bmp;*.dib"), std::string("bmp"));
    QCOMPARE(gui_detail::filter_extension("*.*"), std::string());
    QCOMPARE(gui_detail::filter_extension("*"), std::string());
    QCOMPARE(gui_detail::complete_file_name("/d.x/cover", "bmp"), std::string("/d.x/cover.bmp"));
    QCOMPARE(gui_detail::complete_file_name("/d/cover.pre", "bmp"), std::string("/d/cover.pre"));
    QCOMPARE(gui_detail::complete_file_name("/d/cover", ""), std::string("/d/cover"));
  }

  void fileNameGetsTheFilterExtension() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile(dir.filePath("old.bmp")).open(QIODevice::WriteOnly);
    const QString before = QDir::currentPath();
    run_in_task([&](Window) {
      const std::vector<std::string> filters = {"bmp", "*.bmp", "pre", "*.pre"};
      QString filter, title;
      on_next_modal([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        filter = fd->selectedNameFilter();
        title = fd->windowTitle();
        auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
        name->clear();
        QTest::keyClicks(name, "cover");
        QTest::keyClick(name, Qt::Key_Return);
      });
      std::vector<std::string> selected;
      const auto got = dlg_GetFileName("*.bmp", filters, "Pick", {}, dir.path().toStdString(), selected);
      QCOMPARE(filter, QString("bmp (*.bmp)"));
      QCOMPARE(title, QString("Pick"));
      QCOMPARE(got, std::optional<std::string>(dir.filePath("cover.bmp").toStdString()));
      QCOMPARE(selected, std::vector<std::string>{*got});

      // The second filter chosen at the end gives its extension; a name with a point keeps it.
      on_next_modal([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        fd->selectNameFilter("pre (*.pre)");
        auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
        name->setText("a");
        QTest::keyClick(name, Qt::Key_Return);
      });
      QCOMPARE(dlg_GetFileName("x.pre", filters, "", {}, dir.path().toStdString(), selected),
               std::optional<std::string>(dir.filePath("a.pre").toStdString()));
      on_next_modal([&](QWidget* m) {
        auto* name = m->findChild<QLineEdit*>("fileNameEdit");
        name->setText("old.bmp");
        QTest::keyClick(name, Qt::Key_Return);
      });
      QCOMPARE(dlg_GetFileName("", filters, "", {3, 40000}, dir.path().toStdString(), selected),
               std::optional<std::string>(dir.filePath("old.bmp").toStdString()));

      on_next_modal([&](QWidget* m) { QTest::keyClick(m, Qt::Key_Escape); });
      QVERIFY(!dlg_GetFileName("*.bmp", filters, "", {}, dir.path().toStdString(), selected));
      QVERIFY(selected.empty());
      QCOMPARE(caught_code([&] { dlg_GetFileName("", {}, "", {}, "", selected); }), errcode::kEmptyList);
      QCOMPARE(caught_code([&] { dlg_GetFileName("", {"a", "*.a", "b"}, "", {}, "", selected); }), errcode::kOddFilterList);
    });
    QCOMPARE(QDir::currentPath(), before);
  }

  // The toolkit's own texts are Russian once the layer runs: the file chooser's buttons and
  // labels, the standard buttons of a message box and a text field's context menu. The layer's
  // and the program's texts stay as given.
  void toolkitTextsAreRussian() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    run_in_task([&](Window) {
      QStringList chooser;
      on_next_modal([&](QWidget* m) {
        for (QPushButton* b : m->findChildren<QPushButton*>())
          if (b->isVisible()) chooser << b->text();
        for (QLabel* l : m->findChildren<QLabel*>())
          if (l->isVisible()) chooser << l->text();
        chooser << m->windowTitle();
        QTest::keyClick(m, Qt::Key_Escape);
      });
      std::vector<std::string> selected;
      (void)dlg_GetFileName("", {"bmp", "*.bmp"}, cp("Обложка"), {}, dir.path().toStdString(), selected);
      for (const char* text : {"&Открыть", "Отмена", "Перейти к:", "&Имя файла:", "Типы файлов:"})
        QVERIFY2(chooser.contains(QString::fromUtf8(text)), qPrintable(chooser.join('|')));
      QVERIFY(chooser.contains(QString::fromUtf8("Обложка")));

      QStringList box_buttons;
      on_next_modal([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        for (QAbstractButton* b : box->buttons()) box_buttons << b->text();
        click(box->button(QMessageBox::No));
      });
      QCOMPARE(dlg_MessageBox("T", "text", mb_Question, mb_YesNo, 0, mb_TaskModal), 2);
      box_buttons.sort();
      QCOMPARE(box_buttons, (QStringList{QString::fromUtf8("&Да"), QString::fromUtf8("&Нет")}));

      QLineEdit field;
      std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
      QStringList items;
      for (QAction* a : menu->actions())
        if (!a->isSeparator()) items << a->text().section(QLatin1Char('\t'), 0, 0);
      QVERIFY2(items.contains(QString::fromUtf8("&Копировать")) && items.contains(QString::fromUtf8("Выделить всё")),
               qPrintable(items.join('|')));
    });
  }

  void progressBoxShowsStopsAndEnds() {
    run_in_task([](Window task) {
      // The window the box belongs to goes while the work runs: the next report says stop.
      const Window w = win_Create(wk_TopLevel, {10, 10, 200, 100}, "W", no_menu{}, task, {wsf_TitleBar},
                                  recording_handler, 0);
      const Window edit = win_CreateControl(wk_Edit, {4, 4, 100, 24}, "", w, {csf_TabStop}, 5);
      win_SetFocus(edit);
      QVERIFY(wait_until([&] { return QApplication::focusWidget() == widget_of(edit); }));
      int stopped_at = 0;
      QVERIFY(!dlg_Progress("T", "X", 100, "", 0, [&](const ProgressReport& report) {
        for (int i = 1; i <= 100; ++i) {
          if (i == 50) win_Destroy(w);
          if (!report(i)) {
            stopped_at = i;
            return false;
          }
        }
        return true;
      }));
      QCOMPARE(stopped_at, 50);

      // Long work: the box shows with its text, and its button stops the work.
      QString title, text;
      on_next_modal([&](QWidget* m) {
        title = m->windowTitle();
        text = m->findChild<QLabel*>()->text();
        QPushButton* stop = m->findChild<QPushButton*>();
        QCOMPARE(stop->text(), QString::fromUtf8("Прервать"));
        click(stop);
      });
      long long reached = 0;
      const auto slow = [&](const ProgressReport& report) {
        for (reached = 1; reached <= 2000; ++reached) {
          QThread::msleep(1);
          if (!report(reached)) return false;
        }
        return true;
      };
      QVERIFY(!dlg_Progress(cp("Импорт"), cp("Чтение файла"), 2000, cp("Прервать"), 0, slow));
      QVERIFY(reached < 2000);
      QCOMPARE(title, QString::fromUtf8("Импорт"));
      QCOMPARE(text, QString::fromUtf8("Чтение файла"));
      QVERIFY(!QApplication::activeModalWidget());
      QVERIFY(wait_until([] { return QApplication::activeWindow() && QApplication::activeWindow()->inherits("QMainWindow"); }));

      // Without a cancel text, Escape and the close box do nothing: the work runs to its end.
      int escapes = 0;
      QVERIFY(dlg_Progress("T", "X", 300, "", 0, [&](const ProgressReport& report) {
        for (int i = 1; i <= 300; ++i) {
          QThread::msleep(1);
          if (QWidget* m = QApplication::activeModalWidget(); m && m->isVisible() && escapes < 3) {
            ++escapes;
            QTest::keyClick(m, Qt::Key_Escape);
            m->close();
          }
          if (!report(i)) return false;
        }
        return true;
      }));
      QVERIFY(escapes > 0);

      // Short work shows nothing.
      QVERIFY(dlg_Progress("T", "X", 10, "Stop", 5000, [](const ProgressReport& report) {
        for (int i = 1; i <= 10; ++i)
          if (!report(i) || (QApplication::activeModalWidget() && QApplication::activeModalWidget()->isVisible()))
            return false;
        return true;
      }));

    });
  }

  // The folder chooser shows folders only, offers a new folder, gives the chosen one's path and
  // leaves the current folder as it was; Cancel fails.
  void folderName() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QString::fromUtf8("Каталог/внутри")));
    const QString before = QDir::currentPath();
    run_in_task([&](Window) {
      bool dirs_only = false;
      QString title;
      on_next_modal([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        dirs_only = fd->fileMode() == QFileDialog::Directory && fd->testOption(QFileDialog::ShowDirsOnly) &&
                    !fd->testOption(QFileDialog::ReadOnly);
        title = fd->windowTitle();
        fd->findChild<QLineEdit*>("fileNameEdit")->setText(dir.filePath(QString::fromUtf8("Каталог")) + "/");
        QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
      });
      const auto got = dlg_GetFolderName(cp("Открыть каталог"), dir.path().toStdString());
      QVERIFY(dirs_only);
      QCOMPARE(title, QString::fromUtf8("Открыть каталог"));
      QCOMPARE(got, std::optional<std::string>(cp1251::from_utf8(dir.filePath(QString::fromUtf8("Каталог")).toStdString())));
      on_next_modal([&](QWidget* m) { QTest::keyClick(m, Qt::Key_Escape); });
      QVERIFY(!dlg_GetFolderName("", dir.path().toStdString()));
    });
    QCOMPARE(QDir::currentPath(), before);
  }

  void chooseFont() {
    run_in_task([](Window) {
      const Font start = font_Create(ff_Times, {fs_Bold}, 12);
      on_next_modal([&](QWidget* m) {
        auto* fd = qobject_cast<QFontDialog*>(m);
        QFont f = fd->currentFont();
        f.setItalic(true);
        fd->setCurrentFont(f);
        fd->accept();
      });
      const std::optional<Font> got = dlg_ChooseFont(start);
      QVERIFY(got.has_value());
      std::vector<int> styles;
      int size = 0;
      font_GetAttrs(*got, styles, size);
      QVERIFY(std::find(styles.begin(), styles.end(), int(fs_Italic)) != styles.end());
      QCOMPARE(font_ToBytes(*got).size(), std::size_t(64));
      on_next_modal([&](QWidget* m) { QTest::keyClick(m, Qt::Key_Escape); });
      QVERIFY(!dlg_ChooseFont(start));
    });
  }
};

QTEST_MAIN(DialogTests)
#include "dialog_tests.moc"
