// The program in the user's language: under a Russian locale every text it shows is Russian (its
// menus, window titles, buttons, the help line, the About box, the run-time error box and the
// run-time error messages); under any other locale every text stands as written. The suite runs
// as a Russian user starts the program (LANG=ru_RU.UTF-8, set before the application exists);
// a row of a test may choose another locale for its run. Also the check that every text the
// program can show under a Russian locale has its Russian form.
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cstring>
#include <locale.h>

#include "layer/timer.h"
#include "runtime/run_error.h"
#include "app/session.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "packages/message_window.h"
#include "runtime/err_messages.h"
#include "runtime/err_texts.h"
#include "toolbar_state.h"

using namespace app_test;

namespace {

// The locale of the program's user while it lives: LANG as given (the suite has no LC_ALL or
// LC_MESSAGES), and the message file chosen for it as the start of the runtime chooses it.
class UserLocale {
 public:
  explicit UserLocale(const QByteArray& lang) : old_(qgetenv("LANG")) {
    qputenv("LANG", lang);
    ERR_InitMessages();
  }
  ~UserLocale() {
    qputenv("LANG", old_);
    ERR_InitMessages();
  }

 private:
  QByteArray old_;
};

QString without_mnemonic(QString text) { return text.remove('&').section('\t', 0, 0); }

// The texts of a menu's items (separators left out), without "&" and the key after a tab.
QStringList item_texts(const QMenu* menu) {
  QStringList out;
  for (const QAction* a : menu->actions())
    if (!a->isSeparator()) out << without_mnemonic(a->text());
  return out;
}

const QMenu* bar_menu(Window task, const QString& title) {
  for (const QAction* a : static_cast<QMainWindow*>(frame_of(task))->menuBar()->actions())
    if (without_mnemonic(a->text()) == title) return a->menu();
  return nullptr;
}

// A text that is English only: Latin letters and no Cyrillic ones. "OK" and "ISBN" (a book's
// number) read the same in both.
bool english_only(const QString& text) {
  static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
  static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
  const QString plain = without_mnemonic(text);
  return plain != QLatin1String("OK") && plain != QLatin1String("ISBN") && plain.contains(latin) &&
         !plain.contains(cyrillic);
}

// The texts a window shows that are English only: its title, the captions of its buttons, labels
// and group boxes, and the items of its menus (with their sub-menus).
QStringList english_texts(const QWidget* root) {
  QStringList texts{root->windowTitle()};
  for (const QAbstractButton* b : root->findChildren<QAbstractButton*>()) texts << b->text();
  for (const QLabel* l : root->findChildren<QLabel*>()) texts << l->text();
  for (const QGroupBox* g : root->findChildren<QGroupBox*>()) texts << g->title();
  QList<const QMenu*> menus;
  for (const QMenuBar* bar : root->findChildren<QMenuBar*>())
    for (const QAction* a : bar->actions()) {
      texts << a->text();
      if (a->menu()) menus << a->menu();
    }
  if (const auto* m = qobject_cast<const QMenu*>(root)) menus << m;
  while (!menus.isEmpty()) {
    const QMenu* m = menus.takeFirst();
    for (const QAction* a : m->actions()) {
      texts << a->text();
      if (a->menu()) menus << a->menu();
    }
  }
  QStringList english;
  // The window list names the windows by their titles (a folder's path, say): those are the user's.
  static const QRegularExpression window_entry(QStringLiteral("^&\\d+ "));
  for (const QString& t : texts)
    if (english_only(t) && !window_entry.match(t).hasMatch()) english << t;
  return english;
}

// Whether the program's translation gives a text of the program (cp1251, English only) its
// Russian form.
bool has_russian_form(std::string_view text) { return uix_Translate(text) != text; }
bool english_only(std::string_view text) { return english_only(qs(std::string(text))); }

// Every text of a menu table (its items and their sub-menus).
void menu_texts(std::span<const ResMenuItem> items, std::vector<std::string_view>& out) {
  for (const ResMenuItem& it : items) {
    if (!it.text.empty()) out.push_back(it.text);
    menu_texts(it.items, out);
  }
}

// A window whose handler fails with run-time error 6005 on its first timer tick: a fault of the
// program, which the run-time error box reports.
std::optional<long> failing_window_eh(Window w, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    timer_Set(w, 10);
    return 0;
  }
  if (const auto* t = std::get_if<e_timer>(&ev)) {
    timer_Kill(t->id);
    win_Destroy(w);
    RUN_Error(errcode::kCannotOpenFile);
  }
  return std::nullopt;
}

}  // namespace

class AppLanguageTests : public QtSuite {
  Q_OBJECT

