// The dialog package: the check of edit fields and its messages, value lists, field texts, and
// real dialogs run through the package on the offscreen platform.
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>

#include "dialog_check.h"
#include "dialog_text.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "packages/dialog_package.h"
#include "packages/packages_part.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

using namespace dialog;
using namespace dialog_detail;
using layer_test::cp;
using layer_test::run_in_task;

Q_DECLARE_METATYPE(dialog::FieldValue)
Q_DECLARE_METATYPE(dialog::Prompt)

namespace {

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// The message a field shows for `text`, or "" when the text passes.
std::string message_for(const FieldValue& value, const std::string& text, const Prompt& prompt = nopr{},
                        const std::string& name = "???") {
  const auto failure = check_field_text(value, text);
  return failure ? failure_text(*failure, prompt, name) : std::string();
}

// ---- real dialogs ----

// Runs `drive` on the first visible modal widget for which `match` holds (it must close it or
// leave it to the code under test).
QTimer* when_modal(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> drive) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, match, drive] {
    QWidget* m = QApplication::activeModalWidget();
    if (!m || !m->isVisible() || !match(m)) return;
    poll->stop();
    poll->deleteLater();
    drive(m);
  });
  poll->start(20);
  return poll;
}

bool is_box(QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; }
bool is_dialog(QWidget* w) { return !is_box(w); }

// Closes the next message box, keeps its text (cp1251), then runs `then`.
QTimer* answer_box(std::string& text, std::function<void()> then = nullptr) {
  return when_modal(is_box, [&text, then](QWidget* w) {
    auto* box = static_cast<QMessageBox*>(w);
    text = cp1251::from_utf8(box->text().toStdString());
    box->accept();
    if (then) then();
  });
}

QPushButton* button(QWidget* dlg, const char* caption) {
  for (QPushButton* b : dlg->findChildren<QPushButton*>())
    if (b->text() == caption) return b;
  return nullptr;
}

QWidget* top_level_titled(const char* title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == title) return w;
  return nullptr;
}

void click(QWidget* dlg, const char* caption) {
  QPushButton* b = button(dlg, caption);
  QVERIFY(b);
  QTest::mouseClick(b, Qt::LeftButton);
}

// Puts the focus on the control `id` of the dialog and types `text` over its contents.
void type_into(QWidget* d, Window dlg, int id, const char* latin) {
  win_SetFocus(win_GetCtlHandle(dlg, id));
  QWidget* focus = d->focusWidget();
  QVERIFY(focus);
  QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(focus, Qt::Key_Delete);
  QTest::keyClicks(focus, latin);
}

// The widget of a control.
QWidget* control_widget(Window ctl) { return gui_detail::find_record(ctl)->client; }

// The dialog of the package that the program handler saw last, and what it saw.
Window g_dlg = 0;
std::vector<int> g_codes;  // event codes in order
std::function<std::optional<long>(Window, const Event&)> g_behaviour;

std::optional<long> program_eh(Window w, const Event& ev) {
  g_codes.push_back(event_code(ev));
  if (std::holds_alternative<e_create>(ev)) g_dlg = w;
  return g_behaviour ? g_behaviour(w, ev) : std::nullopt;
}

void reset_program() {
  g_dlg = 0;
  g_codes.clear();
  g_behaviour = nullptr;
}

int count_of(int code) { return static_cast<int>(std::count(g_codes.begin(), g_codes.end(), code)); }

constexpr int kDataEntry = fixture::dlg_entry;

}  // namespace

class DialogPackageTests : public QtSuite {
  Q_OBJECT

 public:
  DialogPackageTests() : QtSuite(packages_RegisterPart) {}

 private:
  void set_up() override { reset_program(); }

