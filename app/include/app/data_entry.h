// The data-entry dialog (диалог_ввод_данных): entering new records (entry mode) and replacing the
// record selected in the list window (edit mode), with the duplicate check, the new code, the
// cover buttons and the self-closing data-saved note (диалог_инфсохранена).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layer/layer.h"
#include "packages/dialog_package.h"
#include "resources/ids.h"

void dlg_ввод_данных_Create(Window parent);
// "Ввод Данных": the dialog on `parent` in entry mode, whatever the mode was before.
bool ввести_данные(Window parent);
std::optional<long> dlg_ввод_данных_eh(Window dlg, const Event& ev);
void dlg_ввод_данных_handle_answer(int answer, const dialog::ValueList& values);

// Control access by id.
std::string прочитаемтекстэлдиалога(Window dlg, int id);
int прочитаемсостояниеэлдиалога(Window dlg, int id);
void установимтекстэлдиалога(Window dlg, int id, const std::string& text);
void установимсостояниеэлдиалога(Window dlg, int id, int state);
// Binding 1 checks "Твердый", 0 checks "Мягкий"; any other value fails.
bool установимсостояниеэлдиалогапереплет(Window dlg, std::int32_t binding);

// Succeeds for an empty list; otherwise shows the duplicate message and fails.
bool в_базенеттакойзаписи(const std::vector<std::int32_t>& codes);

// The data-saved note, modal on `parent`; closes itself on the second tick of its timer.
void dlg_инфсохранена_Create(Window parent);
std::optional<long> dlg_инфсохранена_eh(Window dlg, const Event& ev);
