// Charts of labelled numbers: a modal window of several bar charts, each with its numbers beside
// it and a button that saves it as a PNG picture or a PDF page. Texts are cp1251.
#pragma once

#include <string>
#include <vector>

struct ChartBar {
  std::string label;
  double value = 0;
};
struct ChartPanel {
  std::string title;
  std::vector<ChartBar> bars;
};

// Shows the panels, one under another, in a modal window titled `title` over the task window
// until it is closed. Each panel's button "Сохранить…" asks for a file and saves its chart there.
void chart_Show(const std::string& title, const std::vector<ChartPanel>& panels);
// Saves one panel's chart as a PNG picture, or as a PDF page when the name ends in ".pdf"
// (cp1251 file name, replaced whole). Raises the host's error of a file that cannot be written.
void chart_Save(const ChartPanel& panel, const std::string& file_name);
