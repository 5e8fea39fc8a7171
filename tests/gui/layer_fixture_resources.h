// The layer tests' own resources: a task menu, a child-window menu, a window-list menu, an
// accelerator table and four dialogs, with ids of their own, registered by layer_test::run_in_task
// as a program registers its resources before uix_Init. Their pictures and icons are compiled in
// from fixture/ under the layer's resource paths (":/bitmaps/<id>.bmp", ":/icons/<id>.ico").
#pragma once

#include <string_view>

#include "layer/resource_tables.h"

namespace fixture {

enum Id : int {
  // The task menu: "Файл" (cmd_exit), "База" (cmd_entry, cmd_browse), "Категории" ("Ввести"
  // cmd_add, cmd_edit, cmd_remove, cmd_view), "Настройки" on the bar, and a right-aligned "&Help"
  // ("&Contents\tCtrl-F1", "&Local\tF1", a separator, "&About").
  menu_task = 2100,
  cmd_exit = 2101, cmd_entry = 2102, cmd_browse = 2103, cmd_add = 2104, cmd_edit = 2105, cmd_remove = 2106,
  cmd_view = 2107, cmd_settings = 2108, cmd_contents = 2109, cmd_local = 2110, cmd_about = 2111,
  // Ctrl+F1 gives cmd_contents, F1 cmd_local.
  accel_task = 2150,
  // A child window's menu: three commands on the bar, grey at first.
  menu_records = 2200,
  cmd_record_delete = 2201, cmd_record_edit = 2202, cmd_record_card = 2203,
  // A window-list menu: its first pop-up "&Окна" with two commands. The standard registration
  // names it but leaves it out of the tables (the layer then makes its own "&Window" pop-up).
  menu_window_list = 2300,
  cmd_windows_tile = 2301, cmd_windows_close_all = 2302,

  // An entry dialog (285 × 139 dialog units): labelled edits, a check box, two drop-down lists
  // (the second and its label hidden), a radio pair in a group box, a disabled edit, two push
  // buttons (the second disabled), OK (default) and Cancel.
  dlg_entry = 2400,
  ctl_author_label = 2401, ctl_author = 2402, ctl_title_label = 2403, ctl_title = 2404, ctl_disk = 2405,
  ctl_category_label = 2406, ctl_category = 2407, ctl_kind_label = 2408, ctl_kind = 2409,
  ctl_binding_group = 2410, ctl_hard = 2411, ctl_soft = 2412, ctl_cover_group = 2413, ctl_file_label = 2414,
  ctl_file = 2415, ctl_show_cover = 2416, ctl_close_cover = 2417,
  // A note in a font of its own (Times New Roman 16): an icon item showing icon_note and a text.
  dlg_note = 2500,
  ctl_note_icon = 2501, ctl_note_text = 2502,
  // An About box: four text lines ("Version 1.0" the second), OK and Help.
  dlg_about = 2600,
  ctl_about_line1 = 2601, ctl_about_line2 = 2602, ctl_about_line3 = 2603, ctl_about_line4 = 2604,

  // A dialog with an edit field and two custom controls of the class kGaugeClass (which a test
  // registers before it opens the dialog), OK and Cancel.
  dlg_gauge = 2650,
  ctl_gauge_edit = 2651, ctl_gauge_dial = 2652, ctl_gauge_pad = 2653,

  icon_task = 2700,   // 32 × 32
  icon_note = 2701,
  bitmap_face = 2800,  // 24 × 24
};

inline constexpr std::string_view kGaugeClass = "fixture-gauge";

// The standard registration: every table but the window-list menu, accel_task, icon_task and
// the name "layer-tests".
const ResourceTables& tables();
// The same with the window-list menu in the tables and no accelerator table for the task window.
const ResourceTables& tables_with_window_list();

}  // namespace fixture
