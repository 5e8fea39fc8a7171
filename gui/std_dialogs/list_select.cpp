// dlg_ListSelect: a choice from a combined list field (id 101) with OK (1) and Cancel (2).
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/std_dialogs.h"
#include "layer_portable/list_lookup.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

int list_select(Window parent, const std::string& title, const std::vector<std::string>& strings,
                int preselect, std::string& chosen, int& index) {
  if (strings.empty()) RUN_Error(errcode::kEmptyList);
  const auto own_app = make_application_if_needed();
  chosen.clear();
  index = 0;

  ModalBox<QDialog> d(owner_widget(parent));
  d->setWindowTitle(system_text(title));
  auto* list = new QComboBox;
  list->setObjectName(QStringLiteral("101"));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setCompleter(nullptr);  // the line shows what was typed, nothing completed
  list->setAccessibleName(system_text(title));
  for (const std::string& s : strings) list->addItem(to_qt(s));
  list->setCurrentIndex(preselect >= 0 && preselect < list->count() ? preselect : -1);
  if (list->currentIndex() < 0) list->setEditText(QString());
  list->lineEdit()->selectAll();
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(system_text("OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(system_text("Cancel"), QDialogButtonBox::RejectRole);
  ok->setObjectName(QStringLiteral("1"));
  cancel->setObjectName(QStringLiteral("2"));
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, d.get(), &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, d.get(), &QDialog::reject);
  // A double click in the opened list is an OK for the entry clicked.
  QObject::connect(list->view(), &QAbstractItemView::doubleClicked, d.get(), [list, dlg = d.get()](const QModelIndex& i) {
    list->setCurrentIndex(i.row());
    list->hidePopup();
    dlg->accept();
  });
  auto* box = new QVBoxLayout(d.get());
  box->addWidget(list);
  box->addWidget(buttons);
  d->setMinimumWidth(320);
  list->setFocus();

  const bool ok_pressed = run_modal(d.get(), parent);
  int result = 0;
  if (ok_pressed) {
    index = list_lookup(strings, from_qt(list->currentText()));
    if (index >= 0) chosen = strings[static_cast<std::size_t>(index)];
    result = 1;
  }
  refocus(parent);
  return result;
}

}  // namespace

int dlg_ListSelect(const std::string& title, const std::vector<std::string>& strings, int preselect,
                   std::string& chosen, int& index) {
  return list_select(chosen_parent(), title, strings, preselect, chosen, index);
}

int dlg_ListSelect(Window parent, const std::string& title, const std::vector<std::string>& strings,
                   int preselect, std::string& chosen, int& index) {
  check_parent(parent);
  return list_select(parent, title, strings, preselect, chosen, index);
}
