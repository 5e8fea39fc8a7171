// The dialog templates of the program: the data-entry dialog, the data-saved note, the About box,
// the import summary, the server's address and the lending dialogs and windows.
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "tables.h"

namespace res {
namespace {

constexpr ResDialogItem kDataEntryItems[] = {
    {wk_Text, ид_НадписьАвтор, "Автор"_cp, {6, 8, 29, 12}, {}, 0},
    {wk_Edit, ид_Автор, "", {45, 6, 77, 15}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьНаименование, "Наименование"_cp, {6, 28, 60, 14}, {}, 0},
    {wk_Edit, ид_Наименование, "", {71, 28, 135, 15}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_CheckBox, ид_Диск, "Диск"_cp, {214, 29, 46, 15}, {csf_Auto, csf_TabStop}, 0},
    {wk_Text, ид_НадписьКатегория, "Категория"_cp, {7, 50, 60, 12}, {}, 0},
    {wk_ListButton, ид_Категория, "", {71, 51, 104, 38}, {wsf_VScroll, csf_TabStop}, 0},
    {wk_Text, ид_НадписьВид, "Вид"_cp, {180, 52, 24, 11}, {}, 0},
    {wk_ListButton, ид_Вид, "", {206, 52, 84, 40}, {wsf_VScroll, csf_TabStop}, 0},
    {wk_GroupBox, ид_РамкаПереплет, "Переплет"_cp, {7, 70, 80, 37}, {}, 0},
    {wk_RadioButton, ид_Твердый, "Твердый"_cp, {16, 82, 67, 10}, {csf_Auto, csf_Group, csf_TabStop}, 0},
    {wk_RadioButton, ид_Мягкий, "Мягкий"_cp, {16, 95, 67, 10}, {csf_Auto}, 0},
    {wk_GroupBox, ид_РамкаОбложка, "Обложка"_cp, {95, 70, 195, 37}, {}, 0},
    {wk_Text, ид_НадписьФайл, "Файл"_cp, {98, 81, 78, 10}, {}, 0},
    {wk_Edit, ид_ФайлОбложки, "", {97, 93, 125, 12}, {csf_AutoHScroll, wsf_Disabled}, 0},
    {wk_PushButton, ид_ВидОбл, "ВидОбл"_cp, {226, 77, 60, 12}, {csf_TabStop}, 0},
    {wk_PushButton, ид_ОблЗакрыть, "ОблЗакрыть"_cp, {226, 93, 60, 12}, {csf_TabStop, wsf_Disabled}, 0},
    {wk_PushButton, ид_ВставитьОбложку, "Вставить"_cp, {178, 78, 46, 12}, {csf_TabStop}, 0},
    // The publication details, each field after its caption (its accessible name).
    {wk_GroupBox, ид_РамкаСведения, "Сведения об издании"_cp, {298, 2, 176, 134}, {}, 0},
    {wk_Text, ид_НадписьГод, "Год издания"_cp, {302, 15, 68, 10}, {}, 0},
    {wk_Edit, ид_Год, "", {372, 13, 36, 12}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьИздательство, "Издательство"_cp, {302, 29, 68, 10}, {}, 0},
    {wk_Edit, ид_Издательство, "", {372, 27, 96, 12}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьМесто, "Место издания"_cp, {302, 43, 68, 10}, {}, 0},
    {wk_Edit, ид_Место, "", {372, 41, 96, 12}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьISBN, "ISBN", {302, 57, 68, 10}, {}, 0},
    {wk_Edit, ид_ISBN, "", {372, 55, 96, 12}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьШифр, "Шифр"_cp, {302, 71, 68, 10}, {}, 0},
    {wk_Edit, ид_Шифр, "", {372, 69, 96, 12}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьЭкземпляров, "Экземпляров"_cp, {302, 85, 68, 10}, {}, 0},
    {wk_Edit, ид_Экземпляров, "1", {372, 83, 36, 12}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьСтраниц, "Страниц"_cp, {302, 99, 68, 10}, {}, 0},
    {wk_Edit, ид_Страниц, "", {372, 97, 36, 12}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьПримечание, "Примечание"_cp, {302, 113, 68, 10}, {}, 0},
    {wk_Edit, ид_Примечание, "", {372, 111, 96, 22}, {csf_TabStop, csf_MultiLine, csf_WantReturn, wsf_VScroll}, 0},
    {wk_PushButton, кнопка_OK, "&OK", {76, 118, 40, 12}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, кнопка_Cancel, "&Cancel", {140, 118, 40, 12}, {csf_TabStop}, 0},
};

constexpr ResDialogItem kSavedNoteItems[] = {
    {wk_Icon, ид_ЗначокИнфСохранена, "", {8, 3, 16, 16}, {}, значок_информации},
    {wk_Text, ид_ТекстИнфСохранена, "Данные сохранены"_cp, {29, 6, 71, 13}, {csf_Center}, 0},
};

// The lines are wide enough, and the first one high enough for two lines, for the texts as the
// user reads them (under a Russian locale: what the program is, its version and its licence).
constexpr ResDialogItem kAboutItems[] = {
    {wk_Text, ид_ОписаниеПрограммы, "No description", {8, 6, 184, 20}, {csf_Center}, 0},
    {wk_Text, ид_ВерсияПрограммы, "Version 1.0", {8, 29, 184, 10}, {csf_Center}, 0},
    {wk_Text, ид_ИмяПрограммы, "Фолиарх"_cp, {8, 43, 184, 10}, {csf_Center}, 0},
    {wk_Text, ид_НазначениеПрограммы, "Каталог литературы"_cp, {8, 57, 184, 10}, {csf_Center}, 0},
    {wk_PushButton, кнопка_OK, "OK", {54, 76, 36, 16}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, кнопка_Help, "Help", {110, 76, 37, 16}, {csf_TabStop}, 0},
};

// The import summary: what the import will do, the rows it refuses or passes over and the names it
// adds or changes in a scrolling list, and "Добавить" (OK) or "Отмена".
constexpr ResDialogItem kImportSummaryItems[] = {
    {wk_Text, ид_ИтогИмпорта, "", {8, 6, 264, 74}, {csf_NoPrefix}, 0},
    {wk_Text, ид_НадписьОтказы, "", {8, 84, 264, 10}, {csf_NoPrefix}, 0},
    {wk_ListBox, ид_ОтказыИмпорта, "", {8, 96, 264, 92},
     {wsf_VScroll, wsf_HScroll, csf_NoIntegralHeight, csf_TabStop, csf_NoNotify}, 0},
    {wk_PushButton, кнопка_OK, "Добавить"_cp, {148, 194, 58, 14}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, кнопка_Cancel, "Отмена"_cp, {214, 194, 58, 14}, {csf_TabStop}, 0},
};

// A server catalogue's address: host, port, database, user and password (empty: ~/.pgpass), and
// why the last try did not connect.
constexpr ResDialogItem kServerItems[] = {
    {wk_Text, ид_НадписьСервер, "Сервер"_cp, {8, 8, 70, 10}, {}, 0},
    {wk_Edit, ид_Сервер, "", {82, 6, 130, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьПорт, "Порт"_cp, {8, 26, 70, 10}, {}, 0},
    {wk_Edit, ид_Порт, "", {82, 24, 50, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьБаза, "База данных"_cp, {8, 44, 70, 10}, {}, 0},
    {wk_Edit, ид_База, "", {82, 42, 130, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьПользователь, "Пользователь"_cp, {8, 62, 70, 10}, {}, 0},
    {wk_Edit, ид_Пользователь, "", {82, 60, 130, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьПароль, "Пароль"_cp, {8, 80, 70, 10}, {}, 0},
    {wk_Edit, ид_Пароль, "", {82, 78, 130, 13}, {csf_TabStop, csf_AutoHScroll, csf_Password}, 0},
    {wk_Text, ид_ПричинаСервера, "", {8, 96, 204, 40}, {csf_NoPrefix}, 0},
    {wk_PushButton, кнопка_OK, "OK", {100, 140, 52, 14}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, кнопка_Cancel, "Отмена"_cp, {160, 140, 52, 14}, {csf_TabStop}, 0},
};

// Issuing a book: the book field (a code as a scanner types it, an ISBN or words) over the books
// it finds and the chosen book's copies; the reader field over the readers it finds, a new reader
// added in place; the due date.
constexpr ResDialogItem kIssueItems[] = {
    {wk_Text, ид_НадписьКнигиВыдачи, "Книга: код, ISBN или слова"_cp, {8, 6, 300, 10}, {}, 0},
    {wk_Edit, ид_КнигаВыдачи, "", {8, 17, 300, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_ListView, ид_КнигиВыдачи, "Найденные книги"_cp, {8, 33, 300, 70}, {csf_TabStop}, 0},
    {wk_Text, ид_СостояниеКниги, "", {8, 106, 300, 20}, {csf_NoPrefix}, 0},
    {wk_Text, ид_НадписьЧитателяВыдачи, "Читатель: ФИО или группа"_cp, {8, 130, 200, 10}, {}, 0},
    {wk_Edit, ид_ЧитательВыдачи, "", {8, 141, 212, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_PushButton, ид_НовыйЧитатель, "Новый читатель…"_cp, {226, 141, 82, 13}, {csf_TabStop}, 0},
    {wk_ListView, ид_ЧитателиВыдачи, "Найденные читатели"_cp, {8, 157, 300, 60}, {csf_TabStop}, 0},
    {wk_Text, ид_НадписьСрокаВыдачи, "Вернуть до"_cp, {8, 224, 60, 10}, {}, 0},
    {wk_Edit, ид_СрокВозврата, "", {70, 222, 60, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_PushButton, кнопка_OK, "Выдать"_cp, {188, 222, 56, 14}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, кнопка_Cancel, "Отмена"_cp, {252, 222, 56, 14}, {csf_TabStop}, 0},
};

// A reader's card.
constexpr ResDialogItem kReaderItems[] = {
    {wk_Text, ид_НадписьФИО, "ФИО"_cp, {8, 8, 56, 10}, {}, 0},
    {wk_Edit, ид_ФИО, "", {66, 6, 170, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьГруппа, "Группа"_cp, {8, 26, 56, 10}, {}, 0},
    {wk_Edit, ид_Группа, "", {66, 24, 170, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьТелефон, "Телефон"_cp, {8, 44, 56, 10}, {}, 0},
    {wk_Edit, ид_Телефон, "", {66, 42, 170, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ид_НадписьПримечаниеЧитателя, "Примечание"_cp, {8, 62, 56, 10}, {}, 0},
    {wk_Edit, ид_ПримечаниеЧитателя, "", {66, 60, 170, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_PushButton, кнопка_OK, "OK", {116, 80, 56, 14}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, кнопка_Cancel, "Отмена"_cp, {180, 80, 56, 14}, {csf_TabStop}, 0},
};

// Taking a book back: its code (a scanner types it and Enter), the loans of it out, and the
// chosen loan's reader, dates and days overdue.
constexpr ResDialogItem kReturnItems[] = {
    {wk_Text, ид_НадписьКодаВозврата, "Код книги"_cp, {8, 8, 60, 10}, {}, 0},
    {wk_Edit, ид_КодВозврата, "", {70, 6, 80, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_ListView, ид_ВыдачиВозврата, "Выдачи книги"_cp, {8, 24, 300, 56}, {csf_TabStop}, 0},
    {wk_Text, ид_ОВозврате, "", {8, 84, 300, 30}, {csf_NoPrefix}, 0},
    {wk_PushButton, кнопка_OK, "Принять"_cp, {188, 118, 56, 14}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, кнопка_Cancel, "Отмена"_cp, {252, 118, 56, 14}, {csf_TabStop}, 0},
};

// The readers: the find field over the readers' table, the commands on the chosen reader, the
// reader's books out and history.
constexpr ResDialogItem kReadersItems[] = {
    {wk_Text, ид_НадписьПоискаЧитателей, "Найти"_cp, {8, 8, 30, 10}, {}, 0},
    {wk_Edit, ид_ПоискЧитателей, "", {40, 6, 180, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_ListView, ид_СписокЧитателей, "Читатели"_cp, {8, 24, 332, 100}, {csf_TabStop}, 0},
    {wk_PushButton, ид_ДобавитьЧитателя, "Добавить…"_cp, {348, 24, 64, 14}, {csf_TabStop}, 0},
    {wk_PushButton, ид_ИзменитьЧитателя, "Изменить…"_cp, {348, 42, 64, 14}, {csf_TabStop}, 0},
    {wk_PushButton, ид_УдалитьЧитателя, "Удалить"_cp, {348, 60, 64, 14}, {csf_TabStop}, 0},
    {wk_Text, ид_НадписьНаРуках, "На руках"_cp, {8, 128, 100, 10}, {}, 0},
    {wk_ListView, ид_КнигиНаРуках, "На руках"_cp, {8, 139, 332, 50}, {csf_TabStop}, 0},
    {wk_Text, ид_НадписьИстории, "История"_cp, {8, 193, 100, 10}, {}, 0},
    {wk_ListView, ид_ИсторияЧитателя, "История"_cp, {8, 204, 332, 70}, {csf_TabStop}, 0},
    {wk_PushButton, кнопка_Cancel, "Закрыть"_cp, {348, 260, 64, 14}, {csf_TabStop}, 0},
};

// The overdue loans: how many, the table, printed, as PDF or as CSV.
constexpr ResDialogItem kOverdueItems[] = {
    {wk_Text, ид_ЧислоДолгов, "", {8, 6, 330, 10}, {csf_NoPrefix}, 0},
    {wk_ListView, ид_СписокДолгов, "Должники"_cp, {8, 18, 400, 160}, {csf_TabStop}, 0},
    {wk_PushButton, ид_ПечатьДолгов, "Печать…"_cp, {8, 184, 60, 14}, {csf_TabStop}, 0},
    {wk_PushButton, ид_ДолгиВPdf, "В PDF…"_cp, {74, 184, 60, 14}, {csf_TabStop}, 0},
    {wk_PushButton, ид_ДолгиВCsv, "В CSV…"_cp, {140, 184, 60, 14}, {csf_TabStop}, 0},
    {wk_PushButton, кнопка_Cancel, "Закрыть"_cp, {348, 184, 60, 14}, {csf_TabStop}, 0},
};

// A book's loans: the book found by code, ISBN or words, and every loan of it in the order of issue.
constexpr ResDialogItem kHistoryItems[] = {
    {wk_Text, ид_НадписьКнигиИстории, "Книга: код, ISBN или слова"_cp, {8, 6, 300, 10}, {}, 0},
    {wk_Edit, ид_КнигаИстории, "", {8, 17, 400, 13}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_ListView, ид_КнигиИстории, "Книги"_cp, {8, 34, 400, 66}, {csf_TabStop}, 0},
    {wk_Text, ид_ОКнигеИстории, "", {8, 104, 400, 10}, {csf_NoPrefix}, 0},
    {wk_ListView, ид_ВыдачиКниги, "Выдачи книги"_cp, {8, 117, 400, 100}, {csf_TabStop}, 0},
    {wk_PushButton, кнопка_Cancel, "Закрыть"_cp, {348, 223, 60, 14}, {csf_TabStop}, 0},
};

constexpr ResDialog kDialogs[] = {
    {диалог_ввод_данных, "Ввод данных"_cp, {10, 20, 478, 139}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0,
     kDataEntryItems},
    {диалог_инфсохранена, "ИнфСохранена"_cp, {50, 40, 101, 26}, {wsf_DialogFrame, wsf_TitleBar}, "Times New Roman", 16,
     kSavedNoteItems},
    {диалог_about, "About", {92, 26, 200, 97}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0, kAboutItems},
    {диалог_итог_импорта, "Импорт"_cp, {40, 30, 280, 214}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0,
     kImportSummaryItems},
    {диалог_сервер, "Подключиться к серверу"_cp, {40, 30, 220, 160}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0,
     kServerItems},
    {диалог_выдачи, "Выдать книгу"_cp, {30, 20, 316, 244}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0, kIssueItems},
    {диалог_читатель, "Читатель"_cp, {60, 40, 244, 100}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0, kReaderItems},
    {диалог_возврата, "Принять книгу"_cp, {30, 20, 316, 140}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0,
     kReturnItems},
    {окно_читателей, "Читатели"_cp, {20, 10, 420, 282}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0,
     kReadersItems},
    {окно_должников, "Должники"_cp, {20, 10, 416, 206}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0,
     kOverdueItems},
    {окно_истории, "История выдач"_cp, {20, 10, 416, 245}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0,
     kHistoryItems},
};

}  // namespace

std::span<const ResDialog> dialogs() { return kDialogs; }

}  // namespace res
