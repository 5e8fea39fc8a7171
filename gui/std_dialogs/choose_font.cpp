// dlg_ChooseFont over the toolkit's own font dialog.
#include <QFontDialog>

#include "internal/font_block.h"
#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "layer/std_dialogs.h"

using namespace gui_detail;

std::optional<Font> dlg_ChooseFont(const Font& font) {
  const auto own_app = make_application_if_needed();
  const Window parent = chosen_parent();
  ModalBox<QFontDialog> d(is_font_block(font) ? to_qfont(font) : QFont(), owner_widget(parent));
  d->setOption(QFontDialog::DontUseNativeDialog);
  d->setOption(QFontDialog::ScalableFonts);
  const bool accepted = run_modal(d.get(), parent);
  refocus(parent);
  if (!accepted) return std::nullopt;
  return from_qfont(d->selectedFont());
}
