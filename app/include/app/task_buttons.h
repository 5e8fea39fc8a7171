// The buttons of the task window's project toolbar that follow the program's state (Undo, Redo,
// Cut, Copy, Paste): one enabled or greyed without the toolbar's owner at hand.
#pragma once

// The button `id` of the task window's project toolbar enabled or greyed, and redrawn only when
// that changes; nothing while the toolbar is away.
void включить_кнопку_задачи(int id, bool enabled);
