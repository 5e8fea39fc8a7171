// The layer's error box for run-time error reports.
#include "layer/error_box.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <cstdio>

#include "internal/application.h"
#include "internal/geometry.h"
#include "internal/modal_box.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "internal/window_record.h"

using namespace gui_detail;

void uix_ErrorMsg(int, int, std::uint32_t pos, const std::string& text) {
  const QString title = system_text("Program Error");
  if (!can_show_windows()) {  // on the standard error stream, the host's: UTF-8
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), to_qt(text).toUtf8().constData());
    return;
  }
  const auto own_app = make_application_if_needed();
  QApplication::beep();
  Window owner = 0;
  QWidget* parent = nullptr;
  if (const TaskData* t = task())
    if (const WindowRecord* r = find_record(t->task_window); r && !r->dying) {
      owner = r->handle;
      parent = outer_widget(*r);
    }
  const bool ask = pos != 0;
  // The report is composed by the runtime in the words the user reads (runtime/err_texts.h).
  ModalBox<QMessageBox> box(QMessageBox::Critical, title,
                            ask ? to_qt(text) + QChar('\n') + system_text("Register On Clipboard?") : to_qt(text),
                            ask ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);  // a report quotes what failed, markup included
  box->setDefaultButton(ask ? QMessageBox::No : QMessageBox::Ok);
  const std::optional<int> answer = exec_box(box.get(), owner);
  if (ask && answer == QMessageBox::Yes) QGuiApplication::clipboard()->setText(to_qt(text));
}
