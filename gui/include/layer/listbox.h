// List boxes and combined lists: the lbox_ family.
// Every operation takes a list box (kind 15) or a combined list (list button 16, list edit 17);
// anything else is run-time error 6001 (6000 when it is not a window). Items count from 0; the
// lines are cp1251 strings. Changes made here are not reported back as e_control.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layer/types.h"
#include "layer/window.h"

// Index -1 adds at the end (for a sorted list: where the line sorts, after equal lines);
// otherwise inserts before position `index` (0..count). Returns the position the line got.
// Any other index: 6260.
int lbox_Add(Window win, int index, const std::string& line);
// Index -1 adds each line at the end (sorted lists sort each); otherwise the lines go to
// index, index+1, … in list order.
void lbox_Add(Window win, int index, const std::vector<std::string>& lines);
int lbox_Add(Window win, const std::string& line);
void lbox_Add(Window win, const std::vector<std::string>& lines);
// Removes every item; a list edit's edit line is cleared too.
void lbox_Clear(Window win);
// Replaces every item by `lines` in one change of the list, as lbox_Clear followed by adding
// each line at the end would, but without placing the lines one by one: a list of a hundred
// thousand lines is refilled at once. A sorted list puts them in its order (lbox_Compare; equal
// lines keep the order given), and takes lines already in that order as they stand.
void lbox_SetAll(Window win, std::vector<std::string> lines);
// The same from lines the caller keeps (each copied into the list once, nothing else made of it).
void lbox_SetAllViews(Window win, std::vector<std::string_view> lines);
// The order of a sorted list: negative when line `a` stands above `b`, 0 for equal lines,
// positive otherwise. Case is not significant; blanks and punctuation come first, then digits,
// Latin letters and Cyrillic letters (ё right after е); lines equal that way go by their bytes.
int lbox_Compare(std::string_view a, std::string_view b);
// Removes the item (a bad index does nothing). A combined list left empty is reset: no
// selection and an empty edit line.
void lbox_Delete(Window win, int index);
// The selected items, in ascending index order: all of them in a multiple- or extended-selection
// list box, else the one selected item or none.
void lbox_GetSel(Window win, std::vector<std::string>& lines, std::vector<int>& indexes);
// Multiple or extended selection: selects (select != 0) or deselects item `index & 0xFFFF`.
// Otherwise: select != 0 makes `index` the selected item (a bad index clears the selection),
// select == 0 clears the selection whatever the index.
void lbox_SetSel(Window win, int index, int select);
// The selected position (in a multiple-selection list: the caret item when selected, else the
// first selected one); fails when nothing is selected.
std::optional<int> lbox_GetSelIndex(Window win);
bool lbox_IsSel(Window win, int index);
// The item's text; empty for a bad index.
std::string lbox_GetItem(Window win, int index);
std::vector<std::string> lbox_GetAll(Window win);
int lbox_CountAll(Window win);
// Redrawing off and on around mass changes; Resume repaints.
void lbox_Suspend(Window win);
void lbox_Resume(Window win);
// The column width, in pixels, of a list box with several columns.
void lbox_SetColumnWidth(Window win, int width);
// Tab stops, in dialog units of the list's font, for lines with tabs (list boxes with tab
// expansion); an empty list restores the default of every 32 units.
void lbox_SetTabStops(Window win, const std::vector<int>& stops);
// Scrolls the list so that `index` is the first visible item.
void lbox_SetTopIndex(Window win, int index);
