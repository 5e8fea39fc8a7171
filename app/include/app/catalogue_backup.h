// The backup copy of the working catalogue as the user makes it: "Резервная копия…" and the
// toolbar's Save. The copy itself (its files, the dated folder, complete or not at all) is the
// core's (core/catalogue_work.h).
#pragma once

// The folder chooser, the copy, and a message saying where it went and how many files it holds.
// False when cancelled or the copy fails (the user is told why).
bool сделать_резервную_копию();