 public:
  // The program as a Russian user starts it: the locale named before anything of it exists.
  static void initMain() {
    QtSuite::initMain();
    qputenv("LANG", "ru_RU.UTF-8");
  }
  AppLanguageTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // The menus, the message window's title, the help line, the About box and a run-time error
  // box of one run of the program, in the language of the row's locale.
  void theProgramSpeaksTheUsersLanguage_data() {
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<bool>("russian");
    QTest::newRow("ru_RU.UTF-8") << QByteArray("ru_RU.UTF-8") << true;
    QTest::newRow("ru") << QByteArray("ru") << true;
    QTest::newRow("C.UTF-8") << QByteArray("C.UTF-8") << false;
    QTest::newRow("en_US.UTF-8") << QByteArray("en_US.UTF-8") << false;
  }
  void theProgramSpeaksTheUsersLanguage() {
    QFETCH(QByteArray, lang);
    QFETCH(bool, russian);
    const auto ru_or = [russian](const char* ru, const char* en) { return russian ? QString::fromUtf8(ru) : QString(en); };
    UserLocale locale(lang);
    WorkDir wd(start_files(record_line(1, "Пушкин", "Онегин", "Поэзия", "Книга", 1, 1, "")));
    QString box_title, box_text, about_title, about_labels;
    run_app(
        [&](Window task) {
          // The menu bar, the window list and help.
          QStringList bar;
          for (const QAction* a : static_cast<QMainWindow*>(frame_of(task))->menuBar()->actions())
            bar << without_mnemonic(a->text());
          QVERIFY2(bar.contains(ru_or("Окно", "Window")) && bar.contains(ru_or("Справка", "Help")), qPrintable(bar.join('|')));
          if (russian) QVERIFY2(!bar.contains("Window") && !bar.contains("Help"), qPrintable(bar.join('|')));
          const QMenu* window_menu = bar_menu(task, ru_or("Окно", "Window"));
          QVERIFY(window_menu);
          const QStringList window_items = russian ? QStringList{QString::fromUtf8("Мозаикой"), QString::fromUtf8("Каскадом"),
                                                                 QString::fromUtf8("Упорядочить значки")}
                                                    : QStringList{"Tile", "Cascade", "Arrange Icons"};
          QCOMPARE(item_texts(window_menu).mid(0, 3), window_items);
          const QMenu* help_menu = bar_menu(task, ru_or("Справка", "Help"));
          QVERIFY(help_menu);
          const QStringList help_items = russian ? QStringList{QString::fromUtf8("Содержание"),
                                                               QString::fromUtf8("Справка по окну"), QString::fromUtf8("О программе")}
                                                  : QStringList{"Contents", "Local", "About"};
          QCOMPARE(item_texts(help_menu), help_items);
          // The message window.
          QVERIFY(msg_GetWin().has_value());
          QCOMPARE(frame_of(*msg_GetWin())->windowTitle(),
                   ru_or("Сообщения", "Messages"));
          // The help line's hints for the toolbar.
          const QStringList hints = help_line_texts(task);
          for (const char* en : {"New file", "Open file", "File save", "Cut to clipboard"})
            QVERIFY2(hints.contains(russian ? qs(uix_Translate(en)) : QString(en)) && hints.contains(en) != russian,
                     qPrintable(hints.join('|')));
          if (russian)
            for (const char* ru : {"Новый каталог", "Открыть каталог", "Резервная копия"})
              QVERIFY2(hints.contains(QString::fromUtf8(ru)), qPrintable(hints.join('|')));
          // A run-time error in a handler.
          on_next_modal([&](QWidget* m) {
            auto* box = qobject_cast<QMessageBox*>(m);
            QVERIFY2(box, m->metaObject()->className() + QByteArray(" ") + m->windowTitle().toUtf8());
            box_title = box->windowTitle();
            box_text = box->text();
            box->button(QMessageBox::No)->click();
          });
          win_Move(task, Rect{0, 0, 1000, 700});
          win_Create(wk_TopLevel, Rect{10, 10, 200, 100}, "x", no_menu{}, task, {wsf_TitleBar}, failing_window_eh, 0);
          QVERIFY(wait_until([&] { return !box_title.isEmpty() && !QApplication::activeModalWidget(); }));
          // The About box.
          on_next_modal([&](QWidget* d) {
            about_title = d->windowTitle();
            about_labels = label_texts(d);
            click(d, "OK");
          });
          command(task, cmd_ОПрограмме);
        },
        false);
    QCOMPARE(about_title, ru_or("О программе", "About"));
    QVERIFY2(about_labels.contains(ru_or("Версия 1.0", "Version 1.0")), qPrintable(about_labels));
    QCOMPARE(about_labels.contains("No description"), !russian);
    QCOMPARE(box_title, ru_or("Ошибка программы", "Program Error"));
    const QRegularExpression report(
        russian ? QString::fromUtf8("^Модуль:\\S+ Позиция:\\d+ Сообщение:6005 Не удаётся открыть файл\\n"
                                    "Скопировать сообщение в буфер обмена\\?$")
                : QString("^Module:\\S+ Pos:\\d+ Message:6005 The file cannot be opened\\nRegister On Clipboard\\?$"));
    QVERIFY2(report.match(box_text).hasMatch(), qPrintable(box_text));
  }

