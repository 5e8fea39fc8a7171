// dlg_GetFileName over the toolkit's own file dialog (not the desktop's, so that it behaves the
// same everywhere and tests can drive it).
#include <QDir>
#include <QFileDialog>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/std_dialogs.h"
#include "layer_portable/file_filters.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

constexpr std::size_t kDefaultBufferSize = 300000;

QString name_filter(const std::string& description, const std::string& pattern) {
  QString patterns = to_qt(pattern);
  patterns.replace(QChar(';'), QChar(' '));
  return system_text(description) + QStringLiteral(" (") + patterns + QChar(')');
}

}  // namespace

std::optional<std::string> dlg_GetFileName(const std::string& file_spec, const std::vector<std::string>& filters,
                                           const std::string& title, const std::vector<int>& flags,
                                           const std::string& start_dir, std::vector<std::string>& selected) {
  if (filters.empty()) RUN_Error(errcode::kEmptyList);
  if (filters.size() % 2 != 0) RUN_Error(errcode::kOddFilterList);
  selected.clear();
  bool save = false, several = false;
  std::size_t buffer_size = kDefaultBufferSize;
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (flags[i] == 1) save = true;
    else if (flags[i] == 2) several = true;
    else if (flags[i] == 3 && i + 1 < flags.size()) buffer_size = static_cast<std::size_t>(std::max(0, flags[++i]));
  }
  const auto own_app = make_application_if_needed();
  const Window parent = chosen_parent();
  KeepCurrentFolder keep;

  ModalBox<QFileDialog> d(owner_widget(parent), system_text(title));
  d->setOption(QFileDialog::DontUseNativeDialog);
  d->setOption(QFileDialog::ReadOnly, false);
  d->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d->setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
  QStringList qfilters;
  for (std::size_t i = 0; i < filters.size(); i += 2) qfilters << name_filter(filters[i], filters[i + 1]);
  d->setNameFilters(qfilters);
  d->selectNameFilter(qfilters[static_cast<qsizetype>(preselected_filter(filters, file_spec))]);
  if (!start_dir.empty()) d->setDirectory(to_qt(start_dir));
  // A plain name is the initial text of the name field; a pattern already shows as the
  // preselected filter (typed into the field it would select every matching file instead).
  if (!file_spec.empty() && file_spec.find_first_of("*?") == std::string::npos) d->selectFile(to_qt(file_spec));

  const bool accepted = run_modal(d.get(), parent);
  refocus(parent);
  if (!accepted) return std::nullopt;

  const qsizetype chosen_filter = qfilters.indexOf(d->selectedNameFilter());
  const std::string extension =
      chosen_filter >= 0 ? filter_extension(filters[static_cast<std::size_t>(chosen_filter) * 2 + 1]) : std::string();
  std::size_t used = 0;
  for (const QString& f : d->selectedFiles()) {
    selected.push_back(complete_file_name(from_qt(QDir::toNativeSeparators(f)), extension));
    used += selected.back().size() + 1;
  }
  if (selected.empty() || used + 1 > buffer_size) {
    selected.clear();
    return std::nullopt;  // nothing chosen, or more than the name buffer holds
  }
  if (!several) selected.resize(1);
  return selected.front();
}
