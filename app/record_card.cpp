// The record card through the file symbol myfile and the screen device, and the card font's
// setting.
#include "app/record_card.h"

#include "app/catalogue_changes.h"
#include "app/list_selection.h"
#include "core/lending.h"
#include "app/session.h"
#include "core/card_text.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_folder.h"
#include "core/list_line.h"
#include "packages/message_window.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/file_slots.h"
#include "runtime/format.h"

namespace {

constexpr std::string_view kФайлКарточки = "карточка.txt"_cp;
constexpr std::string_view kРазделитель = "______________________________________________";

int myfile() {
  static const int slot = IO_DeclareFile("myfile");
  return slot;
}

void записать_карточку(const ЗаписьБазы& з) {
  const int файл = myfile();
  IO_O_Write(файл, kФайлКарточки);
  IO_WrDev_i(файл);
  for (const СтрокаКарточки& строка : поля_карточки(з)) {
    IO_Writef(строка.формат, {строка.значение});
    IO_Nl();
  }
  IO_Close(файл);
}

// After a failed card: no open file and the screen as the output device, so the next card works.
void бросить_карточку() {
  if (IO_IsOpen(myfile())) {
    try {
      IO_Close(myfile());
    } catch (const RunError&) {  // the close of a file that could not be written fails as well
    }
  }
  IO_WrDev_i(IO_Screen);
}

}  // namespace

bool вывестикарточку(Window win) {
  const auto выбор = запомнить_выделение(win);
  if (!выбор || выбор->строки.size() != 1) return false;
  const auto код = код_строки(выбор->строки.front());
  if (!код) return false;
  const auto записи = база_лит.по_коду(*код);
  if (записи.empty()) return false;
  const ЗаписьБазы& з = записи.front();
  std::string текст;
  try {
    записать_карточку(з);
    текст = IO_RdFile(kФайлКарточки);
  } catch (const RunError& e) {
    бросить_карточку();
    // A card file that cannot be written (the folder read-only, the disk full) is told; an error
    // of the program itself is reported as one.
    if (!ERR_IsHostCondition(e.code())) throw;
    dlg_MessageBox("Карточка"_cps,
                   текст_отказа("Карточка не записана в файл «"_cps + std::string(kФайлКарточки) + "»"_cps, e),
                   mb_Error, mb_Ok, 0, mb_TaskModal);
    return false;
  } catch (...) {
    бросить_карточку();
    throw;
  }
  IO_WrDev_i(IO_Screen);
  создадимокносообщкарточки();
  IO_WrStr(текст);
  if (const std::string на_руках = строка_на_руках(з.код); !на_руках.empty()) IO_WrStr(на_руках + "\n"_cps);
  IO_WrStr(kРазделитель);
  IO_Nl();
  return true;
}

void создадимокносообщкарточки() {
  const auto блок = шрифткарточки.get();
  const auto шрифт = блок ? шрифт_из_блока(*блок) : std::nullopt;
  auto окно = msg_GetWin();
  if (!окно) {
    msg_Create(40);
    окно = msg_GetWin();
  }
  if (окно && шрифт) win_SetFont(*окно, *шрифт);
}

bool выбрать_шрифт_карточки() {
  const auto блок = шрифткарточки.get();
  if (!блок) return false;
  const auto шрифт = шрифт_из_блока(*блок);
  if (!шрифт) return false;
  const auto выбранный = dlg_ChooseFont(*шрифт);
  if (!выбранный) return false;
  // A file that cannot be written is told; the font is chosen all the same.
  return изменить(ЗадатьШрифтКарточки{шрифт_в_блок(*выбранный)});
}