 private slots:
  void checkMessages_data() {
    QTest::addColumn<FieldValue>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const editint int_1_10{std::nullopt, {mandatory{}, range{1, 10}}};
    QTest::newRow("int, not a number") << FieldValue(int_1_10) << "abc" << "??? must be an integer";
    QTest::newRow("int, above range") << FieldValue(int_1_10) << "12" << "??? must be between 1 and 10. Current value 12";
    QTest::newRow("int, below range") << FieldValue(int_1_10) << "-3" << "??? must be between 1 and 10. Current value -3";
    QTest::newRow("int, in range") << FieldValue(int_1_10) << " 10 " << "";
    QTest::newRow("int, empty, mandatory") << FieldValue(int_1_10) << "" << "??? is mandatory";
    QTest::newRow("int, empty, optional") << FieldValue(editint{{}, {range{1, 10}}}) << "" << "";
    QTest::newRow("int, empty, mandatory with default")
        << FieldValue(editint{{}, {mandatory{}, default_value{7}}}) << "" << "";
    // Properties are tried in list order: the range sees the empty text first and lets it pass.
    QTest::newRow("int, range before mandatory") << FieldValue(editint{{}, {range{1, 10}, mandatory{}}}) << ""
                                                 << "??? is mandatory";
    QTest::newRow("int, no properties, junk") << FieldValue(editint{}) << "1x" << "??? must be an integer";
    QTest::newRow("int, out of 32 bits") << FieldValue(editint{}) << "2147483648" << "??? must be an integer";
    // A long that does not fit is a message, not a run-time error.
    QTest::newRow("long, out of 32 bits") << FieldValue(editlong{{}, {minimum{0}}}) << "99999999999"
                                          << "??? must be a long";
    QTest::newRow("long, minimum") << FieldValue(editlong{{}, {minimum{0}}}) << "-1"
                                   << "??? must be greater or equal than 0";
    QTest::newRow("real, maximum") << FieldValue(editreal{{}, {maximum{2.5}}}) << "3" << "??? must be less or equal than 2.5";
    QTest::newRow("real, range") << FieldValue(editreal{{}, {range{0.5, 1.25}}}) << "1.5"
                                 << "??? must be between 0.5 and 1.25. Current value 1.5";
    QTest::newRow("real, junk") << FieldValue(editreal{{}, {decimals{2}}}) << "1,5" << "??? must be an real";
    QTest::newRow("real, fill-only properties") << FieldValue(editreal{{}, {decimals{2}, upper{}}}) << "2.50" << "";
    QTest::newRow("str, too long") << FieldValue(editstr{"", {length{3}}}) << "abcd" << "??? contains more than 3 characters";
    QTest::newRow("str, at the length") << FieldValue(editstr{"", {length{3}}}) << "abc" << "";
    QTest::newRow("str, length before mandatory") << FieldValue(editstr{"", {length{3}, mandatory{}}}) << "abcd"
                                                  << "??? contains more than 3 characters";
    QTest::newRow("str, empty mandatory") << FieldValue(editstr{"", {length{3}, mandatory{}}}) << "" << "??? is mandatory";
    QTest::newRow("str, default lets empty pass") << FieldValue(editstr{"", {mandatory{}, default_value{"x"}}}) << ""
                                                  << "";
    QTest::newRow("checkbox is never checked") << FieldValue(checkbox{}) << "" << "";
  }
  void checkMessages() {
    QFETCH(FieldValue, value);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QCOMPARE(QString::fromStdString(message_for(value, text.toStdString())), message);
  }

  void promptsNameTheField() {
    const editint f{{}, {mandatory{}}};
    const std::string age = cp("Возраст");
    QCOMPARE(message_for(f, "", str_prompt{age}, age), age + " is mandatory");
    QCOMPARE(message_for(f, "x", own_prompt{cp("Введите число")}, "ignored"), cp("Введите число"));
    QCOMPARE(message_for(f, "", nopr{}), std::string("??? is mandatory"));
    // A name holding "%" is taken as it stands.
    QCOMPARE(message_for(f, "", str_prompt{"100%"}, "100%"), std::string("100% is mandatory"));
  }