  // Under a Russian locale the windows, dialogs and menus the user meets show no English text:
  // the task window with its menus, the list window, the data-entry dialog, the About box, a
  // prompt and a list of the categories, the message window's pop-up menu and its search dialog.
  void noEnglishTextUnderARussianLocale() {
    UserLocale locale("ru_RU.UTF-8");
    WorkDir wd(start_files(record_line(1, "Пушкин", "Онегин", "Поэзия", "Книга", 1, 1, "")));
    QStringList english;
    const auto look_at_next_modal = [&english](const char* close_with) {
      on_next_modal([&english, close_with](QWidget* d) {
        english << english_texts(d);
        if (auto* box = qobject_cast<QMessageBox*>(d)) box->button(QMessageBox::Ok)->click();
        else click(d, QString::fromUtf8(close_with));
      });
    };
    run_app([&](Window task) {
      english << english_texts(frame_of(task));
      const Window lw = open_list(task);
      QVERIFY(lw != 0);
      english << english_texts(frame_of(lw));
      english << english_texts(frame_of(task));  // with the list window's menu
      const QStringList hints = help_line_texts(lw);
      QVERIFY2(hints.contains(QString::fromUtf8("Карточка")), qPrintable(hints.join('|')));
      for (const QString& hint : hints)
        if (english_only(hint)) english << hint;
      win_Destroy(lw);
      look_at_next_modal("OK");
      command(task, cmd_ОПрограмме);
      look_at_next_modal("Отмена");
      command(task, cmd_ВводДанных);
      look_at_next_modal("Отмена");
      command(task, cmd_КатегВвести);
      look_at_next_modal("Отмена");
      command(task, cmd_КатегПросмотр);
      // The message window: its pop-up menu (a right click) and its search dialog.
      const Window msg = *msg_GetWin();
      bool popup_seen = false;
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* p = QApplication::activePopupWidget()) {
          english << english_texts(p);
          popup_seen = true;
          p->close();
        }
      });
      poll.start(20);
      win_PostEvent(msg, e_mouseup{Point{5, 5}, 0, mb_Right});
      QVERIFY(wait_until([&] { return popup_seen; }));
      poll.stop();
      look_at_next_modal("Отмена");
      command(msg, msg_cmd_Search);
    });
    QVERIFY2(english.isEmpty(), qPrintable(english.join('|')));
  }

  // Every text the program can show under a Russian locale has its Russian form: the translation
  // source is complete, and the English texts of the resources, the toolbars, the runtime's report
  // words and the host's error texts are all in it (the message file's are checked with the
  // runtime: the same codes in KERNOG_RU.ERR).
  void everyEnglishTextHasItsRussianForm() {
    UserLocale locale("ru_RU.UTF-8");
    // The source: every message finished, none left over from texts that went.
    QFile ts(QStringLiteral(FOLIARKH_SOURCE_DIR "/resources/translations/foliarkh_ru.ts"));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    int messages = 0;
    QStringList unfinished;
    QString source;
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      if (xml.name() == QLatin1String("message")) ++messages;
      else if (xml.name() == QLatin1String("source")) source = xml.readElementText();
      else if (xml.name() == QLatin1String("translation")) {
        const bool marked = !xml.attributes().value("type").isEmpty();
        if (marked || xml.readElementText().isEmpty()) unfinished << source;
      }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 50);
    QVERIFY2(unfinished.isEmpty(), qPrintable(unfinished.join('|')));

    std::vector<std::string_view> texts;
    const ResourceTables& resources = res::program_resources();
    for (const ResMenu& m : resources.menus) menu_texts(m.items, texts);
    for (const ResDialog& d : resources.dialogs) {
      texts.push_back(d.caption);
      for (const ResDialogItem& it : d.items) texts.push_back(it.text);
    }
    for (const std::string_view word : ERR_ReportWords) texts.push_back(word);
    QStringList missing;
    std::vector<std::string> owned;
    // The toolbars of the task window and of a list window: tooltips and help-line texts.
    WorkDir wd(start_files(""));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      QVERIFY(lw != 0);
      for (const Window owner : {task, lw})
        for (const Window tb : win_GetChildWindows(owner)) {
          if (!toolbar_IsToolbar(tb)) continue;
          for (const toolbar_detail::ControlRecord& c : toolbar_detail::controls_of(tb))
            if (const auto* b = std::get_if<tb_ctrl>(&c.def)) {
              const toolbar_texts parts = toolbar_SplitText(b->text);
              owned.push_back(parts.tooltip);
              owned.push_back(parts.help);
            }
        }
      win_Destroy(lw);
    });
    // The host's texts of its error numbers, as the C library gives them.
    const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    for (int n = 0; n < 134; ++n) {
      const std::string text = strerror_l(n, c_locale);
      if (!text.starts_with("Unknown error")) owned.push_back(text);
    }
    freelocale(c_locale);
    for (const std::string& t : owned) texts.push_back(t);
    int english = 0;
    for (const std::string_view t : texts) {
      if (!english_only(t)) continue;
      ++english;
      if (!has_russian_form(t)) missing << qs(std::string(t));
    }
    QVERIFY(english > 150);  // the texts were found
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join('|')));
  }
};

QTEST_MAIN(AppLanguageTests)
#include "app_language_tests.moc"
