// Printing and the progress box of the layer, headless: tables and cards written as PDF files
// and read back with poppler's tools, the print dialog and the preview driven as a user would,
// cancelled work, and files that cannot be written.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <cerrno>
#include <cmath>
#include <map>

#include "internal/print_table.h"
#include "layer_test_support.h"
#include "pdf_text.h"
#include "runtime/run_error.h"

using namespace layer_test;

namespace {

std::string cp_path(const QString& path) { return cp1251::from_utf8(path.toStdString()); }

// A table of `rows` rows: code, a name and a note; `long_row` gets a note of `long_words` words.
PrintTable table(std::size_t rows, std::size_t long_row = SIZE_MAX, int long_words = 0) {
  PrintTable t;
  t.title = cp("Опись");
  t.date = "01.02.2025";
  t.page_label = [](int page, int pages) {
    return cp("стр. ") + std::to_string(page) + cp(" из ") + std::to_string(pages);
  };
  t.columns = {{cp("Код"), 1, print_Right}, {cp("Имя"), 3, print_Left}, {cp("Примечание"), 4, print_Left}};
  t.row_count = rows;
  t.row = [long_row, long_words](std::size_t i, std::vector<std::string>& cells) {
    cells[0] = std::to_string(i + 1);
    cells[1] = cp("Имя") + std::to_string(i + 1) + "x";
    std::string note = cp("заметка");
    if (i == long_row)
      for (int w = 0; w < long_words; ++w) note += " w" + std::to_string(w);
    cells[2] = note;
  };
  t.progress_text = cp("Печать");
  return t;
}

PrintCard card(int n, const std::string& picture = {}) {
  PrintCard c;
  for (int line = 1; line <= 6; ++line)
    c.lines.push_back(cp("Строка:\t\t") + std::to_string(n) + "." + std::to_string(line) + " ");
  c.picture_file = picture;
  return c;
}

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// Clicks the button of the modal widget whose caption (without "&") is `text`, or the toolkit's
// translation of it (the task loads the toolkit's Russian texts).
void click(QWidget* dlg, const QString& text) {
  const QByteArray source = text.toUtf8();
  const QStringList captions{text, QCoreApplication::translate("QPlatformTheme", source.constData()).remove('&'),
                             QCoreApplication::translate("QPrintDialog", ("&" + source).constData()).remove('&')};
  for (QPushButton* b : dlg->findChildren<QPushButton*>())
    if (captions.contains(b->text().remove('&')) && b->isVisible()) {
      b->click();
      return;
    }
  QFAIL(qPrintable("no button " + text));
}

}  // namespace

class PrintTests : public QtSuite {
  Q_OBJECT

 public:
  PrintTests() : QtSuite(uix_RegisterPart) {}

 private slots:
  void tableAsPdf() {
    QTemporaryDir dir;
    const QString file = dir.filePath("опись.pdf");
    // Row 40's note wraps over many lines, row 90's is longer than a page.
    QVERIFY(print_ToPdf(table(200, 39, 300), cp_path(file)));
    const int pages = pdf::pages(file);
    QVERIFY(pages >= 4);
    QString all;
    for (int p = 1; p <= pages; ++p) {
      const QString page = pdf::text(file, p);
      QVERIFY2(page.contains(QString("стр. %1 из %2").arg(p).arg(pages)), qPrintable(page.left(200)));
      QVERIFY(page.contains("Опись") && page.contains("01.02.2025"));
      QVERIFY(page.contains("Код") && page.contains("Имя") && page.contains("Примечание"));
      all += page + ' ';
    }
    // Every row once, in order; the wrapped note whole.
    qsizetype at = 0;
    for (int i = 1; i <= 200; ++i) {
      const qsizetype found = all.indexOf(QString(" Имя%1x ").arg(i), at);
      QVERIFY2(found > at, qPrintable(QString::number(i)));
      at = found;
    }
    for (int w = 0; w < 300; ++w) QVERIFY(all.contains(QString(" w%1 ").arg(w)));

    // A row taller than a page goes on over the next pages, every word printed once.
    const QString tall = dir.filePath("tall.pdf");
    QVERIFY(print_ToPdf(table(3, 1, 3000), cp_path(tall)));
    QVERIFY(pdf::pages(tall) >= 2);
    const QString tall_text = pdf::text(tall);
    for (int w = 0; w < 3000; ++w) QVERIFY2(tall_text.count(QString(" w%1 ").arg(w)) == 1, qPrintable(QString::number(w)));
    QVERIFY(tall_text.contains("Имя3x"));
  }