  void valueListReaders() {
    const ValueList vl = {
        {5, editstr{"first", {}}},
        {6, checkbox{true}},
        {6, editstr{"second", {}}},
        {5, editstr{"shadowed", {}}},
        {7, listbutton{{"a", "b"}, 1}},
        {8, radiobuttongroup{{8, 9}, 9}},
        {10, editint{std::nullopt, {}}},
        {11, editreal{2.5, {}}},
    };
    QCOMPARE(dialog_VLGetstr(5, vl), std::string("first"));
    QCOMPARE(dialog_VLGetstr(6, vl), std::string("second"));  // the first entry of that kind
    QCOMPARE(dialog_VLGetCheck(6, vl), true);
    QCOMPARE(dialog_VLGetListButton(7, vl), (listbutton{{"a", "b"}, 1}));
    QCOMPARE(dialog_VLGetAllList(7, vl), (std::vector<std::string>{"a", "b"}));
    QCOMPARE(dialog_VLGetRadiobutton(8, vl), 9);
    QCOMPARE(dialog_VLGetint(10, vl), std::optional<std::int32_t>());
    QCOMPARE(dialog_VLGetreal(11, vl), std::optional<double>(2.5));
    // No entry with the id, or none of the asked kind: 9002.
    QCOMPARE(caught_code([&] { dialog_VLGetstr(99, vl); }), errcode::kNoValueListEntry);
    QCOMPARE(caught_code([&] { dialog_VLGetCheck(5, vl); }), errcode::kNoValueListEntry);
    QCOMPARE(caught_code([&] { dialog_VLGetlong(10, vl); }), errcode::kNoValueListEntry);
    QCOMPARE(caught_code([&] { dialog_VLGetAllList(5, vl); }), errcode::kNoValueListEntry);
    QCOMPARE(caught_code([] { dialog_VLGetstr(1, {}); }), errcode::kNoValueListEntry);
  }

  void editTexts() {
    QCOMPARE(edit_text(editreal{2.5, {decimals{2}}}), std::string("2.50"));
    QCOMPARE(edit_text(editreal{3.14159, {decimals{1}}}), std::string(" 3.1"));
    QCOMPARE(edit_text(editreal{-1234.5, {decimals{2}}}), std::string("-1234.50"));
    QCOMPARE(edit_text(editreal{0.1, {}}), std::string("0.1"));
    QCOMPARE(edit_text(editreal{1e20, {}}), std::string("1E+20"));
    QCOMPARE(edit_text(editreal{std::nullopt, {decimals{2}}}), std::string());
    QCOMPARE(edit_text(editint{-7, {}}), std::string("-7"));
    QCOMPARE(edit_text(editlong{std::nullopt, {}}), std::string());
  }

  void fieldTerms() {
    QCOMPARE(field_term({10006, editstr{"a\"b\\", {mandatory{}, length{5}, default_value{"x"}}}, nopr{}}),
             std::string("df(10006,editstr(\"a\\\"b\\\\\",[mandatory,length(5),default(\"x\")]),nopr)"));
    QCOMPARE(field_term({3, editint{4, {range{1, 10}, enable{false}}}, dlg_prompt{2}}),
             std::string("df(3,editint(i(4),[range(1,10),enable(0)]),dlg_prompt(2))"));
    QCOMPARE(value_term(radiobuttongroup{{1, 2}, 2}), std::string("radiobuttongroup([1,2],2)"));
    QCOMPARE(value_term(listbox{{"x"}, {}}), std::string("listbox([\"x\"],[])"));
    QCOMPARE(value_term(editreal{std::nullopt, {}}), std::string("editreal(void,[])"));
  }

  // ---- real dialogs through the package ----

