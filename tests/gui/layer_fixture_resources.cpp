// The tables of the layer tests' own resources (see layer_fixture_resources.h).
#include "layer_fixture_resources.h"

#include "runtime/codepage.h"

namespace fixture {
namespace {

constexpr ResMenuItem cmd(int id, std::string_view text, bool grayed = false) {
  return {ResMenuItemKind::command, id, text, {}, false, grayed, false};
}
constexpr ResMenuItem separator() { return {ResMenuItemKind::separator, 0, {}, {}, false, false, false}; }
constexpr ResMenuItem popup(std::string_view text, std::span<const ResMenuItem> items, bool right_aligned = false) {
  return {ResMenuItemKind::popup, 0, text, items, right_aligned, false, false};
}

constexpr ResMenuItem kFile[] = {cmd(cmd_exit, "Выход"_cp)};
constexpr ResMenuItem kBase[] = {cmd(cmd_entry, "Ввод Данных"_cp), cmd(cmd_browse, "Удал/Редакт/Вывод"_cp)};
constexpr ResMenuItem kCategories[] = {cmd(cmd_add, "Ввести"_cp), cmd(cmd_edit, "Редактировать"_cp),
                                       cmd(cmd_remove, "Удалить"_cp), cmd(cmd_view, "Просмотр"_cp)};
constexpr ResMenuItem kHelp[] = {cmd(cmd_contents, "&Contents\tCtrl-F1"), cmd(cmd_local, "&Local\tF1"),
                                 separator(), cmd(cmd_about, "&About")};
constexpr ResMenuItem kTask[] = {popup("Файл"_cp, kFile), popup("База"_cp, kBase), popup("Категории"_cp, kCategories),
                                 cmd(cmd_settings, "Настройки"_cp), popup("&Help", kHelp, true)};
constexpr ResMenuItem kRecords[] = {cmd(cmd_record_delete, "Удалить"_cp, true),
                                    cmd(cmd_record_edit, "Редактировать базу"_cp, true),
                                    cmd(cmd_record_card, "Вывести карточку"_cp, true)};
constexpr ResMenuItem kWindows[] = {cmd(cmd_windows_tile, "&Рядом"_cp), cmd(cmd_windows_close_all, "&Закрыть все"_cp)};
constexpr ResMenuItem kWindowList[] = {popup("&Окна"_cp, kWindows)};

constexpr ResMenu kMenus[] = {{menu_task, kTask}, {menu_records, kRecords}};
constexpr ResMenu kMenusWithWindowList[] = {{menu_task, kTask}, {menu_records, kRecords},
                                            {menu_window_list, kWindowList}};

constexpr int kVkF1 = 112;
constexpr ResAccel kTaskKeys[] = {{kVkF1, accel_control, cmd_contents}, {kVkF1, 0, cmd_local}};
constexpr ResAccelTable kAccelTables[] = {{accel_task, kTaskKeys}};

constexpr ResDialogItem kEntryItems[] = {
    {wk_Text, ctl_author_label, "Автор"_cp, {6, 8, 29, 12}, {}, 0},
    {wk_Edit, ctl_author, "", {45, 6, 77, 15}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_Text, ctl_title_label, "Наименование"_cp, {6, 28, 60, 14}, {}, 0},
    {wk_Edit, ctl_title, "", {71, 28, 135, 15}, {csf_TabStop, csf_AutoHScroll}, 0},
    {wk_CheckBox, ctl_disk, "Диск"_cp, {214, 29, 46, 15}, {csf_Auto, csf_TabStop}, 0},
    {wk_Text, ctl_category_label, "Категория"_cp, {7, 50, 60, 12}, {}, 0},
    {wk_ListButton, ctl_category, "", {71, 51, 72, 38}, {wsf_VScroll, csf_TabStop}, 0},
    {wk_Text, ctl_kind_label, "Вид"_cp, {151, 52, 48, 11}, {wsf_Invisible}, 0},
    {wk_ListButton, ctl_kind, "", {206, 52, 64, 40}, {wsf_VScroll, csf_TabStop, wsf_Invisible}, 0},
    {wk_GroupBox, ctl_binding_group, "Переплет"_cp, {7, 70, 80, 37}, {}, 0},
    {wk_RadioButton, ctl_hard, "Твердый"_cp, {16, 82, 67, 10}, {csf_Auto, csf_Group, csf_TabStop}, 0},
    {wk_RadioButton, ctl_soft, "Мягкий"_cp, {16, 95, 67, 10}, {csf_Auto}, 0},
    {wk_GroupBox, ctl_cover_group, "Обложка"_cp, {95, 70, 176, 37}, {}, 0},
    {wk_Text, ctl_file_label, "Файл"_cp, {98, 81, 78, 10}, {}, 0},
    {wk_Edit, ctl_file, "", {97, 93, 125, 12}, {csf_AutoHScroll, wsf_Disabled}, 0},
    {wk_PushButton, ctl_show_cover, "ВидОбл"_cp, {224, 77, 41, 12}, {csf_TabStop}, 0},
    {wk_PushButton, ctl_close_cover, "ОблЗакрыть"_cp, {225, 93, 41, 12}, {csf_TabStop, wsf_Disabled}, 0},
    {wk_PushButton, 1, "&OK", {76, 118, 40, 12}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, 2, "&Cancel", {140, 118, 40, 12}, {csf_TabStop}, 0},
};
constexpr ResDialogItem kNoteItems[] = {
    {wk_Icon, ctl_note_icon, "", {8, 3, 16, 16}, {}, icon_note},
    {wk_Text, ctl_note_text, "Данные сохранены"_cp, {29, 6, 71, 13}, {csf_Center}, 0},
};
constexpr ResDialogItem kAboutItems[] = {
    {wk_Text, ctl_about_line1, "No description", {8, 8, 124, 10}, {csf_Center}, 0},
    {wk_Text, ctl_about_line2, "Version 1.0", {8, 24, 124, 10}, {csf_Center}, 0},
    {wk_Text, ctl_about_line3, "Layer", {8, 40, 124, 10}, {csf_Center}, 0},
    {wk_Text, ctl_about_line4, "Tests", {8, 56, 124, 10}, {csf_Center}, 0},
    {wk_PushButton, 1, "OK", {24, 76, 36, 16}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, 3, "Help", {80, 76, 37, 16}, {csf_TabStop}, 0},
};
constexpr ResDialogItem kGaugeItems[] = {
    {wk_Edit, ctl_gauge_edit, "", {8, 8, 80, 12}, {csf_TabStop}, 0},
    {wk_Custom, ctl_gauge_dial, "", {8, 26, 60, 20}, {csf_TabStop}, 0, kGaugeClass},
    {wk_Custom, ctl_gauge_pad, "", {72, 26, 60, 20}, {csf_TabStop}, 0, kGaugeClass},
    {wk_PushButton, 1, "OK", {24, 56, 36, 14}, {csf_DefPushButton, csf_TabStop, csf_Group}, 0},
    {wk_PushButton, 2, "Cancel", {80, 56, 37, 14}, {csf_TabStop}, 0},
};
constexpr ResDialog kDialogs[] = {
    {dlg_entry, "Ввод данных"_cp, {10, 20, 285, 139}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0, kEntryItems},
    {dlg_note, "ИнфСохранена"_cp, {50, 40, 101, 26}, {wsf_DialogFrame, wsf_TitleBar}, "Times New Roman", 16,
     kNoteItems},
    {dlg_about, "About", {122, 26, 141, 97}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0, kAboutItems},
    {dlg_gauge, "Gauge", {40, 30, 141, 78}, {wsf_DialogFrame, wsf_TitleBar, wsf_Close}, {}, 0, kGaugeItems},
};

}  // namespace

const ResourceTables& tables() {
  static const ResourceTables t{kMenus, kDialogs, kAccelTables, menu_window_list, accel_task, icon_task, "layer-tests"};
  return t;
}

const ResourceTables& tables_with_window_list() {
  static const ResourceTables t{kMenusWithWindowList, kDialogs, {}, menu_window_list, 0, icon_task, "layer-tests"};
  return t;
}

}  // namespace fixture
