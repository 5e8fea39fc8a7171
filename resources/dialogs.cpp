// The dialog templates of the program: the data-entry dialog 10004, the data-saved note 10000
// and the About box 10022.
#include "resources/dialogs.h"

#include "runtime/codepage.h"

namespace res {
namespace {

// Control kinds and control flags used by the tables.
constexpr int kPush = 8, kRadio = 9, kCheck = 10, kEdit = 13, kText = 14, kListButton = 16,
              kGroup = 18, kIcon = 19;
constexpr std::uint32_t fInvisible = 11, fDisabled = 12, fVScroll = 8, fDefault = 23, fGroup = 25,
                        fTabStop = 26, fCentre = 32, fAutoScrollH = 46, fAuto = 51;

constexpr DialogItemDef kDataEntryItems[] = {
    {kText, 10005, "Автор"_cp, {6, 8, 29, 12}, {}, 0},
    {kEdit, 10006, "", {45, 6, 77, 15}, {fTabStop, fAutoScrollH}, 0},
    {kText, 10007, "Наименование"_cp, {6, 28, 60, 14}, {}, 0},
    {kEdit, 10008, "", {71, 28, 135, 15}, {fTabStop, fAutoScrollH}, 0},
    {kCheck, 10009, "Диск"_cp, {214, 29, 46, 15}, {fAuto, fTabStop}, 0},
    {kText, 10010, "Категория"_cp, {7, 50, 60, 12}, {}, 0},
    {kListButton, 10011, "", {71, 51, 72, 38}, {fVScroll, fTabStop}, 0},
    {kText, 10021, "Вид"_cp, {151, 52, 48, 11}, {fInvisible}, 0},
    {kListButton, 10012, "", {206, 52, 64, 40}, {fVScroll, fTabStop, fInvisible}, 0},
    {kGroup, 10013, "Переплет"_cp, {7, 70, 80, 37}, {}, 0},
    {kRadio, 10014, "Твердый"_cp, {16, 82, 67, 10}, {fAuto, fGroup, fTabStop}, 0},
    {kRadio, 10015, "Мягкий"_cp, {16, 95, 67, 10}, {fAuto}, 0},
    {kGroup, 10016, "Обложка"_cp, {95, 70, 176, 37}, {}, 0},
    {kText, 10020, "Файл"_cp, {98, 81, 78, 10}, {}, 0},
    {kEdit, 10017, "", {97, 93, 125, 12}, {fAutoScrollH, fDisabled}, 0},
    {kPush, 10018, "ВидОбл"_cp, {224, 77, 41, 12}, {fTabStop}, 0},
    {kPush, 10019, "ОблЗакрыть"_cp, {225, 93, 41, 12}, {fTabStop, fDisabled}, 0},
    {kPush, 1, "&OK", {76, 118, 40, 12}, {fDefault, fTabStop, fGroup}, 0},
    {kPush, 2, "&Cancel", {140, 118, 40, 12}, {fTabStop}, 0},
};

constexpr DialogItemDef kSavedNoteItems[] = {
    {kIcon, 10002, "", {8, 3, 16, 16}, {}, 10003},
    {kText, 10001, "Данные сохранены"_cp, {29, 6, 71, 13}, {fCentre}, 0},
};

constexpr DialogItemDef kAboutItems[] = {
    {kText, 10023, "No description", {8, 8, 124, 10}, {fCentre}, 0},
    {kText, 10024, "Version 1.0", {8, 24, 124, 10}, {fCentre}, 0},
    {kText, 10025, "Фолиарх"_cp, {8, 40, 124, 10}, {fCentre}, 0},
    {kText, 10026, "Каталог литературы"_cp, {8, 56, 124, 10}, {fCentre}, 0},
    {kPush, 1, "OK", {24, 76, 36, 16}, {fDefault, fTabStop, fGroup}, 0},
    {kPush, 3, "Help", {80, 76, 37, 16}, {fTabStop}, 0},
};

// Window flags of the templates.
constexpr std::uint32_t wDialogFrame = 3, wClose = 4, wTitle = 9;

constexpr DialogDef kDialogs[] = {
    {10004, "Ввод данных"_cp, {10, 20, 285, 139}, {wDialogFrame, wTitle, wClose}, {}, 0, kDataEntryItems},
    {10000, "ИнфСохранена"_cp, {50, 40, 101, 26}, {wDialogFrame, wTitle}, "Times New Roman", 16, kSavedNoteItems},
    {10022, "About", {122, 26, 141, 97}, {wDialogFrame, wTitle, wClose}, {}, 0, kAboutItems},
};

}  // namespace

const DialogDef* find_dialog(int id) {
  for (const DialogDef& d : kDialogs)
    if (d.id == id) return &d;
  return nullptr;
}

}  // namespace res
