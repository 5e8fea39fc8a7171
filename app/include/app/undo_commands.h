// Undo and redo of the catalogue's changes as the user gives them (the toolbar's Undo and Redo,
// Ctrl+Z and Ctrl+Y), and what the two buttons show: greyed while there is nothing to undo or
// redo, their help line saying what they would do. The history itself and the taking back are
// the core's (core/undo_history.h, core/change_path.h).
#pragma once

#include <string>

#include "layer/layer.h"

// Takes back the last change, or makes again the last change taken back, and saves its file.
// False when there is nothing to do, or when it cannot be done: its record or category is no
// longer there (the step is dropped), or the save fails (memory and file stay as they were and
// the step stays); the user is told why.
bool отменить_изменение();
bool повторить_изменение();

// Whether there is a change to undo, or to redo (the window does not matter).
bool есть_что_отменить(Window);
bool есть_что_повторить(Window);
// The buttons' help lines: "Отменить: <what>" and "Повторить: <what>", or "Undo" and "Redo" while
// there is nothing to do.
std::string подсказка_отмены();
std::string подсказка_повтора();
