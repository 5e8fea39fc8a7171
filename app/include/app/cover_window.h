// The cover window: the picture named by имяфайлаобложки, scaled down to at most half the
// screen's height with its aspect kept, placed beside the data-entry dialog at every paint (near
// the top right corner of the task window when none is open); a picture file dropped on it is
// the dialog's cover; and its registration id_окнаобложки, by
// which the data-entry dialog closes it without keeping the window itself. A cover that cannot be
// shown (no such file, not a picture, unreadable) is not an error: the window says in its own area
// what is wrong and what to do.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "layer/layer.h"

// A cover file, named as a record names it (a bare name is looked for in the catalogue's folder),
// read and decoded: its picture (the caller frees it with pict_Destroy), or why it cannot be
// shown, in words for the user that name the file and say what to do (cp1251). The one place that
// decides whether a cover file is usable: the cover window, the data-entry dialog and the printed
// card all ask it. Anything but a regular file (a folder, a pipe, a device) is refused unread.
std::variant<Picture, std::string> загрузить_обложку(const std::string& file);
// Why the cover file cannot be shown, as above; nothing when it can.
std::optional<std::string> отказ_обложки(const std::string& file);

// A picture file (a host path, as a chooser or a drop gives it) taken as the cover of the record
// in the data-entry dialog `dlg`: checked, taken into the catalogue's folder (взять_картинку_в_папку),
// its bare name put in the dialog's cover field and shown by the open cover window. False, the
// user told why (naming the file), when it is no picture or cannot be taken.
bool взять_обложку(Window dlg, const std::string& path);
// The picture on the clipboard taken as that cover: saved as a PNG file of its own in the
// catalogue's folder ("обложка-N.png", the first N free). False, the user told why, when the
// clipboard holds no picture or the file cannot be written.
bool вставить_обложку(Window dlg);

Window win_обложка_Create(Window parent);
std::optional<long> win_обложка_eh(Window win, const Event& ev);

// Registers `win` as the open cover window unless an open one is registered already.
void запомнитьокнообложки(Window win);
// Closes the registered open cover window (the registration is marked closed first).
void удалитьокнообложки();
