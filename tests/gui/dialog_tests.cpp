// Dialog windows and the standard dialogs, driven through the real dialogs on the offscreen
// platform: each modal dialog is found when it shows, typed into and clicked.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "internal/file_filters.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "run_error.h"

using namespace layer_test;

namespace {

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

QPushButton* button(QWidget* m, const char* id) { return m->findChild<QPushButton*>(QString::fromLatin1(id)); }

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// The buttons of a question dialog that show, in their order.
QStringList shown_buttons(QWidget* m) {
  QStringList out;
  for (QPushButton* b : m->findChildren<QPushButton*>())
    if (!b->isHidden()) out << b->objectName() + "=" + b->text();
  return out;
}

}  // namespace

class DialogTests : public QObject {
  Q_OBJECT

 public:
  static void initMain() { qputenv("QT_QPA_PLATFORM", "offscreen"); }

 private slots:
  void init() { reset(); }
  void cleanup() { QCOMPARE(gui_detail::all_records().size(), std::size_t(0)); }

  void askAnswersAndClosing() {
    run_in_task([](Window task) {
      const std::vector<std::string> two = {"&Yes", "&No"}, three = {"A", "B", "C"};
      struct Case {
        std::vector<std::string> buttons;
        const char* press;  // button id to click, or nullptr to close, "esc" for Escape
        int answer;
      };
      const Case cases[] = {
          {two, "1", 0},   {two, "2", 1},   {two, nullptr, 1},   {two, "esc", 1},
          {three, "1", 0}, {three, "3", 1}, {three, "2", 2},     {three, nullptr, 2},
          {three, "esc", 2},
      };
      for (const Case& c : cases) {
        QStringList shown;
        on_next_modal([&](QWidget* m) {
          shown = shown_buttons(m);
          if (!c.press) m->close();
          else if (QByteArray(c.press) == "esc") QTest::keyClick(m, Qt::Key_Escape);
          else click(button(m, c.press));
        });
        QCOMPARE(dlg_Ask(task, "T", "Q?", c.buttons), c.answer);
        // With three buttons the second slot is id 3 and the last is id 2.
        QCOMPARE(shown.size(), qsizetype(c.buttons.size()));
        if (c.buttons.size() == 3) QCOMPARE(shown, (QStringList{"1=A", "3=B", "2=C"}));
      }
    });
  }

  void askWithOneButtonAndBackslash() {
    run_in_task([](Window) {
      QStringList shown;
      QString question, title;
      on_next_modal([&](QWidget* m) {
        shown = shown_buttons(m);
        question = m->findChild<QLabel*>("4")->text();
        title = m->windowTitle();
        m->close();
      });
      QCOMPARE(dlg_Ask(cp("C:\\книги\\x"), {cp("Да"), "", ""}), 1);
      QCOMPARE(shown, QStringList{QString::fromUtf8("1=Да")});
      QCOMPARE(question, QString::fromUtf8("C:\\ книги\\ x"));
      QCOMPARE(title, QString());

      on_next_modal([&](QWidget* m) { click(button(m, "1")); });
      QCOMPARE(dlg_Ask("Title", "Q", {"Only"}), 0);
      QCOMPARE(caught_code([] { dlg_Ask("Q", {}); }), 6003);
      QCOMPARE(caught_code([] { dlg_Ask(Window(0x7777), "T", "Q", {"A"}); }), 6000);
    });
  }

