// The toolbar package through real toolbar windows on the offscreen platform: layout, the task
// window's client margins, clicks, tooltips and the help line, control values, and the drawn
// bitmaps of each button state.
#include <QCursor>
#include <QImage>
#include <QMdiArea>
#include <QMouseEvent>
#include <QWidget>

#include "internal/task_data.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "toolbar.h"
#include "toolbar_layout.h"
#include "toolbar_state.h"

using namespace layer_test;
using gui_detail::find_record;
using namespace toolbar_detail;

namespace {

}  // namespace

class ToolbarTests : public QObject {
  Q_OBJECT

 public:
  static void initMain() { qputenv("QT_QPA_PLATFORM", "offscreen"); }

 private slots:
  void init() { reset(); }
  void cleanup() {
    QCOMPARE(gui_detail::all_records().size(), std::size_t(0));
    QVERIFY(all_toolbars().empty());
  }

  void layoutOfRowsSeparatorsAndEmptyLists() {
    using M = Measured;
    const M b{M::control, 24, 24}, gap{M::gap}, row{M::row};
    // One separator leaves its room besides the gap; two in a row leave twice that room.
    Layout l = lay_out({b, gap, b, gap, gap, b}, false);
    QCOMPARE(l.rects[0], (Rect{kMargin, kMargin, kMargin + 24, kMargin + 24}));
    const int single = l.rects[2].left - l.rects[0].right;
    const int twice = l.rects[5].left - l.rects[2].right;
    QCOMPARE(single, kControlGap + kSeparator);
    QCOMPARE(twice, kControlGap + 2 * kSeparator);
    QCOMPARE(l.width, l.rects[5].right + kMargin);
    QCOMPARE(l.height, 24 + 2 * kMargin);
    // A new row starts at the margin, one row height and a row gap lower; a lower control is
    // centred in the row height of the whole list.
    l = lay_out({b, row, M{M::control, 10, 16}}, false);
    QCOMPARE(l.rects[2], (Rect{kMargin, kMargin + 24 + kRowGap + 4, kMargin + 10, kMargin + 24 + kRowGap + 20}));
    QCOMPARE(l.height, 2 * kMargin + 2 * 24 + kRowGap);
    QCOMPARE(l.width, 2 * kMargin + 24);
    // Two new rows in a row leave no empty row between.
    l = lay_out({b, row, row, b}, false);
    QCOMPARE(l.rects[3].top, kMargin + 24 + kRowGap);
    // A vertical toolbar runs top to bottom, its columns as wide as the widest control.
    l = lay_out({M{M::control, 24, 24}, gap, M{M::control, 16, 16}}, true);
    QCOMPARE(l.rects[2], (Rect{kMargin + 4, kMargin + 24 + kControlGap + kSeparator, kMargin + 20,
                               kMargin + 24 + kControlGap + kSeparator + 16}));
    QCOMPARE(l.width, 2 * kMargin + 24);
    // Nothing measured: one empty 16 x 16 cell.
    for (const std::vector<M>& nothing : {std::vector<M>{}, std::vector<M>{gap, row}}) {
      l = lay_out(nothing, false);
      QCOMPARE(l.width, 2 * kMargin + kEmptyCell);
      QCOMPARE(l.height, 2 * kMargin + kEmptyCell);
    }
  }

  void tooltipAndHelpTextsOfAControlText() {
    const toolbar_texts help = toolbar_SplitText("Help;Help");
    QCOMPARE(help.tooltip, std::string("Help"));
    QCOMPARE(help.help, std::string("Help"));
    const toolbar_texts plain = toolbar_SplitText("Open file");
    QCOMPARE(plain.tooltip, std::string());
    QCOMPARE(plain.help, std::string("Open file"));
    const toolbar_texts two = toolbar_SplitText("a;b;c");  // the first ";" divides
    QCOMPARE(two.tooltip, std::string("a"));
    QCOMPARE(two.help, std::string("b;c"));
  }
};

QTEST_MAIN(ToolbarTests)
#include "toolbar_tests.moc"
