// The program at the scale of its benchmarks: a generated catalogue of n records in a temporary
// working directory, and the real task window running on it (headless).
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "app/command_table.h"
#include "app/list_window.h"
#include "app/session.h"
#include "app/task_window.h"
#include "layer/layer.h"
#include "resources/ids.h"
#include "resources/program_resources.h"
#include "runtime/codepage.h"
#include "runtime/run.h"

namespace bench_program {

inline void ensure_application() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The program's own settings (the list window's view, the last catalogues) go to a folder of
    // the run, never the user's.
    static QTemporaryDir settings;
    setenv("XDG_CONFIG_HOME", settings.path().toUtf8().constData(), 1);
    static int argc = 1;
    static char name[] = "foliarkh_bench";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  (void)app;
}

// A catalogue file of `n` records with Cyrillic authors and titles of realistic lengths.
inline std::string catalogue_text(int n) {
  const char* surnames[] = {"Толстой", "Достоевский", "Чехов", "Тургенев", "Гончаров", "Лермонтов", "Салтыков-Щедрин",
                            "Островский", "Куприн", "Бунин"};
  const char* words[] = {"война", "мир", "преступление", "наказание", "отцы", "дети", "обломов", "герой", "нашего",
                         "времени", "вишнёвый", "сад", "гроза", "поединок", "тёмные", "аллеи"};
  const char* cats[] = {"Роман", "Поэзия", "Драма", "Повесть", "Рассказ"};
  std::mt19937 rnd(7);
  std::string out;
  for (int code = n; code >= 1; --code) {
    std::string title;
    for (int w = 0, k = 2 + int(rnd() % 4); w < k; ++w) title += std::string(w ? " " : "") + words[rnd() % 16];
    out += "база_лит(" + std::to_string(code) + ",\"" + surnames[rnd() % 10] + " " + "А.Б.\",\"" + title + "\",\"" +
           cats[rnd() % 5] + "\",\"Книга\"," + std::to_string(rnd() % 2) + "," + std::to_string(rnd() % 2) +
           ",\"cover" + std::to_string(code) + ".bmp\")\n";
  }
  return cp1251::from_utf8(out);
}

// "Сведения.pbs" for the records 1 to n of catalogue_text: every book with a year, a publisher
// and a place, an ISBN, a call number, copies and pages, and a note on every tenth.
inline std::string details_text(int n) {
  const char* publishers[] = {"Наука", "Художественная литература", "Современник", "Азбука", "Эксмо"};
  const char* places[] = {"Москва", "Ленинград", "С.-Петербург", "Киев", ""};
  std::string out;
  for (int code = 1; code <= n; ++code) {
    out += "сведения_лит(" + std::to_string(code) + "," + std::to_string(1900 + code % 120) + ",\"" +
           publishers[code % 5] + "\",\"" + places[code % 5] + "\",\"978" + std::to_string(1000000000 + code) +
           "\",\"84(2)" + std::to_string(code % 100) + "\"," + std::to_string(1 + code % 3) + "," +
           std::to_string(100 + code % 700) + ",\"" + (code % 10 == 0 ? "Подарок читателя." : "") + "\")\r\n";
  }
  return cp1251::from_utf8(out);
}

struct Catalogue {
  QTemporaryDir dir;
  QString old;
  explicit Catalogue(int n, bool with_details = false) {
    old = QDir::currentPath();
    auto write = [&](const char* name, const std::string& bytes) {
      QFile f(dir.filePath(QString::fromUtf8(name)));
      f.open(QIODevice::WriteOnly);
      f.write(bytes.data(), qint64(bytes.size()));
    };
    write("ВидЛитер.pbs", cp1251::from_utf8("виды_лит(\"Книга\")\n"));
    write("КатегЛитер.pbs", cp1251::from_utf8("категории_лит(\"Роман\")\n"));
    write("Литература1.pbs", catalogue_text(n));
    if (with_details) write("Сведения.pbs", details_text(n));
    QDir::setCurrent(dir.path());
  }
  ~Catalogue() { QDir::setCurrent(old); }
};

// Runs `body` inside the program's task window on the catalogue of the current folder.
inline void in_program_here(const std::function<void(Window task)>& body) {
  ensure_application();
  зарегистрировать_состояние_программы();
  RUN_ResetParts();
  QTimer::singleShot(0, [&] {
    const Window task = uix_GetTaskWin();
    body(task);
    win_Destroy(task);
  });
  uix_SetResources(res::program_resources());
  задать_команды(команды_программы());
  uix_SetAttrVal(xQbx_bMDI, 1);
  uix_Init({wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize, wsf_ClipSiblings}, task_win_eh,
           res_menu{меню_задачи}, "foliarkh", "Foliarkh");
}

// Runs `body` inside the program's task window on a catalogue of `n` records (each with its
// publication details when `with_details`).
inline void in_program(int n, const std::function<void(Window task)>& body, bool with_details = false) {
  ensure_application();
  Catalogue cat(n, with_details);
  in_program_here(body);
}

// The resident set of this process in megabytes.
inline double rss_mb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      double kb = 0;
      status >> kb;
      return kb / 1024.0;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

// Closes a window as the program's event loop finishes it: the layer hands a closed window's
// widgets to the toolkit to delete once control is back in the loop, which a benchmark running
// inside one call of the loop never gives it; they are deleted here, or every window closed would
// stay in memory (and in the resident set measured after it) until the benchmark ends.
inline void close_window(Window win) {
  win_Destroy(win);
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// One iteration: a list window opened and painted (`before` runs untimed ahead of it, `opened`
// untimed once it shows), then closed untimed.
inline void open_list_windows(benchmark::State& state, Window task, const std::function<void()>& before = {},
                              const std::function<void(Window)>& opened = {}) {
  for (auto _ : state) {
    if (before) {
      state.PauseTiming();
      before();
      state.ResumeTiming();
    }
    const Window lw = win_просмотрсписка_Create(task);
    win_Update(lw);
    QApplication::processEvents();
    state.PauseTiming();
    if (opened) opened(lw);
    close_window(lw);
    state.ResumeTiming();
  }
}

// One iteration is one keystroke in the list window's find field: a title typed word by word,
// then the field emptied (which shows the whole list again), each painted.
inline void type_in_find_field(benchmark::State& state, Window lw) {
  const std::array<std::string, 8> typed = {"в"_cps,       "во"_cps,       "вой"_cps,       "война"_cps,
                                            "война м"_cps, "война ми"_cps, "война мир"_cps, std::string()};
  const Window field = win_GetCtlHandle(lw, ид_поля_поиска);
  QApplication::processEvents();
  std::size_t i = 0;
  for (auto _ : state) {
    win_SetText(field, typed[i++ % typed.size()]);
    win_Update(lw);
    QApplication::processEvents();
  }
}

}  // namespace bench_program
