// Charts of labelled numbers over Qt Charts (see layer/chart.h): a bar chart per panel with a
// table of its numbers beside it; saved through the runtime's safe write.
#include "layer/chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <memory>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/std_dialogs.h"
#include "layer/uix.h"
#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

namespace {

using gui_detail::to_qt;

QChartView* chart_view(const ChartPanel& panel) {
  auto* set = new QBarSet(to_qt(panel.title));
  QStringList labels;
  double top = 1;
  for (const ChartBar& b : panel.bars) {
    *set << b.value;
    labels << to_qt(b.label);
    top = std::max(top, b.value);
  }
  auto* series = new QBarSeries;
  series->append(set);
  auto* chart = new QChart;
  chart->addSeries(series);
  chart->setTitle(to_qt(panel.title));
  chart->legend()->hide();
  auto* x = new QBarCategoryAxis;
  x->append(labels);
  chart->addAxis(x, Qt::AlignBottom);
  series->attachAxis(x);
  auto* y = new QValueAxis;
  y->setRange(0, top);
  y->setLabelFormat("%.0f");
  chart->addAxis(y, Qt::AlignLeft);
  series->attachAxis(y);
  auto* view = new QChartView(chart);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(520, 300);
  return view;
}

// The panel's numbers, a line per bar.
QString numbers(const ChartPanel& panel) {
  QStringList lines;
  for (const ChartBar& b : panel.bars) lines << to_qt(b.label) + ": " + QString::number(b.value, 'f', 0);
  return lines.join('\n');
}

bool is_pdf(const std::string& name) {
  return name.size() >= 4 && QString::fromLatin1(name.substr(name.size() - 4)).toLower() == ".pdf";
}

}  // namespace

void chart_Save(const ChartPanel& panel, const std::string& file_name) {
  std::unique_ptr<QChartView> view(chart_view(panel));
  view->resize(800, 480);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (is_pdf(file_name)) {
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setTitle(to_qt(panel.title));
    QPainter painter(&pdf);
    const QRect page = painter.viewport();
    view->render(&painter, QRectF(page), view->rect());
  } else {
    view->grab().save(&buffer, "PNG");
  }
  RUN_ReplaceFile(file_name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void chart_Show(const std::string& title, const std::vector<ChartPanel>& panels) {
  const Window owner = uix_GetTaskWin();
  gui_detail::ModalBox<QDialog> d(gui_detail::owner_widget(owner));
  d->setWindowTitle(gui_detail::system_text(title));
  auto* inner = new QWidget;
  auto* rows = new QVBoxLayout(inner);
  for (const ChartPanel& panel : panels) {
    auto* row = new QHBoxLayout;
    row->addWidget(chart_view(panel), 1);
    auto* side = new QVBoxLayout;
    auto* label = new QLabel(numbers(panel));
    label->setObjectName("numbers");
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    side->addWidget(label);
    auto* save = new QPushButton(gui_detail::system_text("Сохранить…"_cps));
    QObject::connect(save, &QPushButton::clicked, save, [panel] {
      std::vector<std::string> chosen;
      const auto file = dlg_GetFileName("диаграмма.png"_cps, {"PNG"_cps, "*.png", "PDF"_cps, "*.pdf"}, panel.title, {1},
                                        "", chosen);
      if (!file) return;
      try {
        chart_Save(panel, *file);
      } catch (const RunError& e) {
        if (!ERR_IsHostCondition(e.code())) throw;
        dlg_Error(panel.title, "Файл не записан: "_cps + ERR_ErrorWords(e.code()) + ".\n"_cps + ERR_ErrorAdvice(e.code()));
      }
    });
    side->addWidget(save);
    side->addStretch();
    row->addLayout(side);
    rows->addLayout(row);
  }
  auto* scroll = new QScrollArea;
  scroll->setWidget(inner);
  scroll->setWidgetResizable(true);
  auto* close = new QPushButton(gui_detail::system_text("Закрыть"_cps));
  QObject::connect(close, &QPushButton::clicked, d.get(), &QDialog::accept);
  auto* layout = new QVBoxLayout(d.get());
  layout->addWidget(scroll);
  layout->addWidget(close, 0, Qt::AlignRight);
  d->resize(820, 640);
  gui_detail::run_modal(d.get(), owner);
}