  void fillEveryKindAndAnswerOk() {
    static const std::string author = cp("Пушкин");
    static std::string seen_at_create;
    static std::string title_at_create;
    const FieldList fields = {
        {fixture::ctl_author, editstr{author, {length{40}}}, nopr{}},
        {fixture::ctl_title, editint{42, {range{1, 100}}}, str_prompt{"Number"}},
        {fixture::ctl_disk, checkbox{true}, nopr{}},
        {fixture::ctl_category, listbutton{{"a", "b", "c"}, 2}, nopr{}},
        {fixture::ctl_file, editreal{2.5, {decimals{2}}}, nopr{}},
        {fixture::ctl_category_label, statictext{cp("Раздел")}, nopr{}},
        {fixture::ctl_binding_group, statictext{""}, nopr{}},
        {fixture::ctl_hard, radiobuttongroup{{fixture::ctl_hard, fixture::ctl_soft}, fixture::ctl_soft}, nopr{}},
        {fixture::ctl_show_cover, pushbutton{"Show"}, nopr{}},
    };
    g_behaviour = [](Window w, const Event& ev) -> std::optional<long> {
      if (!std::holds_alternative<e_create>(ev)) return std::nullopt;
      // The controls are filled before the program's handler sees e_create.
      seen_at_create = win_GetText(win_GetCtlHandle(w, fixture::ctl_author));
      title_at_create = win_GetText(w);
      // Controls the template lacks: a list box and a list edit, given to the package afterwards.
      win_CreateControl(wk_ListBox, {5, 5, 60, 60}, "", w, {csf_MultipleSel}, 500);
      win_CreateControl(wk_ListEdit, {70, 5, 140, 80}, "", w, {}, 501);
      dialog_SetFields(w, {{500, listbox{{"x", "y", "z"}, {0, 2}}, nopr{}}, {501, listedit{{"p", "q"}, "typed"}, nopr{}}});
      return 0;
    };
    Result r;
    run_in_task([&](Window task) {
      when_modal(is_dialog, [](QWidget* d) {
        QCOMPARE(win_GetText(win_GetCtlHandle(g_dlg, fixture::ctl_file)), std::string("2.50"));
        QCOMPARE(win_IsChecked(win_GetCtlHandle(g_dlg, fixture::ctl_soft)), 1);
        QCOMPARE(win_IsChecked(win_GetCtlHandle(g_dlg, fixture::ctl_hard)), 0);
        QCOMPARE(dialog_GetListButton(g_dlg, fixture::ctl_category), (listbutton{{"a", "b", "c"}, 2}));
        click(d, "&OK");
      });
      r = dialog_CreateModal(task, kDataEntry, "Title", fields, program_eh, 0);
    });
    QCOMPARE(seen_at_create, author);
    QCOMPARE(title_at_create, std::string("Title"));
    QCOMPARE(r.answer, 1);
    ValueList expected;
    for (const Field& f : fields) expected.push_back({f.ctl_id, f.value});
    expected.push_back({500, listbox{{"x", "y", "z"}, {0, 2}}});
    expected.push_back({501, listedit{{"p", "q"}, "typed"}});
    QCOMPARE(r.values.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) QVERIFY2(r.values[i] == expected[i], value_term(r.values[i].value).c_str());
    QCOMPARE(dialog_VLGetRadiobutton(fixture::ctl_hard, r.values), fixture::ctl_soft);
    QCOMPARE(dialog_VLGetint(fixture::ctl_title, r.values), std::optional<std::int32_t>(42));
    // The program's handler saw e_create first and e_destroy last; the record went with the dialog.
    QCOMPARE(g_codes.front(), event_code(e_create{}));
    QCOMPARE(g_codes.back(), event_code(e_destroy{}));
    QCOMPARE(caught_code([] { dialog_GetValues(g_dlg); }), errcode::kNoValueListEntry);
  }

