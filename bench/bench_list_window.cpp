// The literature list window at the scale of 100,000 records: opening it (creation, filling the
// sorted list box, the first paint) and deleting a record once the question is answered (line
// removed from the list box, record removed, catalogue saved), and undoing 100 deletions in a row
// with the window open (record back at its place, catalogue saved, line back in the list). They
// run inside the real task window, in a temporary working directory holding a generated catalogue.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <random>
#include <string>

#include "app/list_window.h"
#include "app/record_edit.h"
#include "app/session.h"
#include "app/task_window.h"
#include "app/undo_history.h"
#include "layer/layer.h"
#include "resources/ids.h"
#include "resources/program_resources.h"
#include "runtime/codepage.h"
#include "runtime/run.h"

namespace {

void ensure_application() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "foliarkh_bench";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  (void)app;
}

// A catalogue file of `n` records with Cyrillic authors and titles of realistic lengths.
std::string catalogue_text(int n) {
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

struct Catalogue {
  QTemporaryDir dir;
  QString old;
  explicit Catalogue(int n) {
    old = QDir::currentPath();
    auto write = [&](const char* name, const std::string& bytes) {
      QFile f(dir.filePath(QString::fromUtf8(name)));
      f.open(QIODevice::WriteOnly);
      f.write(bytes.data(), qint64(bytes.size()));
    };
    write("ВидЛитер.pbs", cp1251::from_utf8("виды_лит(\"Книга\")\n"));
    write("КатегЛитер.pbs", cp1251::from_utf8("категории_лит(\"Роман\")\n"));
    write("Литература1.pbs", catalogue_text(n));
    QDir::setCurrent(dir.path());
  }
  ~Catalogue() { QDir::setCurrent(old); }
};

// Runs `body` inside the program's task window on a catalogue of `n` records.
void in_program(int n, const std::function<void(Window task)>& body) {
  ensure_application();
  Catalogue cat(n);
  зарегистрировать_состояние_программы();
  RUN_ResetParts();
  QTimer::singleShot(0, [&] {
    const Window task = uix_GetTaskWin();
    body(task);
    win_Destroy(task);
  });
  uix_SetResources(res::program_resources());
  uix_SetAttrVal(xQbx_bMDI, 1);
  uix_Init({wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize, wsf_ClipSiblings}, task_win_eh,
           res_menu{меню_задачи}, "foliarkh", "Foliarkh");
}

void BM_OpenListWindow(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    for (auto _ : state) {
      const Window lw = win_просмотрсписка_Create(task);
      win_Update(lw);
      QApplication::processEvents();
      state.PauseTiming();
      win_Destroy(lw);
      QApplication::processEvents();
      state.ResumeTiming();
    }
  });
}

void BM_DeleteRecord(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    const Window lw = win_просмотрсписка_Create(task);
    const Window lb = win_GetCtlHandle(lw, ид_списка);
    int i = 0;
    for (auto _ : state) {
      state.PauseTiming();
      const int pos = (i++ * 7919) % lbox_CountAll(lb);
      const std::string line = lbox_GetItem(lb, pos);
      const ЗаписьБазы record = база_лит.по_коду(*код_строки(line)).front();
      lbox_SetSel(lb, pos, 1);
      state.ResumeTiming();
      запомнить_выделение(lw);
      обработатьответнаудаление(0, lw);
      state.PauseTiming();
      база_лит.assertz(record);  // the same size again for the next round
      lbox_Add(lb, -1, line);
      state.ResumeTiming();
    }
    win_Destroy(lw);
  });
}

// One iteration: 100 undos in a row, each of a deletion made (untimed) before them. The counters
// give the mean and the longest single undo in milliseconds.
void BM_Undo100(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    const Window lw = win_просмотрсписка_Create(task);
    const Window lb = win_GetCtlHandle(lw, ид_списка);
    double longest = 0, total = 0;
    int undos = 0;
    for (auto _ : state) {
      state.PauseTiming();
      for (int i = 0; i < 100; ++i) {
        const int pos = (i * 7919) % lbox_CountAll(lb);
        const std::string line = lbox_GetItem(lb, pos);
        lbox_Delete(lb, pos);
        удалитизосновнойбазыпосписку({line});
      }
      state.ResumeTiming();
      for (int i = 0; i < 100; ++i) {
        const auto start = std::chrono::steady_clock::now();
        отменить_изменение();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        longest = std::max(longest, ms);
        total += ms;
        ++undos;
      }
      if (база_лит.count() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("an undo did not act");
    }
    state.counters["undo_mean_ms"] = total / std::max(undos, 1);
    state.counters["undo_max_ms"] = longest;
    win_Destroy(lw);
  });
}

}  // namespace

BENCHMARK(BM_OpenListWindow)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteRecord)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Undo100)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
