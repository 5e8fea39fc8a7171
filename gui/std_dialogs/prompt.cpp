// dlg_GetStr: the one-line prompt, laid out by the layer with the fixed ids OK 1, Cancel 2,
// prompt text 3 and edit field 4.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/std_dialogs.h"

using namespace gui_detail;

namespace {

constexpr int kMaxChars = 499;  // the most that is read back from the field

std::optional<std::string> get_str(Window parent, const std::string& title, const std::string& prompt,
                                   const std::string& default_text) {
  const auto own_app = make_application_if_needed();

  ModalBox<QDialog> d(owner_widget(parent));
  d->setWindowTitle(system_text(title));
  auto* label = new QLabel(system_text(prompt));
  label->setObjectName(QStringLiteral("3"));
  label->setTextFormat(Qt::PlainText);
  auto* edit = new QLineEdit;
  edit->setObjectName(QStringLiteral("4"));
  edit->setMaxLength(kMaxChars);
  edit->setText(to_qt(default_text));
  edit->selectAll();
  label->setBuddy(edit);
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(system_text("OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(system_text("Cancel"), QDialogButtonBox::RejectRole);
  ok->setObjectName(QStringLiteral("1"));
  cancel->setObjectName(QStringLiteral("2"));
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, d.get(), &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, d.get(), &QDialog::reject);
  auto* box = new QVBoxLayout(d.get());
  box->addWidget(label);
  box->addWidget(edit);
  box->addWidget(buttons);
  d->setMinimumWidth(320);
  edit->setFocus();

  const bool ok_pressed = run_modal(d.get(), parent);
  std::optional<std::string> result;
  if (ok_pressed) result = from_qt(edit->text().left(kMaxChars));
  refocus(parent);
  return result;
}

}  // namespace

std::optional<std::string> dlg_GetStr(const std::string& title, const std::string& prompt,
                                      const std::string& default_text) {
  return get_str(chosen_parent(), title, prompt, default_text);
}

std::optional<std::string> dlg_GetStr(Window parent, const std::string& title, const std::string& prompt,
                                      const std::string& default_text) {
  check_parent(parent);
  return get_str(parent, title, prompt, default_text);
}