  void messageBoxAnswers() {
    run_in_task([](Window) {
      struct Case {
        int buttons;
        QMessageBox::StandardButton press;  // NoButton: Escape
        int answer;
      };
      const Case cases[] = {
          {mb_YesNo, QMessageBox::Yes, 1},          {mb_YesNo, QMessageBox::No, 2},
          {mb_OkCancel, QMessageBox::NoButton, 2},  {mb_YesNoCancel, QMessageBox::NoButton, 3},
          {mb_RetryCancel, QMessageBox::Retry, 1},  {mb_AbortRetryIgnore, QMessageBox::Retry, 2},
          {mb_AbortRetryIgnore, QMessageBox::Ignore, 3}, {mb_Ok, QMessageBox::NoButton, 1},
      };
      for (const Case& c : cases) {
        on_next_modal([&](QWidget* m) {
          auto* box = qobject_cast<QMessageBox*>(m);
          if (c.press == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
          else
            click(box->button(c.press));
        });
        QCOMPARE(dlg_MessageBox("T", "text", mb_Question, c.buttons, 0, mb_TaskModal), c.answer);
      }

      // Yes–No has no Cancel: Escape and the close box leave it open.
      bool stayed = false;
      QString text;
      QAbstractButton* def = nullptr;
      on_next_modal([&](QWidget* m) {
        auto* box = qobject_cast<QMessageBox*>(m);
        text = box->text();
        def = box->defaultButton();
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        QTest::qWait(20);
        stayed = box->isVisible();
        click(box->button(QMessageBox::No));
        def = def == box->button(QMessageBox::No) ? def : nullptr;
      });
      QCOMPARE(dlg_MessageBox("T", cp("В базе уже\nесть такая запись!"), mb_Information, mb_YesNo, 1, 0), 2);
      QVERIFY(stayed);
      QVERIFY(def != nullptr);  // DefaultButton 1 is the second button
      QCOMPARE(text, QString::fromUtf8("В базе уже\nесть такая запись!"));

      for (auto bad : {std::array<int, 4>{4, 0, 0, 0}, {0, 6, 0, 0}, {0, 0, 3, 0}, {0, 0, 0, 2}, {-1, 0, 0, 0}})
        QCOMPARE(caught_code([&] { dlg_MessageBox("T", "x", bad[0], bad[1], bad[2], bad[3]); }), 6010);

      QString note_title, error_title;
      on_next_modal([&](QWidget* m) {
        note_title = m->windowTitle();
        click(static_cast<QMessageBox*>(m)->button(QMessageBox::Ok));
      });
      dlg_Note("saved");
      on_next_modal([&](QWidget* m) {
        error_title = m->windowTitle();
        QVERIFY(static_cast<QMessageBox*>(m)->icon() == QMessageBox::Critical);
        click(static_cast<QMessageBox*>(m)->button(QMessageBox::Ok));
      });
      dlg_Error("", "failed");
      QCOMPARE(note_title, QString("Note"));
      QCOMPARE(error_title, QString("Error"));
    });
  }

  void getStrOkAndCancel() {
    run_in_task([](Window task) {
      bool all_selected = false, focused = false;
      on_next_modal([&](QWidget* m) {
        auto* edit = m->findChild<QLineEdit*>("4");
        all_selected = edit->selectedText() == QString::fromUtf8("Пушкин");
        focused = edit->hasFocus();
        QTest::keyClicks(edit, "abc");  // replaces the selection
        click(button(m, "1"));
      });
      QCOMPARE(dlg_GetStr(task, "T", "Name", cp("Пушкин")), std::optional<std::string>("abc"));
      QVERIFY(all_selected);
      QVERIFY(focused);

      on_next_modal([&](QWidget* m) {
        QTest::keyClicks(m->findChild<QLineEdit*>("4"), "edited");
        click(button(m, "2"));
      });
      QCOMPARE(dlg_GetStr("T", "Name", "x"), std::optional<std::string>());
      on_next_modal([&](QWidget* m) { m->close(); });
      QCOMPARE(dlg_GetStr("T", "Name", "x"), std::optional<std::string>());

      // At most 499 characters come back.
      on_next_modal([&](QWidget* m) { QTest::keyClick(m->findChild<QLineEdit*>("4"), Qt::Key_Return); });
      QCOMPARE(dlg_GetStr("T", "Name", std::string(600, 'z'))->size(), std::size_t(499));
    });
  }

  void listSelect() {
    run_in_task([](Window) {
      const std::vector<std::string> items = {cp("Поэзия"), cp("Проза"), cp("Пьесы"), cp("Про")};
      struct Case {
        const char* typed;  // nullptr: keep the preselected entry; "" clears the line
        bool ok;
        int result, index;
        std::string chosen;
      };
      const Case cases[] = {
          {nullptr, true, 1, 1, items[1]},   // the preselected entry
          {"Про", true, 1, 3, items[3]},     // exact wins over the earlier prefix match
          {"Пь", true, 1, 2, items[2]},      // prefix
          {"Роман", true, 1, -1, ""},        // nothing
          {"", true, 1, -1, ""},             // an empty line matches nothing
          {"Проза", false, 0, 0, ""},        // Cancel, even after typing
      };
      for (const Case& c : cases) {
        QString line;
        on_next_modal([&](QWidget* m) {
          auto* combo = m->findChild<QComboBox*>("101");
          line = combo->lineEdit()->selectedText();
          if (c.typed) {
            combo->lineEdit()->clear();
            for (QChar ch : QString::fromUtf8(c.typed))
              QTest::sendKeyEvent(QTest::Click, combo->lineEdit(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
          }
          click(button(m, c.ok ? "1" : "2"));
        });
        std::string chosen = "stale";
        int index = 77;
        QCOMPARE(dlg_ListSelect("T", items, 1, chosen, index), c.result);
        QCOMPARE(index, c.index);
        QCOMPARE(chosen, c.chosen);
        QCOMPARE(line, QString::fromUtf8("Проза"));  // the preselected text, fully selected
      }
      std::string chosen;
      int index = 0;
      on_next_modal([&](QWidget* m) { m->close(); });
      QCOMPARE(dlg_ListSelect("T", items, 0, chosen, index), 0);
      QCOMPARE(index, 0);
      QCOMPARE(caught_code([&] { dlg_ListSelect("T", {}, 0, chosen, index); }), 6003);
    });
  }

  void fileFilterRules() {
    using gui_detail::spec_matches;
    QVERIFY(spec_matches("*.bmp", "*.bmp"));
    QVERIFY(spec_matches("*.bmp", "cover.bmp"));
    QVERIFY(!spec_matches("*.bmp", "cover.pre"));
    QVERIFY(!spec_matches("*.bmp", "a.b.bmp"));  // "*" stops at the next point
    QVERIFY(spec_matches("?.txt", "a.txt"));
    QVERIFY(!spec_matches("??.txt", "a.txt"));
    QVERIFY(spec_matches("*.pre;*.bmp", "x.bmp"));
    QCOMPARE(gui_detail::preselected_filter({"bmp", "*.bmp", "pre", "*.pre"}, "*.pre"), std::size_t(1));
    QCOMPARE(gui_detail::preselected_filter({"bmp", "*.bmp", "pre", "*.pre"}, "*.txt"), std::size_t(0));
    QCOMPARE(gui_detail::filter_extension("*.bmp"), std::string("bmp"));
    QCOMPARE(gui_detail::filter_extension("*.bmp;*.dib"), std::string("bmp"));
    QCOMPARE(gui_detail::filter_extension("*.*"), std::string());
    QCOMPARE(gui_detail::filter_extension("*"), std::string());
    QCOMPARE(gui_detail::complete_file_name("/d.x/cover", "bmp"), std::string("/d.x/cover.bmp"));
    QCOMPARE(gui_detail::complete_file_name("/d/cover.pre", "bmp"), std::string("/d/cover.pre"));
    QCOMPARE(gui_detail::complete_file_name("/d/cover", ""), std::string("/d/cover"));
  }

  void fileNameGetsTheFilterExtension() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile(dir.filePath("old.bmp")).open(QIODevice::WriteOnly);
    const QString before = QDir::currentPath();
    run_in_task([&](Window) {
      const std::vector<std::string> filters = {"bmp", "*.bmp", "pre", "*.pre"};
      QString filter, title;
      on_next_modal([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        filter = fd->selectedNameFilter();
        title = fd->windowTitle();
        auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
        name->clear();
        QTest::keyClicks(name, "cover");
        QTest::keyClick(name, Qt::Key_Return);
      });
      std::vector<std::string> selected;
      const auto got = dlg_GetFileName("*.bmp", filters, "Pick", {}, dir.path().toStdString(), selected);
      QCOMPARE(filter, QString("bmp (*.bmp)"));
      QCOMPARE(title, QString("Pick"));
      QCOMPARE(got, std::optional<std::string>(dir.filePath("cover.bmp").toStdString()));
      QCOMPARE(selected, std::vector<std::string>{*got});

      // The second filter chosen at the end gives its extension; a name with a point keeps it.
      on_next_modal([&](QWidget* m) {
        auto* fd = qobject_cast<QFileDialog*>(m);
        fd->selectNameFilter("pre (*.pre)");
        auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
        name->setText("a");
        QTest::keyClick(name, Qt::Key_Return);
      });
      QCOMPARE(dlg_GetFileName("x.pre", filters, "", {}, dir.path().toStdString(), selected),
               std::optional<std::string>(dir.filePath("a.pre").toStdString()));
      on_next_modal([&](QWidget* m) {
        auto* name = m->findChild<QLineEdit*>("fileNameEdit");
        name->setText("old.bmp");
        QTest::keyClick(name, Qt::Key_Return);
      });
      QCOMPARE(dlg_GetFileName("", filters, "", {3, 40000}, dir.path().toStdString(), selected),
               std::optional<std::string>(dir.filePath("old.bmp").toStdString()));

      on_next_modal([&](QWidget* m) { QTest::keyClick(m, Qt::Key_Escape); });
      QVERIFY(!dlg_GetFileName("*.bmp", filters, "", {}, dir.path().toStdString(), selected));
      QVERIFY(selected.empty());
      QCOMPARE(caught_code([&] { dlg_GetFileName("", {}, "", {}, "", selected); }), 6003);
      QCOMPARE(caught_code([&] { dlg_GetFileName("", {"a", "*.a", "b"}, "", {}, "", selected); }), 6200);
    });
    QCOMPARE(QDir::currentPath(), before);
  }

  void chooseFont() {
    run_in_task([](Window) {
      const Font start = font_Create(ff_Times, {fs_Bold}, 12);
      on_next_modal([&](QWidget* m) {
        auto* fd = qobject_cast<QFontDialog*>(m);
        QFont f = fd->currentFont();
        f.setItalic(true);
        fd->setCurrentFont(f);
        fd->accept();
      });
      const std::optional<Font> got = dlg_ChooseFont(start);
      QVERIFY(got.has_value());
      std::vector<int> styles;
      int size = 0;
      font_GetAttrs(*got, styles, size);
      QVERIFY(std::find(styles.begin(), styles.end(), int(fs_Italic)) != styles.end());
      QCOMPARE(font_ToBytes(*got).size(), std::size_t(64));
      on_next_modal([&](QWidget* m) { QTest::keyClick(m, Qt::Key_Escape); });
      QVERIFY(!dlg_ChooseFont(start));
    });
  }
};

QTEST_MAIN(DialogTests)
#include "dialog_tests.moc"
