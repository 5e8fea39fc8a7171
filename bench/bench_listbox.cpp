// Sorted list boxes: lines added one by one at the end (the list places each), as the
// literature list fills itself, newest record (highest code) first; and moving the selection
// through a full list with a repaint after each step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_application.h"
#include "layer/layer.h"

namespace {

// Lines shaped like the literature list's: a code right-aligned in five places, then columns.
std::vector<std::string> catalogue_lines(int n) {
  std::vector<std::string> out;
  out.reserve(static_cast<std::size_t>(n));
  char buf[128];
  for (int code = n; code >= 1; --code) {
    std::snprintf(buf, sizeof buf, "%5d|%20s|%-30s|%10s|%4s|%8s|%20s", code % 100000,
                  ("Author " + std::to_string(code % 977)).c_str(), ("Title " + std::to_string(code)).c_str(),
                  "Prose", "Yes", "Hard", "cover.bmp");
    out.emplace_back(buf);
  }
  return out;
}

Window make_window() {
  return win_Create(wk_TopLevel, {40, 40, 864, 640}, "bench", no_menu{}, uix_GetAttrVal(attr_ScreenWindow),
                    {wsf_TitleBar, wsf_SizeBorder}, nullptr, 0);
}

Window make_list(Window parent) {
  return win_CreateControl(wk_ListBox, {0, 0, 824, 600}, "", parent,
                           {csf_Sort, wsf_VScroll, csf_NoBorder, csf_NoIntegralHeight, csf_Group}, 10047);
}

void BM_SortedListBoxAdd(benchmark::State& state) {
  ensure_application();
  const std::vector<std::string> lines = catalogue_lines(static_cast<int>(state.range(0)));
  const Window top = make_window();
  for (auto _ : state) {
    state.PauseTiming();
    const Window list = make_list(top);
    QApplication::processEvents();
    state.ResumeTiming();
    for (const std::string& line : lines) benchmark::DoNotOptimize(lbox_Add(list, -1, line));
    QApplication::processEvents();  // the view lays out and paints the filled list
    state.PauseTiming();
    if (lbox_CountAll(list) != static_cast<int>(lines.size())) state.SkipWithError("lines lost");
    win_Destroy(list);
    QApplication::processEvents();
    state.ResumeTiming();
  }
  win_Destroy(top);
  QApplication::processEvents();
}
BENCHMARK(BM_SortedListBoxAdd)->Arg(100000)->Unit(benchmark::kMillisecond);

// One selection step in a list of 100,000 lines: select a line far away and repaint.
void BM_SortedListBoxSelect(benchmark::State& state) {
  ensure_application();
  const int n = static_cast<int>(state.range(0));
  const Window top = make_window();
  const Window list = make_list(top);
  lbox_Add(list, catalogue_lines(n));
  QApplication::processEvents();
  int i = 0;
  for (auto _ : state) {
    i = (i + 7919) % n;
    lbox_SetSel(list, i, 1);
    win_Update(list);
    QApplication::processEvents();
  }
  win_Destroy(top);
  QApplication::processEvents();
}
BENCHMARK(BM_SortedListBoxSelect)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
