// Cut, Copy and Paste on the focused text field, Copy of a list window's selected record, and
// whether each can act.
#include "app/clipboard_commands.h"

#include <optional>

#include "app/list_selection.h"
#include "core/card_text.h"
#include "core/catalogue_facts.h"
#include "core/list_line.h"
#include "resources/ids.h"

namespace {

// The record of the line selected in the focused list window.
std::optional<ЗаписьБазы> выбранная_запись() {
  const Window окно = окно_просмотра_с_фокусом();
  if (!окно) return std::nullopt;
  const Window список = win_GetCtlHandle(окно, ид_списка);
  const auto номер = lbox_GetSelIndex(список);
  return номер ? запись_кода_строки(lbox_GetItem(список, *номер)) : std::nullopt;
}

}  // namespace

bool вырезать() { return win_CutToClipboard(); }

bool копировать() {
  if (win_GetTextFocus().field) return win_CopyToClipboard();
  const auto запись = выбранная_запись();
  if (!запись) return false;
  clip_SetText(текст_карточки(*запись));
  return true;
}

bool вставить() { return win_PasteFromClipboard(); }

bool можно_вырезать(Window) {
  const TextFocus поле = win_GetTextFocus();
  return поле.selection && поле.editable;
}

bool можно_копировать(Window) {
  const TextFocus поле = win_GetTextFocus();
  return поле.field ? поле.selection : выбранная_запись().has_value();
}

bool можно_вставить(Window) { return win_GetTextFocus().editable && clip_GetText().has_value(); }
