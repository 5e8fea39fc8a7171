// The standard dialogs: message boxes, notes, errors, questions, text and list prompts, file and
// folder names, fonts.
// Each is modal and returns when the user has answered; the windows of the program keep
// receiving their events meanwhile. Where no parent is given, the parent is the first top-level
// window or dialog above the window with the keyboard focus, else the task window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "layer/types.h"
#include "layer/window.h"

// Icons, button sets and modality of dlg_MessageBox.
enum MessageBoxIcon : int { mb_Information = 0, mb_Question = 1, mb_Error = 2, mb_Warning = 3 };
enum MessageBoxButtons : int {
  mb_Ok = 0, mb_OkCancel = 1, mb_YesNo = 2, mb_YesNoCancel = 3, mb_RetryCancel = 4, mb_AbortRetryIgnore = 5
};
enum MessageBoxModality : int { mb_TaskModal = 0, mb_SystemModal = 1 };

// The answer is the 1-based position of the pressed button in its set: OK, Yes, Abort and the
// Retry of Retry–Cancel give 1; No, the Cancel of OK–Cancel and Retry–Cancel, and the Retry of
// Abort–Retry–Ignore 2; the Cancel of Yes–No–Cancel and Ignore 3. Escape and the close box count
// as Cancel where the box has one (as OK in the OK box) and do nothing otherwise. A value
// outside the tables is run-time error 6010. `default_button` 0..2 (beyond the set: the first).
int dlg_MessageBox(const std::string& title, const std::string& text, int icon, int buttons,
                   int default_button, int modality);
// Information box with OK, modal for the task; an empty title becomes "Note".
void dlg_Note(const std::string& text);
void dlg_Note(const std::string& title, const std::string& text);
// The same with the error icon; an empty title becomes "Error".
void dlg_Error(const std::string& text);
void dlg_Error(const std::string& title, const std::string& text);

// A question with the first one to three strings of `buttons` as captions; the 0-based position
// of the pressed button. Closing it (close box, Escape) gives 2 with three buttons, else 1. Every
// backslash of the question is shown followed by a space. Empty `buttons`: 6003; a parent that is
// not a window: 6000.
int dlg_Ask(const std::string& question, const std::vector<std::string>& buttons);
int dlg_Ask(const std::string& title, const std::string& question, const std::vector<std::string>& buttons);
int dlg_Ask(Window parent, const std::string& title, const std::string& question,
            const std::vector<std::string>& buttons);

// A one-line prompt starting with `default_text`, all of it selected. OK gives the text (at most
// 499 characters); Cancel or closing fails.
std::optional<std::string> dlg_GetStr(const std::string& title, const std::string& prompt,
                                      const std::string& default_text);
std::optional<std::string> dlg_GetStr(Window parent, const std::string& title, const std::string& prompt,
                                      const std::string& default_text);

// A choice from a combined list (edit line over a drop-down list) holding `strings` in order,
// entry `preselect` selected. OK gives 1: the text is looked up exactly among the entries, else
// the first entry that begins with it is taken (an empty text matches nothing); `index` is its
// position (-1 for none) and `chosen` its text (empty for none). Cancel or closing gives 0 with
// `chosen` empty and `index` 0. Empty `strings`: 6003.
int dlg_ListSelect(const std::string& title, const std::vector<std::string>& strings, int preselect,
                   std::string& chosen, int& index);
int dlg_ListSelect(Window parent, const std::string& title, const std::vector<std::string>& strings,
                   int preselect, std::string& chosen, int& index);

// The file chooser. `filters` are pairs (description, pattern; a pattern may list several
// separated by ";"): empty is 6003, an odd count 6200. `file_spec` is the initial text of the
// name field; the first filter whose pattern it matches is preselected ("?" any character but a
// point, "*" any run up to the next point), else the first. Flags: 1 save dialog (asks before
// overwriting), 2 several files, 3 followed by the size of the name buffer. `start_dir`, when
// not empty, is the folder shown first. A chosen name whose last component has no point gets a
// point and the extension of the filter selected at the end (the text after the first point of
// its pattern, up to "*", ";" or the end; none when that is empty). `selected` receives every
// chosen path completed so; the result is the first. Cancel fails. The program's current folder
// is unchanged. Paths are the host's, in cp1251.
std::optional<std::string> dlg_GetFileName(const std::string& file_spec, const std::vector<std::string>& filters,
                                           const std::string& title, const std::vector<int>& flags,
                                           const std::string& start_dir, std::vector<std::string>& selected);

// The folder chooser: the toolkit's file dialog showing folders only, opened at `start_dir` (when
// not empty), with its button for making a new folder. OK gives the chosen folder's path, without
// a trailing "/"; Cancel fails. The program's current folder is unchanged. Paths are the host's,
// in cp1251.
std::optional<std::string> dlg_GetFolderName(const std::string& title, const std::string& start_dir);

// The font chooser opened on `font`; OK gives the chosen font, Cancel fails.
std::optional<Font> dlg_ChooseFont(const Font& font);
