// The help viewer: one window of the layer with a text browser, owned by the task window.
// Invariant: g_viewer is the open viewer; a viewer that is closed (and so on its way to deletion)
// is never the one shown again.
#include "layer/help.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "internal/geometry.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

QPointer<QWidget> g_viewer;

// The viewer's window: deleted once closed, and from its close on no longer the viewer, so a
// help call that follows a close in the same handler opens a new one.
class HelpWindow : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void closeEvent(QCloseEvent* ev) override {
    QWidget::closeEvent(ev);
    if (ev->isAccepted() && g_viewer == this) g_viewer = nullptr;
  }
};

// The viewer's owner: the modal dialog that runs now (a viewer owned by anything else could not
// be used until that dialog ends), else the task window.
QWidget* viewer_owner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (const TaskData* t = task())
    if (const WindowRecord* r = find_record(t->task_window)) return outer_widget(*r);
  return nullptr;
}

QTextBrowser* viewer() {
  QWidget* owner = viewer_owner();
  if (g_viewer && g_viewer->parentWidget() != owner) {
    g_viewer->close();
    g_viewer = nullptr;
  }
  if (!g_viewer) {
    auto* w = new HelpWindow(owner, Qt::Window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setObjectName(QStringLiteral("help_viewer"));
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new QTextBrowser(w);
    browser->setOpenExternalLinks(false);
    layout->addWidget(browser);
    w->resize(640, 480);
    g_viewer = w;
  }
  return g_viewer->findChild<QTextBrowser*>();
}

// The help file: in the working directory, the program's directory, or compiled in.
QString locate(const QString& name) {
  const QStringList candidates = {QDir::current().filePath(name),
                                   QDir(QCoreApplication::applicationDirPath()).filePath(name),
                                   QStringLiteral(":/help/") + QFileInfo(name).fileName()};
  for (const QString& c : candidates)
    if (QFileInfo(c).isFile()) return c;
  return {};
}

// Opens the viewer on the file's contents; false when the file cannot be shown (the viewer
// then says so itself).
bool open_file(const std::string& help_file) {
  QTextBrowser* b = viewer();
  const QString name = to_qt(help_file);
  g_viewer->setWindowTitle(system_text("Help - %1").arg(QFileInfo(name).fileName()));
  const QString path = locate(name);
  QFile f(path);
  if (path.isEmpty() || !f.open(QIODevice::ReadOnly)) {
    b->setHtml(QStringLiteral("<h2>Help</h2><p>The help file <b>%1</b> cannot be opened.</p>")
                   .arg(name.toHtmlEscaped()));
  } else {
    f.close();
    b->setSearchPaths({QFileInfo(path).absolutePath()});
    const QUrl url = path.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + path)
                                                       : QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    b->setSource(url, QTextDocument::HtmlResource);
  }
  g_viewer->show();
  g_viewer->raise();
  g_viewer->activateWindow();
  return !path.isEmpty();
}

void check_engine(int engine) {
  if (engine == 1) RUN_Error(errcode::kNoHelpEngine);
  if (engine != 0) RUN_Error(errcode::kBadValue);
}

}  // namespace

void uix_ShowHelp(const std::string& help_file) { open_file(help_file); }

void uix_ShowHelpContext(const std::string& help_file, std::int32_t context_id) {
  if (open_file(help_file)) viewer()->scrollToAnchor(QStringLiteral("context-%1").arg(context_id));
}

void uix_ShowHelpKeyWord(const std::string& help_file, const std::string& key_word) {
  if (!open_file(help_file)) return;
  const QString word = to_qt(key_word.substr(0, 256));
  QTextBrowser* b = viewer();
  b->moveCursor(QTextCursor::Start);
  if (!word.isEmpty()) b->find(word);
}

void uix_HelpClose() {
  if (g_viewer) g_viewer->close();
}

void uix_SetHelpRequestHandler(HelpRequestHandler handler) { attributes().help_request_handler = handler; }

void uix_ShowHelp(const std::string& help_file, int engine) {
  check_engine(engine);
  uix_ShowHelp(help_file);
}
void uix_ShowHelpContext(const std::string& help_file, std::int32_t context_id, int engine) {
  check_engine(engine);
  uix_ShowHelpContext(help_file, context_id);
}
void uix_ShowHelpKeyWord(const std::string& help_file, const std::string& key_word, int engine) {
  check_engine(engine);
  uix_ShowHelpKeyWord(help_file, key_word);
}
void uix_HelpClose(int engine) {
  check_engine(engine);
  uix_HelpClose();
}
