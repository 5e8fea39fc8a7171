// print_ToPrinter, print_Preview and print_ToPdf over Qt Print Support: the print dialog, the
// preview dialog and the printer's PDF output. A PDF file is never written where the user will
// find it half made: its pages go to a temporary file first, and RUN_ReplaceFile puts the
// finished bytes in place.
#include "layer/print.h"

#include <QDir>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryFile>
#include <exception>

#include "internal/application.h"
#include "internal/modal_box.h"
#include "internal/print_cards.h"
#include "internal/print_table.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/progress.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

using namespace gui_detail;

namespace {

const std::string& title_of(const PrintDocument& doc) {
  return std::visit([](const auto& d) -> const std::string& { return d.title; }, doc);
}
const std::string& progress_text_of(const PrintDocument& doc) {
  return std::visit([](const auto& d) -> const std::string& { return d.progress_text; }, doc);
}
// The steps the document's painting reports.
std::int64_t steps_of(const PrintDocument& doc) {
  if (const auto* t = std::get_if<PrintTable>(&doc)) return 2 * static_cast<std::int64_t>(t->row_count);
  return static_cast<std::int64_t>(std::get<PrintCards>(doc).cards.size());
}

void prepare(QPrinter& printer, const PrintDocument& doc) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  if (const auto* t = std::get_if<PrintTable>(&doc))
    printer.setPageOrientation(table_needs_landscape(printer, *t) ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setDocName(to_qt(title_of(doc)));
}

// Paints the document on the printer; false when `step` stopped it (a printer's job is then
// abandoned). No context to paint on is run-time error 6103.
bool paint_document(QPrinter& printer, const PrintDocument& doc, const ProgressReport& step) {
  QPainter painter;
  if (!painter.begin(&printer)) RUN_Error(errcode::kNoPrintContext);
  bool done = false;
  try {
    if (const auto* t = std::get_if<PrintTable>(&doc))
      done = paint_table(printer, painter, *t, step);
    else
      done = paint_cards(printer, painter, std::get<PrintCards>(doc), step);
  } catch (...) {
    printer.abort();
    painter.end();
    throw;
  }
  if (!done) printer.abort();
  painter.end();
  return done;
}

// Paints the document as a PDF into a temporary file, then makes it the contents of
// `file_name` (cp1251). The printer's own output file is left as it was.
bool paint_pdf_file(QPrinter& printer, const PrintDocument& doc, const std::string& file_name,
                    const ProgressReport& step) {
  QTemporaryFile temp(QDir::tempPath() + QStringLiteral("/foliarkh-XXXXXX.pdf"));
  if (!temp.open()) RUN_Error(errcode::kNoPrintContext);
  const QString own_output = printer.outputFileName();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(temp.fileName());
  bool done = false;
  try {
    done = paint_document(printer, doc, step);
  } catch (...) {
    printer.setOutputFileName(own_output);
    throw;
  }
  printer.setOutputFileName(own_output);
  if (!done) return false;
  temp.seek(0);
  const QByteArray bytes = temp.readAll();
  if (bytes.isEmpty()) RUN_Error(errcode::kNoPrintContext);
  RUN_ReplaceFile(file_name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return true;
}

// Prints on the printer as the dialogs left it: a PDF file through a temporary, anything else
// directly.
bool print_on(QPrinter& printer, const PrintDocument& doc, const ProgressReport& step) {
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    const std::string target = from_qt(printer.outputFileName());
    printer.setOutputFileName(QString());
    return paint_pdf_file(printer, doc, target, step);
  }
  return paint_document(printer, doc, step);
}

bool with_progress(const PrintDocument& doc, const std::function<bool(const ProgressReport&)>& work) {
  return dlg_Progress(title_of(doc), progress_text_of(doc), steps_of(doc), "Cancel", 500, work);
}

}  // namespace

bool print_ToPrinter(const PrintDocument& doc) {
  const auto own_app = make_application_if_needed();
  const Window parent = chosen_parent();
  QPrinter printer(QPrinter::HighResolution);
  prepare(printer, doc);
  {
    ModalBox<QPrintDialog> d(&printer, owner_widget(parent));
    d->setOption(QAbstractPrintDialog::PrintSelection, false);
    d->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    const bool accepted = run_modal(d.get(), parent);
    refocus(parent);
    if (!accepted) return false;
  }
  return with_progress(doc, [&](const ProgressReport& step) { return print_on(printer, doc, step); });
}

bool print_Preview(const PrintDocument& doc) {
  const auto own_app = make_application_if_needed();
  const Window parent = chosen_parent();
  QPrinter printer(QPrinter::HighResolution);
  prepare(printer, doc);
  ModalBox<QPrintPreviewDialog> d(&printer, owner_widget(parent));
  // An error cannot leave through the toolkit's signal: it is kept and raised once the dialog
  // is done.
  std::exception_ptr failure;
  QObject::connect(d.get(), &QPrintPreviewDialog::paintRequested, [&doc, &failure](QPrinter* p) {
    if (failure) return;
    try {
      print_on(*p, doc, [](std::int64_t) { return true; });
    } catch (...) {
      failure = std::current_exception();
    }
  });
  const bool accepted = run_modal(d.get(), parent);
  refocus(parent);
  if (failure) std::rethrow_exception(failure);
  return accepted;
}

bool print_ToPdf(const PrintDocument& doc, const std::string& file_name) {
  const auto own_app = make_application_if_needed();
  QPrinter printer(QPrinter::HighResolution);
  prepare(printer, doc);
  return with_progress(doc, [&](const ProgressReport& step) { return paint_pdf_file(printer, doc, file_name, step); });
}
