// The help viewer: a window of the layer that shows a help file (HTML with a contents page),
// owned by the task window. The file is looked for in the working directory, the program's
// directory and the program's compiled-in help files; a missing file is shown as such in the
// viewer, never raised as a run-time error. Topics are anchors named "context-<n>".
#pragma once

#include <cstdint>
#include <string>

void uix_ShowHelp(const std::string& help_file);
void uix_ShowHelpContext(const std::string& help_file, std::int32_t context_id);
void uix_ShowHelpKeyWord(const std::string& help_file, const std::string& key_word);
void uix_HelpClose();
// The program's answer to F1 in a standard dialog (a prompt, a question, a list selection, the
// file or the font chooser), which has no help of its own; nullptr (the start) leaves F1 there
// without effect. Help shown while a modal dialog runs opens on top of that dialog, usable at
// once, and closes with it.
using HelpRequestHandler = void (*)();
void uix_SetHelpRequestHandler(HelpRequestHandler handler);
// The forms with a help engine: 0 is the layer's viewer, 1 is run-time error 6422, others 6010.
void uix_ShowHelp(const std::string& help_file, int engine);
void uix_ShowHelpContext(const std::string& help_file, std::int32_t context_id, int engine);
void uix_ShowHelpKeyWord(const std::string& help_file, const std::string& key_word, int engine);
void uix_HelpClose(int engine);