  void okMessagesFocusAndSelection() {
    const FieldList fields = {
        {fixture::ctl_author, editstr{"", {mandatory{}}}, nopr{}},
        {fixture::ctl_title, editint{{}, {mandatory{}, range{1, 10}}}, dlg_prompt{fixture::ctl_title_label}},
        {fixture::ctl_file, editstr{"", {mandatory{}}}, nopr{}},  // disabled by the template: never checked
    };
    static std::vector<std::string> messages;
    static std::vector<std::string> selected;
    static std::string stray;
    stray.clear();
    messages.clear();
    selected.clear();
    auto press_ok = [](QWidget* d) {
      std::string text;
      answer_box(text);
      click(d, "&OK");
      messages.push_back(text);
      auto* edit = qobject_cast<QLineEdit*>(d->focusWidget());
      selected.push_back(edit ? cp1251::from_utf8(edit->selectedText().toStdString()) : "<no edit>");
    };
    Result r;
    run_in_task([&](Window task) {
      when_modal(is_dialog, [press_ok](QWidget* d) {
        press_ok(d);  // the author is empty: nopr names it
        type_into(d, g_dlg, fixture::ctl_author, "Gogol");
        type_into(d, g_dlg, fixture::ctl_title, "abc");
        press_ok(d);
        type_into(d, g_dlg, fixture::ctl_title, "12");
        press_ok(d);
        type_into(d, g_dlg, fixture::ctl_title, "7");
        // No box may come now; one that does is kept and the dialog cancelled.
        const QPointer<QTimer> catcher = answer_box(stray);
        const QPointer<QWidget> guard(d);
        click(d, "&OK");
        delete catcher.data();
        if (guard && guard->isVisible()) click(guard, "&Cancel");
      });
      r = dialog_CreateModal(task, kDataEntry, "", fields, program_eh, 0);
    });
    const std::string label = cp("Наименование");
    QCOMPARE(messages, (std::vector<std::string>{"??? is mandatory", label + " must be an integer",
                                                 label + " must be between 1 and 10. Current value 12"}));
    QCOMPARE(selected, (std::vector<std::string>{"", "abc", "12"}));
    QCOMPARE(stray, std::string());
    QCOMPARE(r.answer, 1);
    QCOMPARE(dialog_VLGetstr(fixture::ctl_author, r.values), std::string("Gogol"));
    QCOMPARE(dialog_VLGetint(fixture::ctl_title, r.values), std::optional<std::int32_t>(7));
    QCOMPARE(dialog_VLGetstr(fixture::ctl_file, r.values), std::string());
  }

