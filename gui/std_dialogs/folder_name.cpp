// dlg_GetFolderName over the toolkit's own file dialog in its folders-only form (not the
// desktop's, so that it behaves the same everywhere and tests can drive it).
#include <QDir>
#include <QFileDialog>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/std_dialogs.h"

using namespace gui_detail;

std::optional<std::string> dlg_GetFolderName(const std::string& title, const std::string& start_dir) {
  const auto own_app = make_application_if_needed();
  const Window parent = chosen_parent();
  KeepCurrentFolder keep;

  ModalBox<QFileDialog> d(owner_widget(parent), system_text(title));
  d->setOption(QFileDialog::DontUseNativeDialog);
  d->setOption(QFileDialog::ShowDirsOnly);
  d->setOption(QFileDialog::ReadOnly, false);  // "Create New Folder" stays offered
  d->setAcceptMode(QFileDialog::AcceptOpen);
  d->setFileMode(QFileDialog::Directory);
  if (!start_dir.empty()) d->setDirectory(to_qt(start_dir));

  const bool accepted = run_modal(d.get(), parent);
  refocus(parent);
  if (!accepted) return std::nullopt;
  const QStringList chosen = d->selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return from_qt(QDir::toNativeSeparators(QDir::cleanPath(chosen.front())));
}
