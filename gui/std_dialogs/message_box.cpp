// dlg_MessageBox, dlg_Note and dlg_Error over the toolkit's message box.
#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/std_dialogs.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

// The button sets in answer order: the answer is the position in the set, from 1.
const std::array<std::vector<QMessageBox::StandardButton>, 6> kButtonSets = {{
    {QMessageBox::Ok},
    {QMessageBox::Ok, QMessageBox::Cancel},
    {QMessageBox::Yes, QMessageBox::No},
    {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
    {QMessageBox::Retry, QMessageBox::Cancel},
    {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore},
}};

QMessageBox::Icon icon_of(int icon) {
  switch (icon) {
    case mb_Question: return QMessageBox::Question;
    case mb_Error: return QMessageBox::Critical;
    case mb_Warning: return QMessageBox::Warning;
    default: return QMessageBox::Information;
  }
}

// A box without Cancel (other than the OK box) cannot be left with Escape or its close box.
class NoEscape : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* o, QEvent* ev) override {
    if (ev->type() == QEvent::Close && static_cast<QWidget*>(o)->isVisible()) {
      ev->ignore();
      return true;
    }
    if (ev->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(ev)->key() == Qt::Key_Escape) return true;
    return false;
  }
};

}  // namespace

int dlg_MessageBox(const std::string& title, const std::string& text, int icon, int buttons,
                   int default_button, int modality) {
  if (icon < 0 || icon > 3 || buttons < 0 || buttons > 5 || default_button < 0 || default_button > 2 ||
      modality < 0 || modality > 1)
    RUN_Error(errcode::kBadValue);
  const auto own_app = make_application_if_needed();
  const Window parent = chosen_parent();
  const auto& set = kButtonSets[static_cast<std::size_t>(buttons)];

  ModalBox<QMessageBox> box(icon_of(icon), system_text(title), system_text(text), QMessageBox::NoButton,
                            owner_widget(parent));
  box->setTextFormat(Qt::PlainText);
  std::vector<QAbstractButton*> made;
  for (QMessageBox::StandardButton b : set) made.push_back(box->addButton(b));
  box->setDefaultButton(static_cast<QPushButton*>(
      made[static_cast<std::size_t>(default_button) < made.size() ? static_cast<std::size_t>(default_button) : 0]));
  const auto cancel = std::find(set.begin(), set.end(), QMessageBox::Cancel);
  if (cancel != set.end()) {
    box->setEscapeButton(made[static_cast<std::size_t>(cancel - set.begin())]);
  } else if (set.size() == 1) {
    box->setEscapeButton(made[0]);
  } else {
    box->setWindowFlag(Qt::WindowCloseButtonHint, false);
    box->installEventFilter(new NoEscape(box.get()));
  }
  // Closed by the layer (the run ends, or the box's owner went): the Cancel-like answer, else the
  // first button.
  const int closed = cancel != set.end() ? static_cast<int>(cancel - set.begin()) + 1 : 1;

  // Both modalities block the whole program: a box cannot block other programs here.
  if (!exec_box(box.get(), parent)) return closed;
  const auto it = std::find(made.begin(), made.end(), box->clickedButton());
  return it == made.end() ? closed : static_cast<int>(it - made.begin()) + 1;
}

void dlg_Note(const std::string& text) { dlg_Note(std::string(), text); }

void dlg_Note(const std::string& title, const std::string& text) {
  dlg_MessageBox(title.empty() ? "Note" : title, text, mb_Information, mb_Ok, 0, mb_TaskModal);
}

void dlg_Error(const std::string& text) { dlg_Error(std::string(), text); }

void dlg_Error(const std::string& title, const std::string& text) {
  dlg_MessageBox(title.empty() ? "Error" : title, text, mb_Error, mb_Ok, 0, mb_TaskModal);
}
