// Multi-column lists of 100,000 rows on the layer alone: opening one (made, filled, shown and
// painted), refilling it with a new row count (as a find keystroke does), drawing it again after
// the program sorted its rows, and the memory the open list takes beyond the rows' own data.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench_application.h"
#include "layer/layer.h"

namespace {

// The resident memory of the process, in bytes.
double resident_bytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Twelve columns of catalogue-like text per row, held by the "program".
struct Catalogue {
  std::vector<std::vector<std::string>> rows;
  std::vector<int> order;  // the program's row order
  explicit Catalogue(int n) {
    rows.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      rows.push_back({std::to_string(i + 1), "Author " + std::to_string(i % 977), "Title " + std::to_string(i),
                      "Prose", "Novel", std::to_string(1900 + i % 120), "Publisher " + std::to_string(i % 50),
                      "978000000" + std::to_string(1000 + i % 9000), "84(2)" + std::to_string(i % 7),
                      i % 2 ? "Yes" : "No", i % 3 ? "Hard" : "Soft", "cover" + std::to_string(i) + ".jpg"});
      order.push_back(i);
    }
  }
  CellSource source() {
    return [this](int row, int column) {
      return rows[static_cast<std::size_t>(order[static_cast<std::size_t>(row)])][static_cast<std::size_t>(column)];
    };
  }
};

std::vector<ListViewColumn> columns() {
  std::vector<ListViewColumn> c;
  for (const char* caption : {"Code", "Author", "Title", "Category", "Kind", "Year", "Publisher", "ISBN", "Shelf",
                              "Disk", "Binding", "Cover"})
    c.push_back({caption, 90, ca_Left, true});
  return c;
}

Window make_window() {
  return win_Create(wk_TopLevel, {40, 40, 1064, 740}, "bench", no_menu{}, uix_GetAttrVal(300),
                    {wsf_TitleBar, wsf_SizeBorder}, nullptr, 0);
}

Window open_list(Window top, Catalogue& data) {
  return lview_Create(top, {0, 0, 1024, 700}, "catalogue", {csf_TabStop}, 4100, columns(), data.source(),
                      static_cast<int>(data.rows.size()));
}

void BM_ListViewOpen(benchmark::State& state) {
  ensure_application();
  Catalogue data(static_cast<int>(state.range(0)));
  const Window top = make_window();
  QApplication::processEvents();
  double added = 0, open = 0;
  for (auto _ : state) {
    const double before = resident_bytes();
    const Window list = open_list(top, data);
    lview_SetSel(list, 0);
    QApplication::processEvents();  // laid out and painted
    state.PauseTiming();
    open = resident_bytes();
    added = std::max(added, open - before);  // the first opening: later ones reuse its freed memory
    if (lview_GetRowCount(list) != static_cast<int>(data.rows.size())) state.SkipWithError("rows lost");
    win_Destroy(list);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  // What the open list takes, and the whole process with it open (the rows' data included).
  state.counters["list_MB"] = added / (1024.0 * 1024.0);
  state.counters["process_MB"] = open / (1024.0 * 1024.0);
  win_Destroy(top);
  QApplication::processEvents();
}
BENCHMARK(BM_ListViewOpen)->Arg(100000)->Unit(benchmark::kMillisecond);

// A find keystroke: a new, smaller count of rows, drawn.
void BM_ListViewRefill(benchmark::State& state) {
  ensure_application();
  const int n = static_cast<int>(state.range(0));
  Catalogue data(n);
  const Window top = make_window();
  const Window list = open_list(top, data);
  QApplication::processEvents();
  int count = n;
  for (auto _ : state) {
    count = count == n ? n / 3 : n;
    lview_SetRowCount(list, count);
    QApplication::processEvents();
  }
  win_Destroy(top);
  QApplication::processEvents();
}
BENCHMARK(BM_ListViewRefill)->Arg(100000)->Unit(benchmark::kMillisecond);

// After the program reversed its row order: the list drawn again in place, selection kept.
void BM_ListViewResorted(benchmark::State& state) {
  ensure_application();
  Catalogue data(static_cast<int>(state.range(0)));
  const Window top = make_window();
  const Window list = open_list(top, data);
  lview_SetSel(list, 10);
  QApplication::processEvents();
  for (auto _ : state) {
    std::reverse(data.order.begin(), data.order.end());
    lview_Refresh(list);
    lview_SetSortIndicator(list, 1, data.order.front() == 0);
    QApplication::processEvents();
  }
  win_Destroy(top);
  QApplication::processEvents();
}
BENCHMARK(BM_ListViewResorted)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
