// Undo and redo through the change path, and what the Undo and Redo buttons show.
#include "app/undo_commands.h"

#include <string_view>

#include "app/catalogue_changes.h"
#include "core/change_path.h"
#include "core/undo_history.h"
#include "runtime/codepage.h"

namespace {

std::string подсказка(const std::string& что, std::string_view приставка, std::string_view обычный_текст) {
  return что.empty() ? std::string(обычный_текст) : std::string(приставка) + что;
}

}  // namespace

bool отменить_изменение() { return изменить(ОтменитьИзменение{}); }

bool повторить_изменение() { return изменить(ПовторитьИзменение{}); }

bool есть_что_отменить(Window) { return !что_отменить().empty(); }

bool есть_что_повторить(Window) { return !что_повторить().empty(); }

std::string подсказка_отмены() { return подсказка(что_отменить(), "Отменить: "_cp, "Undo"); }

std::string подсказка_повтора() { return подсказка(что_повторить(), "Повторить: "_cp, "Redo"); }
