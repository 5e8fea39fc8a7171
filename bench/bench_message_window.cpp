// The message window at the card's scale: record cards (six labelled lines and a separator)
// written through the screen device into a message window that is already full, so that each
// card also pushes lines out at the top. One iteration writes 100 cards and lets the window
// repaint once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <string>

#include "bench_program.h"
#include "layer/layer.h"
#include "packages/message_window.h"
#include "resources/ids.h"
#include "resources/program_resources.h"
#include "runtime/codepage.h"
#include "runtime/console_output.h"
#include "bench_program.h"

namespace {

using bench_program::ensure_application;

std::string card_text() {
  std::string card;
  const char* lines[] = {"Код:          00042", "Автор:        Толстой Лев Николаевич",
                         "Наименование: Война и мир", "Категория:    Роман",
                         "Вид:          Художественная", "Диск:         есть, переплёт твёрдый"};
  for (const char* l : lines) card += cp1251::from_utf8(l) + "\n";
  card += "----------------------------------------\n";
  return card;
}

benchmark::State* g_state = nullptr;
std::int32_t g_limit = 100;

std::optional<long> task_handler(Window, const Event&) { return std::nullopt; }

void BM_MessageWindowAppendCard(benchmark::State& state) {
  ensure_application();
  g_state = &state;
  g_limit = static_cast<std::int32_t>(state.range(0));
  QTimer::singleShot(0, [] {
    benchmark::State& st = *g_state;
    const Window task = uix_GetTaskWin();
    msg_Create(g_limit);
    const std::string card = card_text();
    for (int i = 0; i < 20; ++i) IO_WrStrCon(card);  // full before the timing starts
    uix_ProcessPending();
    for (auto _ : st) {
      for (int i = 0; i < 100; ++i) IO_WrStrCon(card);
      uix_ProcessPending();
    }
    st.SetItemsProcessed(st.iterations() * 100);
    win_Destroy(task);
  });
  uix_SetResources(res::program_resources());
  uix_SetAttrVal(xQbx_bMDI, 1);
  uix_Init({wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize}, task_handler,
           res_menu{меню_задачи}, "bench", "Bench");
}

}  // namespace

BENCHMARK(BM_MessageWindowAppendCard)->Arg(100)->Arg(40)->Unit(benchmark::kMillisecond);
