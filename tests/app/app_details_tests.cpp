// Scenario tests of the publication details in the data-entry dialog and of the similar-book
// question: the details entered, refused by the field named (the focus on it, nothing stored),
// shown and changed in edit mode, gone with their record; a book of the same author and title,
// or ISBN, asked about before it is added. The real program runs headless in a temporary working
// directory; the dialogs are driven as a user would.
#include <QApplication>
#include <QLabel>

#include "app/data_entry.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "core/book_details.h"

using namespace app_test;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The field that has the focus in the dialog.
QWidget* focused(Window dlg) { return frame_of(dlg)->focusWidget(); }

void set(Window dlg, int id, const char* utf8) { win_SetText(win_GetCtlHandle(dlg, id), cp(utf8)); }

// Presses OK and waits until a record more is stored and its note gone.
void store(Window dlg) {
  const std::size_t before = база_лит.count();
  счетчикпрерывтаймера.set(0);
  press(dlg, кнопка_OK);
  QVERIFY(wait_until([&] { return база_лит.count() == before + 1 && счетчикпрерывтаймера.get() == 2; }));
  QTest::qWait(50);
}

void in_entry(Window task, const std::function<void(Window)>& drive) {
  on_next_modal([drive](QWidget* d) {
    const Window dlg = window_of(d);
    drive(dlg);
    if (win_GetType(dlg) != wk_NotAWindow) press(dlg, кнопка_Cancel);
  });
  command(task, cmd_ВводДанных);
}

}  // namespace

class AppDetailsTests : public QtSuite {
  Q_OBJECT

 public:
  AppDetailsTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void detailsEnteredRefusedEditedAndDeleted() {
    WorkDir wd(start_files(kТриЗаписи));
    const std::string литература = wd.read("Литература1.pbs");
    run_app([&](Window task) {
      in_entry(task, [&](Window dlg) {
        // Each field's accessible name is its caption; the copies start at one.
        const std::pair<int, const char*> поля[] = {{ид_Год, "Год издания"},     {ид_Издательство, "Издательство"},
                                                    {ид_Место, "Место издания"}, {ид_ISBN, "ISBN"},
                                                    {ид_Шифр, "Шифр"},           {ид_Экземпляров, "Экземпляров"},
                                                    {ид_Страниц, "Страниц"},     {ид_Примечание, "Примечание"}};
        for (const auto& [id, caption] : поля) QCOMPARE(client_of(win_GetCtlHandle(dlg, id))->accessibleName(), u(caption));
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Экземпляров)), std::string("1"));
        // Each caption shows whole, left of its field.
        for (int id : {ид_НадписьГод, ид_НадписьИздательство, ид_НадписьМесто, ид_НадписьISBN, ид_НадписьШифр,
                       ид_НадписьЭкземпляров, ид_НадписьСтраниц, ид_НадписьПримечание}) {
          auto* label = qobject_cast<QLabel*>(client_of(win_GetCtlHandle(dlg, id)));
          QVERIFY(label);
          QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), qPrintable(label->text()));
          QVERIFY(label->geometry().right() < client_of(win_GetCtlHandle(dlg, id + 1))->geometry().left());
        }

        set(dlg, ид_Автор, "Гоголь");
        set(dlg, ид_Наименование, "Шинель");
        set(dlg, ид_Год, "1836");
        set(dlg, ид_Издательство, "Современник");
        set(dlg, ид_ISBN, "0-306-40615-3");  // a wrong check digit
        set(dlg, ид_Примечание, "Первая строка\nвторая");
        // Refused: the message names the field, the focus goes to it, nothing is stored.
        QString seen;
        read_next_message(seen);
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("«ISBN»")), qPrintable(seen));
        QVERIFY(wait_until([&] { return focused(dlg) == client_of(win_GetCtlHandle(dlg, ид_ISBN)); }));
        QCOMPARE(база_лит.count(), 3u);
        QVERIFY(!wd.exists("Сведения.pbs"));

        set(dlg, ид_ISBN, "0-306-40615-2");
        set(dlg, ид_Экземпляров, "1000");
        read_next_message(seen);
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("«Экземпляров»")), qPrintable(seen));
        QVERIFY(wait_until([&] { return focused(dlg) == client_of(win_GetCtlHandle(dlg, ид_Экземпляров)); }));

        set(dlg, ид_Экземпляров, "2");
        store(dlg);
      });
      QCOMPARE(qs(wd.read("Сведения.pbs")),
               qs(cp("сведения_лит(8,1836,\"Современник\",\"\",\"9780306406157\",\"\",2,0,\"Первая строка\\nвторая\")\r\n")));
      QCOMPARE(экземпляров_книги(8), 2);

      // Edit mode shows the details; a change of them alone is one step, undone whole.
      const Window lw = open_list(task);
      select_code(lw, 8);
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_ISBN)), std::string("9780306406157"));
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Страниц)), std::string());
        set(dlg, ид_Экземпляров, "5");
        press(dlg, кнопка_OK);
      });
      command(lw, cmd_КнопкаПравка);
      QCOMPARE(экземпляров_книги(8), 5);
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(экземпляров_книги(8), 2);

      // Deleting the record takes its details line.
      select_code(lw, 8);
      on_next_modal([](QWidget* d) { click(d, u("Да")); });
      command(lw, cmd_КнопкаУдалить);
      QCOMPARE(wd.read("Сведения.pbs"), std::string());
      QCOMPARE(reported(), std::vector<int>{});
    });
    // The catalogue's own file keeps its form.
    QCOMPARE(wd.read("Литература1.pbs"), литература);
  }

  void aSimilarBookIsAskedAbout() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      in_entry(task, [&](Window dlg) {
        // The same author and title in other letters: "Нет" goes back to the dialog.
        set(dlg, ид_Автор, " ПУШКИН");
        set(dlg, ид_Наименование, "онегин ");
        QString seen;
        read_next_message(seen, "Нет");
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("Такая книга уже есть: код 3, «Онегин». Добавить ещё одну запись?")), qPrintable(seen));
        QCOMPARE(база_лит.count(), 3u);
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Автор)), cp(" ПУШКИН"));
        // "Да" adds it.
        on_next_modal([](QWidget* box) { click(box, u("Да")); });
        store(dlg);
        // The exact duplicate is still refused as before, without the question.
        read_next_message(seen);
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("В базе уже")), qPrintable(seen));
        QCOMPARE(база_лит.count(), 4u);
        // The same ISBN under another name.
        set(dlg, ид_Автор, "Кто-то");
        set(dlg, ид_Наименование, "Что-то");
        set(dlg, ид_ISBN, "978-0-306-40615-7");
        store(dlg);
        set(dlg, ид_Автор, "Иной");
        set(dlg, ид_Наименование, "Иное");
        read_next_message(seen, "Нет");
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("код 9, «Что-то»")), qPrintable(seen));
        QCOMPARE(база_лит.count(), 5u);
      });
      QCOMPARE(reported(), std::vector<int>{});
    });
  }
};

QTEST_MAIN(AppDetailsTests)
#include "app_details_tests.moc"