  // The columns' widths: by their shares while every column gets its least width; a column held
  // at its least leaves the rest to the others by their shares; least widths too wide for the page
  // shrink together. The widths always fill the page.
  void columnWidthsKeepTheirLeast() {
    struct Case {
      std::vector<int> shares;
      std::vector<double> least;
      double width;
      std::vector<double> expected;
    };
    const std::vector<Case> cases = {
        {{1, 3, 4}, {10, 10, 10}, 800, {100, 300, 400}},           // shares alone
        {{1, 3, 4}, {150, 10, 10}, 850, {150, 300, 400}},          // the first held at its least
        {{1, 1, 8}, {200, 200, 10}, 1000, {200, 200, 600}},        // two held, the third takes the rest
        {{5, 5}, {300, 500}, 400, {150, 250}},                     // least widths shrunk together
        {{0, -2, 2}, {0, 0, 0}, 400, {100, 100, 200}},             // a share below 1 counts as 1
    };
    for (const Case& c : cases) {
      const std::vector<double> w = gui_detail::column_widths(c.shares, c.least, c.width);
      QCOMPARE(w.size(), c.expected.size());
      double sum = 0;
      for (std::size_t i = 0; i < w.size(); ++i) {
        QVERIFY2(std::abs(w[i] - c.expected[i]) < 1e-6, qPrintable(QString("%1: %2").arg(i).arg(w[i])));
        sum += w[i];
      }
      QVERIFY(std::abs(sum - c.width) < 1e-6);
    }
  }

  void cardsAsPdf() {
    QTemporaryDir dir;
    QFile::copy(":/bitmaps/2800.bmp", dir.filePath("face.bmp"));
    QFile(dir.filePath("bad.bmp")).open(QIODevice::WriteOnly);
    PrintCards cards;
    cards.title = cp("Карточки");
    cards.cards = {card(1, cp_path(dir.filePath("face.bmp"))), card(2, cp_path(dir.filePath("missing.bmp"))),
                   card(3, cp_path(dir.filePath("bad.bmp"))), card(4), card(5)};
    const QString file = dir.filePath("cards.pdf");
    QVERIFY(print_ToPdf(cards, cp_path(file)));
    QCOMPARE(pdf::pages(file), 2);  // four to a page
    const QString first = pdf::text(file, 1, true);
    for (int n = 1; n <= 4; ++n) {
      QStringList lines;
      for (int line = 1; line <= 6; ++line) lines << QString("Строка: %1.%2").arg(n).arg(line);
      QVERIFY2(first.contains(lines.join(' ')), qPrintable(first));
    }
    // A card's line keeps its label and value on one line: its tabs stop within the card.
    QVERIFY2(pdf::lines(file, 1).contains("Строка: 1.1"), qPrintable(pdf::lines(file, 1).join('|')));
    QVERIFY(!first.contains("5.1"));
    QVERIFY(pdf::text(file, 2, true).contains("Строка: 5.6"));
    QCOMPARE(pdf::images(file), 1);  // only the file that holds a picture
  }

