// The layer and the user's desktop: files dropped on windows and controls (drag and drop events
// delivered to the widgets as the toolkit delivers them), the user's folders and the screen's
// work area.
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrl>

#include "internal/window_record.h"
#include "layer_test_support.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"

using namespace layer_test;
using gui_detail::find_record;

namespace {

const WinFlags kTopFlags = {wsf_SizeBorder, wsf_TitleBar, wsf_Close};

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

QWidget* widget_of(Window w) { return find_record(w)->client; }

// Drags `data` over `target` and, when the drag was taken, drops it at `at`. True when taken.
bool drag_and_drop(QWidget* target, const QMimeData& data, QPoint at) {
  QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &move);
  if (!move.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// Two local files (one of them with a Russian name) and a web address.
struct Dropped {
  QTemporaryDir dir;
  QMimeData data;
  std::vector<std::string> files;  // what the program is to receive
  Dropped() {
    const QString a = dir.path() + QString::fromUtf8("/Обложка.jpg"), b = dir.path() + "/cover.png";
    data.setUrls({QUrl::fromLocalFile(a), QUrl("https://example.org/cover.png"), QUrl::fromLocalFile(b)});
    data.setText(a);
    files = {RUN_FromHostPath(a.toStdString()), RUN_FromHostPath(b.toStdString())};
  }
};

std::vector<dropfiles> drops_from(Window parent, Window control) {
  std::vector<dropfiles> out;
  for (const e_control& e : events_of<e_control>(parent))
    if (e.window == control)
      if (const auto* d = std::get_if<dropfiles>(&e.info)) out.push_back(*d);
  return out;
}

// Puts the environment variable back when the test leaves.
class EnvScope {
 public:
  EnvScope(const char* name, const QByteArray& value) : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~EnvScope() { had_ ? (void)qputenv(name_, old_) : (void)qunsetenv(name_); }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

}  // namespace

class DesktopTests : public QtSuite {
  Q_OBJECT

 public:
  DesktopTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  // A window takes dropped files only once asked; the drop reaches its handler after the drag
  // is over, with the local files only; other drags are not taken.
  void filesDroppedOnAWindowReachItsHandler() {
    run_in_task([](Window task) {
      const Window w = win_Create(wk_TopLevel, {20, 20, 320, 220}, "covers", no_menu{}, task, kTopFlags, recording_handler, 0);
      Dropped d;
      QVERIFY(!win_AcceptsFiles(w));
      QVERIFY(!drag_and_drop(widget_of(w), d.data, QPoint(30, 40)));
      win_AcceptFiles(w, true);
      QVERIFY(win_AcceptsFiles(w));
      QVERIFY(widget_of(w)->acceptDrops());
      QVERIFY(drag_and_drop(widget_of(w), d.data, QPoint(30, 40)));
      QVERIFY(events_of<e_dropfiles>(w).empty());  // not while the drop is delivered
      QVERIFY(wait_until([&] { return !events_of<e_dropfiles>(w).empty(); }));
      const std::vector<e_dropfiles> got = events_of<e_dropfiles>(w);
      QCOMPARE(got.size(), std::size_t(1));
      QCOMPARE(got[0].files, d.files);
      QCOMPARE(got[0].point, (Point{30, 40}));

      QMimeData text_only;
      text_only.setText("just text");
      QVERIFY(!drag_and_drop(widget_of(w), text_only, QPoint(5, 5)));
      QMimeData web_only;
      web_only.setUrls({QUrl("https://example.org/a.png")});
      QVERIFY(!drag_and_drop(widget_of(w), web_only, QPoint(5, 5)));

      win_AcceptFiles(w, false);
      QVERIFY(!win_AcceptsFiles(w));
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QVERIFY(!widget_of(w)->acceptDrops());
      QVERIFY(!drag_and_drop(widget_of(w), d.data, QPoint(30, 40)));
      QTest::qWait(20);
      QCOMPARE(events_of<e_dropfiles>(w).size(), std::size_t(1));
      QCOMPARE(caught_code([] { win_AcceptFiles(uix_GetAttrVal(300), true); }), errcode::kWrongKind);
      QCOMPARE(caught_code([] { win_AcceptFiles(0x7777, true); }), errcode::kNotWindow);
      win_Destroy(w);
    });
  }

  // From a control the drop reaches the parent as e_control(dropfiles); a text field keeps taking
  // dropped text as its own.
  void filesDroppedOnControlsReachTheParent() {
    run_in_task([](Window task) {
      const Window w = win_Create(wk_TopLevel, {20, 20, 420, 320}, "entry", no_menu{}, task, kTopFlags, recording_handler, 0);
      const Window edit = win_CreateControl(wk_Edit, {10, 10, 200, 34}, "cover.bmp", w, {}, 10030);
      const Window list = win_CreateControl(wk_ListView, {10, 50, 400, 300}, "", w, {}, 4100);
      lview_SetColumns(list, {{"a", 100, ca_Left, true}});
      Dropped d;
      win_AcceptFiles(edit, true);
      win_AcceptFiles(list, true);
      QVERIFY(drag_and_drop(widget_of(edit), d.data, QPoint(5, 5)));
      QVERIFY(drag_and_drop(qobject_cast<QTreeView*>(widget_of(list))->viewport(), d.data, QPoint(50, 50)));
      QVERIFY(wait_until([&] { return !drops_from(w, list).empty(); }));
      QCOMPARE(drops_from(w, edit).size(), std::size_t(1));
      QCOMPARE(drops_from(w, edit)[0].files, d.files);
      QCOMPARE(drops_from(w, list)[0].files, d.files);
      QCOMPARE(win_GetText(edit), std::string("cover.bmp"));  // the field did not take the drop as text
      for (const e_control& e : events_of<e_control>(w))
        if (std::holds_alternative<dropfiles>(e.info)) QCOMPARE(e.kind, e.window == edit ? int(wk_Edit) : int(wk_ListView));

      QMimeData text_only;
      text_only.setText("typed");
      QVERIFY(drag_and_drop(widget_of(edit), text_only, QPoint(5, 5)));  // the field's own drop of text
      QCOMPARE(qobject_cast<QLineEdit*>(widget_of(edit))->text().contains("typed"), true);
      win_Destroy(w);
    });
  }

  // A dialog takes them as a window does; a window destroyed before the drop is reported hears
  // nothing.
  void dialogsAndWindowsGoneMeanwhile() {
    run_in_task([](Window task) {
      const Window dlg = win_CreateDynDialog({wdef_dialog{wk_ModelessDialog, {10, 10, 250, 130}, "Dyn", {wsf_TitleBar}, std::nullopt}},
                                             task, recording_handler, 0);
      Dropped d;
      win_AcceptFiles(dlg, true);
      QVERIFY(drag_and_drop(widget_of(dlg), d.data, QPoint(7, 9)));
      QVERIFY(wait_until([&] { return !events_of<e_dropfiles>(dlg).empty(); }));
      QCOMPARE(events_of<e_dropfiles>(dlg)[0].files, d.files);

      const Window w = win_Create(wk_TopLevel, {20, 20, 320, 220}, "gone", no_menu{}, task, kTopFlags, recording_handler, 0);
      win_AcceptFiles(w, true);
      QVERIFY(drag_and_drop(widget_of(w), d.data, QPoint(30, 40)));
      win_Destroy(w);
      QTest::qWait(30);
      QVERIFY(events_of<e_dropfiles>(w).empty());
      win_Destroy(dlg);
    });
  }

  // The user's folders, as the desktop's folder settings name them, when they exist; else home.
  void userFolders() {
    QTemporaryDir home;
    const EnvScope h("HOME", home.path().toUtf8());
    const EnvScope c("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    const std::string home_name = RUN_FromHostPath(QDir::cleanPath(home.path()).toStdString());
    QCOMPARE(uix_GetUserFolder(uf_Home), home_name);
    QCOMPARE(uix_GetUserFolder(uf_Pictures), home_name);  // no Pictures folder yet
    QCOMPARE(uix_GetUserFolder(uf_Documents), home_name);
    QVERIFY(QDir(home.path()).mkdir("Pictures"));
    QCOMPARE(uix_GetUserFolder(uf_Pictures), home_name + "/Pictures");

    // Folders named by the desktop's settings, in the desktop's language.
    QVERIFY(QDir(home.path()).mkpath(".config"));
    QFile dirs(home.path() + "/.config/user-dirs.dirs");
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_PICTURES_DIR=\"$HOME/Изображения\"\nXDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n");
    dirs.close();
    QCOMPARE(uix_GetUserFolder(uf_Pictures), home_name);  // named, but not there
    QVERIFY(QDir(home.path()).mkdir(QString::fromUtf8("Изображения")));
    QVERIFY(QDir(home.path()).mkdir(QString::fromUtf8("Документы")));
    QCOMPARE(uix_GetUserFolder(uf_Pictures), home_name + cp("/Изображения"));
    QCOMPARE(uix_GetUserFolder(uf_Documents), home_name + cp("/Документы"));
    QCOMPARE(caught_code([] { uix_GetUserFolder(3); }), errcode::kBadValue);
  }

  // The work area: the part of the window's screen that windows may take.
  void workArea() {
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    const Rect expected{avail.left(), avail.top(), avail.left() + avail.width(), avail.top() + avail.height()};
    QCOMPARE(uix_GetWorkArea(0), expected);
    QVERIFY(expected.bottom - expected.top > 0);
    run_in_task([&](Window task) {
      QCOMPARE(uix_GetWorkArea(task), expected);
      QCOMPARE(uix_GetWorkArea(uix_GetAttrVal(300)), expected);
      QCOMPARE(caught_code([] { uix_GetWorkArea(0x7777); }), errcode::kNotWindow);
    });
  }
};

QTEST_MAIN(DesktopTests)
#include "desktop_tests.moc"
