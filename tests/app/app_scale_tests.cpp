// The program on a high-density screen (the suite runs with QT_SCALE_FACTOR=2): the data-entry
// dialog lays out with every control inside it and its texts unclipped, and the cover and toolbar
// pictures are enlarged without smoothing (each picture pixel a uniform 2 x 2 block).
#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>

#include "app/cover_window.h"
#include "app_test_support.h"
#include "layer_test_access.h"
#include "packages/toolbar.h"

using namespace app_test;

namespace {

using layer_test::client_of;

// The number of 2 x 2 blocks of the device pixels of `area` (logical co-ordinates of `image`,
// whose device pixel ratio is 2) whose four pixels differ: zero when the picture was enlarged
// without smoothing.
int mixed_blocks(const QImage& image, const QRect& area) {
  int mixed = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb c = image.pixel(2 * x, 2 * y);
      if (image.pixel(2 * x + 1, 2 * y) != c || image.pixel(2 * x, 2 * y + 1) != c || image.pixel(2 * x + 1, 2 * y + 1) != c)
        ++mixed;
    }
  return mixed;
}

// The text a control shows, without its mnemonic marks.
QString shown_text(QWidget* w) {
  QString t;
  if (auto* b = qobject_cast<QAbstractButton*>(w)) t = b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) t = l->text();
  return t.remove(QLatin1Char('&'));
}

}  // namespace

class AppScaleTests : public QtSuite {
  Q_OBJECT

 public:
  AppScaleTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void theDataEntryDialogAtScaleTwo() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    WorkDir wd(start_files(""));
    QStringList problems;
    int controls = 0;
    run_app([&](Window task) {
      on_next_modal([&](QWidget* d) {
        const QPixmap shot = d->grab();
        if (shot.size() != d->size() * 2 || shot.devicePixelRatio() != 2.0) problems << "not drawn at scale 2";
        for (QWidget* c : d->findChildren<QWidget*>()) {
          if (!c->isVisible() || c->isWindow() || !(qobject_cast<QAbstractButton*>(c) || qobject_cast<QLabel*>(c) ||
                                                     c->inherits("QLineEdit") || c->inherits("QComboBox")))
            continue;
          ++controls;
          const QString text = shown_text(c);
          const QRect at(c->mapTo(d, QPoint(0, 0)), c->size());
          if (!d->rect().contains(at)) problems << text + ": cut off by the dialog's edge";
          if (text.isEmpty()) continue;
          // Check boxes and radio buttons keep room for their box; a push button's caption is
          // drawn in a font of its own.
          const int box = (qobject_cast<QCheckBox*>(c) || qobject_cast<QRadioButton*>(c)) ? 16 : 0;
          const std::optional<QFont> caption = layer_test::caption_font(c);
          const QFontMetrics metrics = caption ? QFontMetrics(*caption) : c->fontMetrics();
          const int wide = metrics.horizontalAdvance(text) + box;
          if (wide > c->width()) problems << QString("%1: %2 wide in %3").arg(text).arg(wide).arg(c->width());
          if (c->fontMetrics().height() > c->height()) problems << text + ": clipped below";
        }
        click(d, "Cancel");
      });
      command(task, cmd_ВводДанных);
    });
    QVERIFY(controls > 10);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
  }

  void picturesAreEnlargedWithoutSmoothing() {
    WorkDir wd(start_files(""));
    wd.write("cover.bmp", bitmap(60, 80));
    run_app([&](Window task) {
      win_Move(task, Rect{0, 0, 800, 700});
      имяфайлаобложки.set("cover.bmp");
      const Window cover = win_обложка_Create(task);
      QVERIFY(wait_until([&] { return win_GetClientRect(cover).right == 60; }));
      QTest::qWait(100);
      const QImage picture = client_of(cover)->grab().toImage();
      QCOMPARE(picture.size(), QSize(120, 160));
      QCOMPARE(mixed_blocks(picture, QRect(0, 0, 60, 80)), 0);

      const auto bar = toolbar_GetRect(task, tb_top{});
      QVERIFY(bar.has_value());
      QWidget* client = client_of(task);
      const QImage toolbar = client->window()->grab().toImage();
      const QPoint origin = client->mapTo(client->window(), QPoint(bar->left, bar->top));
      const QRect area(origin, QSize(bar->right - bar->left, bar->bottom - bar->top));
      QVERIFY(area.width() > 100 && area.height() > 10);
      QCOMPARE(mixed_blocks(toolbar, area), 0);
      удалитьокнообложки();
    });
  }
};

QTEST_MAIN(AppScaleTests)
#include "app_scale_tests.moc"