  // A value too long for one line of the card goes on under the value, not under the label: every
  // word of it after the first line starts at or right of where the value starts.
  void aLongCardValueWrapsUnderItself() {
    QTemporaryDir dir;
    PrintCards cards;
    PrintCard c;
    std::string value;
    for (int w = 1; w <= 40; ++w) value += "w" + std::to_string(w) + " ";
    c.lines = {cp("Метка:\t\t\t") + value, cp("Ещё:\t\t\tкоротко ")};
    cards.cards = {c};
    const QString file = dir.filePath("long.pdf");
    QVERIFY(print_ToPdf(cards, cp_path(file)));
    // Each word with its left edge and its top, as pdftotext's boxes give them.
    const QString boxes = pdf::run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    std::map<QString, std::pair<double, double>> at;
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
      const auto m = it.next();
      at[m.captured(3)] = {m.captured(1).toDouble(), m.captured(2).toDouble()};
    }
    QVERIFY2(at.count("w1") && at.count("w40") && at.count(QString::fromUtf8("Метка:")), qPrintable(boxes));
    const double label_x = at[QString::fromUtf8("Метка:")].first, value_x = at["w1"].first;
    QVERIFY(value_x > label_x + 20);
    QVERIFY(at["w40"].second > at["w1"].second + 1);  // the value takes more than one line
    int below = 0;
    for (int w = 2; w <= 40; ++w) {
      const auto [x, y] = at["w" + QString::number(w)];
      if (y <= at["w1"].second + 1) continue;
      ++below;
      QVERIFY2(x >= value_x - 0.5, qPrintable(QString("w%1 at %2, the value at %3").arg(w).arg(x).arg(value_x)));
    }
    QVERIFY(below > 0);
    // The next line of the card starts under the label again.
    QVERIFY(std::abs(at[QString::fromUtf8("Ещё:")].first - label_x) < 0.5);
    QVERIFY(at[QString::fromUtf8("Ещё:")].second > at["w40"].second);
  }

  void cancelledOrFailedPdfLeavesNoFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath("old.pdf");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    bool box_seen = false;
    run_in_task([&](Window) {
      on_next_modal([&](QWidget* box) {
        box_seen = qobject_cast<QProgressDialog*>(box) != nullptr && box->windowTitle() == "Опись";
        click(box, "Cancel");
      });
      QVERIFY(!print_ToPdf(table(400000), cp_path(file)));
    });
    QVERIFY(box_seen);
    QFile back(file);
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), QByteArray("old"));
    // A folder that does not exist: the host's error, and nothing written.
    const QString nowhere = dir.filePath("no/such.pdf");
    QCOMPARE(caught_code([&] { print_ToPdf(table(3), cp_path(nowhere)); }), errcode::host(ENOENT));
    QVERIFY(!QFile::exists(nowhere));
  }

  void progressBox() {
    // Brief work shows no box; the step hears the total; the owner's end stops the work.
    int shown = 0;
    std::int64_t last = -1;
    QVERIFY(dlg_Progress("t", "x", 10, "Cancel", 500, [&](const ProgressReport& step) {
      bool going = true;
      for (int i = 0; i <= 10; ++i) going &= step(last = i);
      shown += QApplication::activeModalWidget() != nullptr;
      return going;
    }));
    QCOMPARE(last, std::int64_t(10));
    QCOMPARE(shown, 0);
    run_in_task([&](Window task) {
      bool stopped = false;
      QTimer::singleShot(700, [task] { win_Destroy(task); });
      QVERIFY(!dlg_Progress("t", "x", 100, "Cancel", 500, [&](const ProgressReport& step) {
        for (int i = 0; i < 1000; ++i) {
          if (!step(i)) return !(stopped = true);
          QTest::qSleep(5);
        }
        return true;
      }));
      QVERIFY(stopped);
    });
  }

  void printDialogToFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath("printed.pdf");
    run_in_task([&](Window) {
      on_next_modal([](QWidget* d) { click(d, "Cancel"); });
      QVERIFY(!print_ToPrinter(table(5)));
      // The print dialog's file output: written through a temporary as print_ToPdf writes.
      on_next_modal([&](QWidget* d) {
        QComboBox* printers = d->findChild<QComboBox*>("printers");
        QVERIFY(printers);
        printers->setCurrentIndex(printers->findText(QCoreApplication::translate("QPrintDialog", "Print to File (PDF)")));
        d->findChild<QLineEdit*>("filename")->setText(file);
        click(d, "Print");
      });
      QVERIFY(print_ToPrinter(table(5)));
    });
    QCOMPARE(pdf::pages(file), 1);
    QVERIFY(pdf::text(file).contains("Имя5x"));
  }

  void preview() {
    PrintCards cards;
    cards.cards = {card(1), card(2), card(3), card(4), card(5)};
    int pages = 0;
    run_in_task([&](Window) {
      on_next_modal([&](QWidget* d) {
        QPrintPreviewWidget* w = d->findChild<QPrintPreviewWidget*>();
        QVERIFY(w);
        QVERIFY(wait_until([w] { return w->pageCount() > 0; }));
        pages = w->pageCount();
        static_cast<QDialog*>(d)->reject();
      });
      QVERIFY(!print_Preview(cards));
    });
    QCOMPARE(pages, 2);
  }
};

QTEST_MAIN(PrintTests)
#include "print_tests.moc"