  void programHandlerFirst() {
    // A handler that succeeds for OK keeps the dialog open and nothing is checked; one that
    // succeeds for a close request keeps it open too; Cancel then answers 2 with no values.
    static int oks = 0;
    static int closes = 0;
    static std::string stray;
    oks = closes = 0;
    stray.clear();
    g_behaviour = [](Window, const Event& ev) -> std::optional<long> {
      if (const auto* c = std::get_if<e_control>(&ev); c && c->id == 1) return ++oks, 0;
      if (std::holds_alternative<e_closerequest>(ev)) return ++closes, 0;
      return std::nullopt;
    };
    Result r{7, {{1, checkbox{}}}};
    run_in_task([&](Window task) {
      when_modal(is_dialog, [](QWidget* d) {
        const QPointer<QTimer> catcher = answer_box(stray);  // the check must not run
        click(d, "&OK");
        delete catcher.data();
        d->close();
        QVERIFY(d->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), d);  // no error box came
        click(d, "&Cancel");
      });
      r = dialog_CreateModal(task, kDataEntry, "", {{fixture::ctl_author, editstr{"", {mandatory{}}}, nopr{}}},
                             program_eh, 0);
    });
    QCOMPARE(stray, std::string());
    QCOMPARE(oks, 1);
    QCOMPARE(closes, 1);
    QCOMPARE(r.answer, 2);
    QVERIFY(r.values.empty());
  }

  void closeBoxAndDestroyGiveCancel() {
    Result by_close, by_destroy;
    run_in_task([&](Window task) {
      when_modal(is_dialog, [](QWidget* d) { d->close(); });
      by_close = dialog_CreateModal(task, kDataEntry, "", {{fixture::ctl_disk, checkbox{true}, nopr{}}}, program_eh, 0);
      // The program destroys the dialog from its OK handler: no result was recorded.
      g_behaviour = [](Window w, const Event& ev) -> std::optional<long> {
        if (const auto* c = std::get_if<e_control>(&ev); c && c->id == 1) return win_Destroy(w), 0;
        return std::nullopt;
      };
      when_modal(is_dialog, [](QWidget* d) { click(d, "&OK"); });
      by_destroy =
          dialog_CreateModal(task, kDataEntry, "", {{fixture::ctl_disk, checkbox{true}, nopr{}}}, program_eh, 0);
    });
    QCOMPARE(by_close.answer, 2);
    QVERIFY(by_close.values.empty());
    QCOMPARE(by_destroy.answer, 2);
    QVERIFY(by_destroy.values.empty());
    QCOMPARE(count_of(event_code(e_closerequest{})), 1);
  }

  void disabledFieldsAreNotChecked() {
    // Disabled by its `enable` property, and by the program through dialog_SetState.
    std::string unexpected;
    Result r;
    run_in_task([&](Window task) {
      const QPointer<QTimer> catcher = answer_box(unexpected);
      when_modal(is_dialog, [](QWidget* d) {
        dialog_SetState(g_dlg, {fixture::ctl_title}, {st_Disabled});
        const QPointer<QWidget> guard(d);
        click(d, "&OK");
        if (guard && guard->isVisible()) click(guard, "&Cancel");  // a wrong check kept it open
      });
      r = dialog_CreateModal(task, kDataEntry, "",
                             {{fixture::ctl_author, editstr{"", {mandatory{}, enable{false}}}, nopr{}},
                              {fixture::ctl_title, editint{{}, {mandatory{}}}, nopr{}}},
                             program_eh, 0);
      delete catcher.data();  // no box came: its watcher goes
    });
    QCOMPARE(unexpected, std::string());
    QCOMPARE(r.answer, 1);
    QCOMPARE(dialog_VLGetint(fixture::ctl_title, r.values), std::optional<std::int32_t>());
  }

  void noteClosedByItsTimer() {
    // The program's way of showing a note: no fields, destroyed from its own timer: answer 2.
    g_behaviour = [](Window w, const Event& ev) -> std::optional<long> {
      if (std::holds_alternative<e_create>(ev)) return timer_Set(w, 50), 0;
      if (const auto* t = std::get_if<e_timer>(&ev)) return timer_Kill(t->id), win_Destroy(w), 0;
      return std::nullopt;
    };
    Result r{1, {{1, checkbox{}}}};
    run_in_task([&](Window task) { r = dialog_CreateModal(task, fixture::dlg_note, "", {}, program_eh, 0); });
    QCOMPARE(r.answer, 2);
    QVERIFY(r.values.empty());
    QCOMPARE(count_of(event_code(e_timer{})), 1);
  }

  void creationFailureAndIllegalFields() {
    static std::string failure, variant, value, filled;
    Result missing{5, {{1, checkbox{}}}}, r;
    run_in_task([&](Window task) {
      answer_box(failure);
      missing = dialog_CreateModal(task, 4242, "", {}, program_eh, 0);
      QVERIFY(g_codes.empty());
      // A check box value on an edit control, and a radio selection outside its group: each is
      // reported, and the dialog opens with its other fields filled.
      answer_box(variant, [] {
        answer_box(value, [] {
          when_modal(is_dialog, [](QWidget* d) {
            filled = dialog_GetStr(g_dlg, fixture::ctl_title);
            click(d, "&Cancel");
          });
        });
      });
      r = dialog_CreateModal(
          task, kDataEntry, "",
          {{fixture::ctl_author, checkbox{true}, nopr{}},
           {fixture::ctl_hard, radiobuttongroup{{fixture::ctl_hard, fixture::ctl_soft}, fixture::ctl_author}, nopr{}},
           {fixture::ctl_title, editstr{"filled", {}}, nopr{}}},
          program_eh, 0);
    });
    QCOMPARE(failure, std::string("Error <dialog_Create>"));
    QCOMPARE(missing.answer, 0);
    QVERIFY(missing.values.empty());
    QCOMPARE(variant, "Illegal FIELD variant. df(" + std::to_string(fixture::ctl_author) + ",checkbox(1),nopr)");
    QCOMPARE(value, "Illegal Value! radiobuttongroup([" + std::to_string(fixture::ctl_hard) + "," +
                         std::to_string(fixture::ctl_soft) + "]," + std::to_string(fixture::ctl_author) + ")");
    QCOMPARE(filled, std::string("filled"));
    QCOMPARE(r.answer, 2);
  }

  void modelessBesideModal() {
    // Two dialogs of the package at once keep their own records.
    Window about = 0;
    Result r;
    run_in_task([&](Window task) {
      about = dialog_CreateModeless(task, fixture::dlg_about, "",
                                    {{fixture::ctl_about_line1, statictext{"first"}, nopr{}}}, program_eh, 0);
      QCOMPARE(win_GetType(about), int(wk_ModelessDialog));
      when_modal(is_dialog, [](QWidget* d) {
        dialog_SetStr(g_dlg, fixture::ctl_author, "second");
        QCOMPARE(dialog_GetStr(g_dlg, fixture::ctl_author), std::string("second"));
        QCOMPARE(caught_code([] { dialog_GetCheck(g_dlg, fixture::ctl_author); }), errcode::kNoValueListEntry);
        click(d, "&OK");
      });
      r = dialog_CreateModal(task, kDataEntry, "", {{fixture::ctl_author, editstr{"", {}}, nopr{}}}, program_eh, 0);
      QCOMPARE(dialog_GetStaticText(about, fixture::ctl_about_line1), std::string("first"));
      dialog_SetStaticText(about, fixture::ctl_about_line1, "changed");
      QCOMPARE(win_GetText(win_GetCtlHandle(about, fixture::ctl_about_line1)), std::string("changed"));
      // OK of the modeless dialog: checked, recorded and destroyed.
      QWidget* about_widget = top_level_titled("About");
      QVERIFY(about_widget);
      click(about_widget, "OK");
    });
    QCOMPARE(r.answer, 1);
    QCOMPARE(dialog_VLGetstr(fixture::ctl_author, r.values), std::string("second"));
    QCOMPARE(win_GetType(about), 0);
    QCOMPARE(caught_code([&] { dialog_GetValues(about); }), errcode::kNoValueListEntry);
  }

  // A dialog still open when a handler ends the run: the program hears of its end and the
  // package's record goes with it.
  void theEndOfTheRunTakesTheDialogsRecord() {
    Window about = 0;
    try {
      run_in_task([&](Window task) {
        about = dialog_CreateModeless(task, fixture::dlg_about, "",
                                      {{fixture::ctl_about_line1, statictext{"first"}, nopr{}}}, program_eh, 0);
        layer_test::behaviour() = [](Window, const Event& ev) -> std::optional<long> {
          if (std::holds_alternative<e_user>(ev)) RUN_Exit(0);
          return std::nullopt;
        };
        win_PostEvent(task, e_user{1, 0});
        QTest::qWait(100);
      });
    } catch (const RunExit&) {
    }
    layer_test::behaviour() = nullptr;
    QCOMPARE(count_of(event_code(e_destroy{})), 1);
    QCOMPARE(caught_code([&] { dialog_GetValues(about); }), errcode::kNoValueListEntry);
  }

  // Custom and data fields reach their controls: the dialog's custom controls hear their data as
  // their text when the dialog fills them, a custom control the user changes sets its own text,
  // and OK hands back what the controls hold then, as it does for a data field in an edit field.
  void customAndDataFieldsReachTheirControls() {
    static std::vector<std::pair<int, std::string>> heard;  // (control id, text) as the controls heard them
    heard.clear();
    class_Create(std::string(fixture::kGaugeClass), [](Window w, const Event& ev) -> std::optional<long> {
      if (const auto* s = std::get_if<e_state>(&ev))
        if (const auto* t = std::get_if<::text>(&s->item)) heard.emplace_back(win_GetCtlId(w), t->value);
      if (std::holds_alternative<e_mousedown>(ev)) {  // the user turns the gauge: its data grows by "+"
        win_SetText(w, win_GetText(w) + "+");
        return 0;
      }
      return std::nullopt;
    });
    const FieldList fields = {
        {fixture::ctl_gauge_edit, datafield{"typed"}, nopr{}},
        {fixture::ctl_gauge_dial, custom{"dial"}, nopr{}},
        {fixture::ctl_gauge_pad, datafield{"pad"}, nopr{}},
    };
    Result r;
    run_in_task([&](Window task) {
      when_modal(is_dialog, [](QWidget* d) {
        QCOMPARE(heard, (std::vector<std::pair<int, std::string>>{{fixture::ctl_gauge_dial, "dial"},
                                                                   {fixture::ctl_gauge_pad, "pad"}}));
        QCOMPARE(dialog_GetValue(g_dlg, fixture::ctl_gauge_dial), FieldValue(custom{"dial"}));
        type_into(d, g_dlg, fixture::ctl_gauge_edit, "edited");
        for (int id : {fixture::ctl_gauge_dial, fixture::ctl_gauge_pad})
          QTest::mouseClick(control_widget(win_GetCtlHandle(g_dlg, id)), Qt::LeftButton);
        QCOMPARE(dialog_GetValue(g_dlg, fixture::ctl_gauge_pad), FieldValue(datafield{"pad+"}));
        dialog_SetValues(g_dlg, {{fixture::ctl_gauge_dial, custom{"set"}}});  // an open dialog's setter reaches it too
        QCOMPARE(heard.back(), (std::pair<int, std::string>{fixture::ctl_gauge_dial, "set"}));
        QTest::mouseClick(control_widget(win_GetCtlHandle(g_dlg, fixture::ctl_gauge_dial)), Qt::LeftButton);
        click(d, "OK");
      });
      r = dialog_CreateModal(task, fixture::dlg_gauge, "", fields, program_eh, 0);
    });
    QCOMPARE(r.answer, 1);
    QCOMPARE(r.values, (ValueList{{fixture::ctl_gauge_edit, datafield{"edited"}},
                                  {fixture::ctl_gauge_dial, custom{"set+"}},
                                  {fixture::ctl_gauge_pad, datafield{"pad+"}}}));
    QCOMPARE(dialog_VLGetCustom(fixture::ctl_gauge_dial, r.values), std::string("set+"));
  }

  // A scroll-bar field puts its range and position into its control and hands back where the
  // user has moved it.
  void scrollBarFieldReachesItsControl() {
    run_in_task([](Window task) {
      const Window about = dialog_CreateModeless(task, fixture::dlg_about, "", {}, program_eh, 0);
      win_CreateControl(wk_HScroll, {5, 5, 150, 20}, "", about, {}, 502);
      dialog_SetFields(about, {{502, scrollbar{0, 50, 20}, nopr{}}});
      QWidget* dlg = top_level_titled("About");
      QVERIFY(dlg);
      auto* bar = dlg->findChild<QScrollBar*>();
      QVERIFY(bar);
      QCOMPARE((std::vector<int>{bar->minimum(), bar->maximum(), bar->value()}), (std::vector<int>{0, 50, 20}));
      bar->triggerAction(QAbstractSlider::SliderPageStepAdd);  // the user pages on
      const int moved = bar->value();
      QVERIFY(moved > 20);
      QCOMPARE(dialog_GetScrollBar(about, 502), (scrollbar{0, 50, moved}));
      dialog_SetScrollBar(about, 502, scrollbar{-10, 10, -3});
      QCOMPARE((std::vector<int>{bar->minimum(), bar->maximum(), bar->value()}), (std::vector<int>{-10, 10, -3}));
      win_Destroy(about);
    });
  }
};

QTEST_MAIN(DialogPackageTests)
#include "dialog_package_tests.moc"
