// Helpers for the catalogue's scenario tests: a temporary working directory made from fixture
// files, a run of the real program's task window in it, reading the files back, and driving the
// modal dialogs and prompts as a user would.
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/list_window.h"
#include "app/session.h"
#include "app/task_window.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/record_codes.h"
#include "layer/layer.h"
#include "qt_suite.h"
#include "resources/ids.h"
#include "resources/program_resources.h"
#include "runtime/codepage.h"
#include "runtime/run.h"

namespace app_test {

// A UTF-8 text of the test as the program's cp1251 string, and back.
inline std::string cp(const char* utf8) { return cp1251::from_utf8(utf8); }
inline std::string cp(const std::string& utf8) { return cp1251::from_utf8(utf8); }
inline QString qs(const std::string& cp1251_text) { return QString::fromStdString(cp1251::to_utf8(cp1251_text)); }

// A catalogue line of the fact file.
inline std::string record_line(int code, const char* author, const char* title, const char* category,
                               const char* kind, int disk, int binding, const char* cover) {
  return cp(std::string("база_лит(") + std::to_string(code) + ",\"" + author + "\",\"" + title + "\",\"" + category +
            "\",\"" + kind + "\"," + std::to_string(disk) + "," + std::to_string(binding) + ",\"" + cover +
            "\")\r\n");
}
inline std::string category_lines(std::initializer_list<const char*> cats) {
  std::string out;
  for (const char* c : cats) out += cp(std::string("категории_лит(\"") + c + "\")\r\n");
  return out;
}
inline std::string kind_lines(std::initializer_list<const char*> kinds) {
  std::string out;
  for (const char* k : kinds) out += cp(std::string("виды_лит(\"") + k + "\")\r\n");
  return out;
}

// A fresh working directory holding `files` (UTF-8 name -> cp1251 bytes), current while it lives;
// made in the folder `inside` when one is given (a SmallDisk's, say).
class WorkDir {
 public:
  explicit WorkDir(const std::map<std::string, std::string>& files, const QString& inside = QString())
      : dir_(inside.isEmpty() ? QDir::tempPath() + "/" + QCoreApplication::applicationName() + "-XXXXXX"
                              : inside + "/work-XXXXXX") {
    old_ = QDir::currentPath();
    for (const auto& [name, bytes] : files) write(name, bytes);
    QDir::setCurrent(dir_.path());
  }
  ~WorkDir() { QDir::setCurrent(old_); }
  QString path(const std::string& utf8_name) const { return dir_.filePath(QString::fromStdString(utf8_name)); }
  void write(const std::string& utf8_name, const std::string& bytes) const {
    QFile f(path(utf8_name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  // The file's bytes; "<missing>" when there is none.
  std::string read(const std::string& utf8_name) const {
    QFile f(path(utf8_name));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
  }
  bool exists(const std::string& utf8_name) const { return QFile::exists(path(utf8_name)); }
  QString dir() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString old_;
};

// A small memory disk mounted on a folder of its own and seen by this process alone (the process
// takes a mount namespace of its own the first time): filled up or made read-only on request, as a
// user's disk can be. Not mounted where the host does not allow it; a test then skips.
class SmallDisk {
 public:
  explicit SmallDisk(const char* size = "1m") {
    static const bool own_namespace =
        ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    const std::string options = std::string("size=") + size;
    mounted_ = own_namespace && dir_.isValid() &&
               ::mount("tmpfs", host().c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(host().c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  QString path() const { return dir_.path(); }

  // Takes every free block with a filler file; true when the disk is then full.
  bool fill() const {
    const int fd = ::open((host() + "/filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    static const std::string block(4096, 'f');
    ssize_t n = 0;
    while ((n = ::write(fd, block.data(), block.size())) > 0) {}
    while (n >= 0 && (n = ::write(fd, block.data(), 1)) > 0) {}  // the last bytes of a block
    const bool full = n < 0 && errno == ENOSPC;
    ::close(fd);
    return full;
  }
  // Gives the filler's blocks back.
  void free_space() const { ::unlink((host() + "/filler").c_str()); }
  // Makes the disk read-only, or writable again; true when done.
  bool set_read_only(bool read_only) const {
    return ::mount(nullptr, host().c_str(), nullptr, MS_REMOUNT | (read_only ? MS_RDONLY : 0), nullptr) == 0;
  }

 private:
  std::string host() const { return dir_.path().toStdString(); }

  QTemporaryDir dir_;
  bool mounted_ = false;
};

// A 24-bit bitmap file of w x h pixels, its bytes a pattern of sharp colour steps.
inline std::string bitmap(int w, int h) {
  const int row = (w * 3 + 3) & ~3;
  std::string b(54 + row * h, '\0');
  auto put32 = [&](int at, std::uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<std::uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  b[26] = 1;
  b[28] = 24;
  for (int i = 54; i < int(b.size()); ++i) b[i] = char(i * 7);
  return b;
}

// The standard three start files.
inline std::map<std::string, std::string> start_files(const std::string& catalogue,
                                                      const std::string& categories = category_lines({"Поэзия", "Проза"}),
                                                      const std::string& kinds = kind_lines({"Книга", "Журнал"})) {
  return {{"ВидЛитер.pbs", kinds}, {"КатегЛитер.pbs", categories}, {"Литература1.pbs", catalogue}};
}

// Run-time errors reported while the program runs (the error handler of the layer records them).
inline std::vector<int>& reported() {
  static std::vector<int> codes;
  return codes;
}
inline void record_error(int code) { reported().push_back(code); }

// The tests' own configuration folder, for the whole process: no run here reads or changes the
// user's list of the last catalogues (the program's own processes started by a test inherit it).
inline QString test_config_folder() {
  static QTemporaryDir dir;
  static const bool set = qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
  (void)set;
  return dir.path();
}
[[maybe_unused]] inline const QString kTestConfigFolder = test_config_folder();

// Starts the program in the current directory as a new process would (its state reset, then its
// goal); `body` runs once the task window's loop runs and no box of the start is open, and the task window is closed afterwards
// if the body left it open. With `command_line`, the run starts as the process entry starts it
// after taking that command line (the catalogue folder chosen, a first start asked).
inline void run_app(const std::function<void(Window task)>& body, bool record_errors = true,
                    std::optional<ЗапускПрограммы> command_line = std::nullopt) {
  RUN_ResetParts();
  сеанс().запуск = std::move(command_line);
  reported().clear();
  uix_SetErrorHandler(record_errors ? record_error : nullptr);
  QTimer start;
  start.setSingleShot(true);
  QObject::connect(&start, &QTimer::timeout, [body, &start] {
    const Window task = uix_GetTaskWin();
    // A first-start question runs before the task window, a message of the start (a start file
    // that cannot be read) while it is made, before it shows: the body waits for the task window
    // shown with no box open.
    bool shown = false;
    for (QWidget* w : QApplication::topLevelWidgets()) shown = shown || (w->isVisible() && w->inherits("QMainWindow"));
    if (task == 0 || !shown || QApplication::activeModalWidget()) {
      start.start(20);
      return;
    }
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->inherits("QMainWindow")) {
        w->activateWindow();
        (void)QTest::qWaitForWindowExposed(w);
      }
    try {
      body(task);
    } catch (const std::exception& e) {
      QTest::qFail(e.what(), __FILE__, __LINE__);
    }
    if (win_GetType(task) == wk_Task) win_Destroy(task);
  });
  start.start(0);
  KERNOG_Goal();
  uix_SetErrorHandler(nullptr);
}

inline bool wait_until(const std::function<bool()>& pred, int ms = 3000) { return QTest::qWaitFor(pred, ms); }

// The program's main window active again, as after a click on it (a closed dialog leaves no
// window active on the headless platform).
inline void activate_program() {
  // The wait runs events, which may delete other top-level widgets: they are held by guards.
  QList<QPointer<QWidget>> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) windows << w;
  for (const QPointer<QWidget>& w : windows)
    if (w && w->isVisible() && w->inherits("QMainWindow")) {
      w->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(w));
    }
}

// Runs `drive` on the next modal widget that shows (it must close it). Several can be queued:
// each waits for a modal widget that did not exist when it was queued, so a dialog that is modal
// again for a moment once a box on it closes (the data-entry dialog, say) is never taken for the
// box that comes next.
inline void on_next_modal(std::function<void(QWidget*)> drive) {
  auto* poll = new QTimer;
  // Guarded: a box deleted once closed may leave its address to the next box, which is new.
  std::vector<QPointer<QWidget>> before;
  for (QWidget* w : QApplication::topLevelWidgets()) before.emplace_back(w);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, drive, before] {
    QWidget* m = QApplication::activeModalWidget();
    if (!m || !m->isVisible()) return;
    for (const QPointer<QWidget>& w : before)
      if (w.data() == m) return;
    poll->stop();
    poll->deleteLater();
    drive(m);
  });
  poll->start(20);
}

// The button of a dialog whose caption (without "&") is `text`.
inline QAbstractButton* button(QWidget* dlg, const QString& text) {
  for (QAbstractButton* b : dlg->findChildren<QAbstractButton*>())
    if (b->text().remove('&') == QString(text).remove('&')) return b;
  return nullptr;
}
inline void click(QWidget* dlg, const QString& text) {
  QAbstractButton* b = button(dlg, text);
  if (!b) {
    QTest::qFail(qPrintable("no button " + text + " in " + dlg->windowTitle()), __FILE__, __LINE__);
    return;
  }
  b->click();
}
// Answers the next text prompt with `text` (UTF-8).
inline void answer_prompt(const char* text) {
  on_next_modal([t = QString::fromUtf8(text)](QWidget* d) {
    if (QLineEdit* e = d->findChild<QLineEdit*>()) e->setText(t);
    click(d, "OK");
  });
}
// The visible texts of the dialog's labels, joined by "|".
inline QString label_texts(QWidget* dlg) {
  QStringList out;
  for (QLabel* l : dlg->findChildren<QLabel*>())
    if (!l->text().isEmpty()) out << l->text();
  return out.join('|');
}
// Closes the next modal box with its button `button` (UTF-8, OK by default); the texts of its
// labels go to `text`, which must outlive the box.
inline void read_next_message(QString& text, const char* button = "OK") {
  on_next_modal([&text, b = QString::fromUtf8(button)](QWidget* box) {
    text = label_texts(box);
    click(box, b);
  });
}

// Sends a command as the menu, an accelerator or the toolbar would.
// The bytes of a file; "<missing>" when it cannot be read.
inline std::string bytes_of(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<missing>";
  const QByteArray b = f.readAll();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Runs `program` with `args` in `env` (in `folder`, when given) to its end: its exit code (-1
// when it crashed or ran for two minutes), its standard output and error read as UTF-8.
inline int run_program(const QString& program, const QStringList& args, const QProcessEnvironment& env, QString& out,
                       QString& err, const QString& folder = {}) {
  QProcess p;
  p.setProcessEnvironment(env);
  if (!folder.isEmpty()) p.setWorkingDirectory(folder);
  p.start(program, args);
  if (!p.waitForFinished(120000)) return -1;
  out = QString::fromUtf8(p.readAllStandardOutput());
  err = QString::fromUtf8(p.readAllStandardError());
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

inline long command(Window win, int id) { return win_SendEvent(win, e_menu{id, 0}); }

// The list window opened last (the task's children come in creation order).
inline Window newest_list_window(Window task) {
  Window newest = 0;
  for (Window w : win_GetChildWindows(task))
    if (win_GetType(w) == wk_TopLevel && win_GetHandler(w) == win_просмотрсписка_eh) newest = w;
  return newest;
}
// The list window "Удал/Редакт/Вывод" opens, and its newest window.
inline Window open_list(Window task) {
  command(task, cmd_УдалРедактВывод);
  return newest_list_window(task);
}
inline Window list_box(Window lw) { return win_GetCtlHandle(lw, ид_списка); }

// Selects the line that starts with the code, as a click would (the selection is reported).
inline void select_code(Window lw, int code) {
  const Window lb = list_box(lw);
  for (int i = 0; i < lbox_CountAll(lb); ++i)
    if (код_строки(lbox_GetItem(lb, i)) == code) {
      lbox_SetSel(lb, i, 1);
      win_SendEvent(lw, e_control{ид_списка, wk_ListBox, lb, selchanged{}});
      return;
    }
  QFAIL("no such line");
}

inline std::vector<int> shown_codes(Window lw) {
  std::vector<int> out;
  for (const std::string& l : lbox_GetAll(list_box(lw))) out.push_back(код_строки(l).value_or(-1));
  return out;
}

// Three records most of the program's tests start from (codes 3, 7 and 5, in this order).
inline const std::string kТриЗаписи = record_line(3, "Пушкин", "Онегин", "Поэзия", "Книга", 1, 1, "") +
                                      record_line(7, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "") +
                                      record_line(5, "Чехов", "Сад", "Проза", "Журнал", 0, 1, "");

}  // namespace app_test
