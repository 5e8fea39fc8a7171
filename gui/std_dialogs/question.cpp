// dlg_Ask: the question dialog, laid out by the layer. Its controls have fixed ids: the answer
// buttons 1, 2, 3 and the question text 4; with three buttons the second slot takes id 3 and the
// third id 2, so that the Cancel-like id 2 is always the last button.
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/std_dialogs.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

// Pixels a title bar takes besides its text: the window's icon and its buttons.
constexpr int kTitleFrameRoom = 140;

// Every backslash is followed by a space, so that it is never read as the start of an escape.
std::string spaced_backslashes(const std::string& s) {
  std::string out;
  out.reserve(s.size() + 4);
  for (char c : s) {
    out.push_back(c);
    if (c == '\\') out.push_back(' ');
  }
  return out;
}

// Up to three entries; counting stops at the third when its text is empty.
std::size_t button_count(const std::vector<std::string>& buttons) {
  if (buttons.size() >= 3 && buttons[2].empty()) return 2;
  return std::min<std::size_t>(buttons.size(), 3);
}

int ask(Window parent, const std::string& title, const std::string& question,
        const std::vector<std::string>& buttons) {
  if (buttons.empty()) RUN_Error(errcode::kEmptyList);
  const auto own_app = make_application_if_needed();

  const std::size_t count = button_count(buttons);
  // Slot ids in order of the slots.
  const std::array<int, 3> ids = count == 3 ? std::array<int, 3>{1, 3, 2} : std::array<int, 3>{1, 2, 3};

  ModalBox<QDialog> d(owner_widget(parent));
  d->setWindowTitle(system_text(title));
  auto* text = new QLabel(system_text(spaced_backslashes(question)));
  text->setObjectName(QStringLiteral("4"));
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  auto* row = new QHBoxLayout;
  row->addStretch();
  std::array<QPushButton*, 3> slot_buttons{};
  int answer = -1;
  for (std::size_t i = 0; i < 3; ++i) {
    if (i >= count && ids[i] != 2) continue;  // id 2 always exists (it is what closing presses)
    auto* b = new QPushButton(i < buttons.size() ? system_text(buttons[i]) : QString());
    b->setObjectName(QString::number(ids[i]));
    b->setAutoDefault(false);
    row->addWidget(b);
    slot_buttons[i] = b;
    if (i >= buttons.size() || buttons[i].empty() || i >= count) b->hide();
  }
  QPushButton* id3 = nullptr;
  for (QPushButton* b : slot_buttons)
    if (b && b->objectName() == QStringLiteral("3")) id3 = b;
  const auto answer_of = [&](int id) {
    if (id == 1) return 0;
    if (id == 3) return 1;
    return id3 && !id3->isHidden() ? 2 : 1;  // id 2, or closing
  };
  for (QPushButton* b : slot_buttons) {
    if (!b) continue;
    const int id = b->objectName().toInt();
    QObject::connect(b, &QPushButton::clicked, d.get(), [dlg = d.get(), &answer, id, answer_of] {
      answer = answer_of(id);
      dlg->accept();
    });
  }
  row->addStretch();
  auto* box = new QVBoxLayout(d.get());
  box->addWidget(text);
  box->addLayout(row);
  // The title shows whole: the box is at least as wide as its title in a bold face with room for
  // the frame's icon and buttons (a window manager draws the title, the box cannot measure it).
  QFont title_font = d->font();
  title_font.setBold(true);
  d->setMinimumWidth(QFontMetrics(title_font).horizontalAdvance(d->windowTitle()) + kTitleFrameRoom);
  if (slot_buttons[0] && !slot_buttons[0]->isHidden()) {
    slot_buttons[0]->setDefault(true);
    slot_buttons[0]->setFocus();
  }

  // Closing, or the end of the box when its owner goes, answers as id 2 (read now: the box may be
  // freed by then).
  const int closing = answer_of(2);
  QApplication::beep();
  run_modal(d.get(), parent);
  refocus(parent);
  return answer >= 0 ? answer : closing;
}

}  // namespace

int dlg_Ask(const std::string& question, const std::vector<std::string>& buttons) {
  return ask(chosen_parent(), std::string(), question, buttons);
}

int dlg_Ask(const std::string& title, const std::string& question, const std::vector<std::string>& buttons) {
  return ask(chosen_parent(), title, question, buttons);
}

int dlg_Ask(Window parent, const std::string& title, const std::string& question,
            const std::vector<std::string>& buttons) {
  check_parent(parent);
  return ask(parent, title, question, buttons);
}
