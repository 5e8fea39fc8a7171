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
  if (!can_show_windows()) {
    std::fprintf(stderr, "Program Error: %s\n", text.c_str());
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
  ModalBox<QMessageBox> box(QMessageBox::Critical, QStringLiteral("Program Error"),
                            to_qt(ask ? text + "\r\nRegister On Clipboard?" : text),
                            ask ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);  // a report quotes what failed, markup included
  box->setDefaultButton(ask ? QMessageBox::No : QMessageBox::Ok);
  const std::optional<int> answer = exec_box(box.get(), owner);
  if (ask && answer == QMessageBox::Yes) QGuiApplication::clipboard()->setText(to_qt(text));
}
