// File slots: the numbered table of files, made on first use; the current input and output
// devices; buffered reading and writing in text mode (every LF written as CR LF, every CR dropped
// on reading). Slots 1-5 are the predefined screen, keyboard, standard input, standard output and
// standard error; slot 6 is the runtime's internal slot for save and consult; the program's own
// file symbols follow, one slot each. File names are code page 1251 text.
// Invariants: a closed slot holds no handle, buffer or name; the current devices always name an
// open slot (closing a slot that is a current device returns that device to the screen or the
// keyboard).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int IO_Screen = 1;
inline constexpr int IO_Keyboard = 2;
inline constexpr int IO_Stdin = 3;
inline constexpr int IO_Stdout = 4;
inline constexpr int IO_Stderr = 5;
// The runtime's own slot for saving and consulting fact files.
inline constexpr int IO_SystemPF = 6;

// The buffer of an opened file; a serial device (a name "COM" followed by a digit) or a terminal
// gets a one-byte buffer instead.
inline constexpr std::size_t IO_FileBufferSize = 16384;

// The slot of a program file symbol such as "myfile"; the first declaration of a symbol makes its
// slot, later ones return the same slot. The predefined names "screen", "keyboard", "stdin",
// "stdout" and "stderr" give their slots.
int IO_DeclareFile(std::string_view symbol);
bool IO_IsOpen(int slot);

// Opening. Each raises 1101 when the slot is already open (the predefined slots always are),
// 1104 for a slot number that does not exist, and 7000 + errno when the host refuses; the slot
// then stays closed.
// Opens an existing file for reading.
void IO_O_Read(int slot, std::string_view file_name);
// Creates the file, or empties an existing one, for writing.
void IO_O_Write(int slot, std::string_view file_name);
// Opens for reading and writing, creating the file if absent, positioned at its end.
void IO_O_App(int slot, std::string_view file_name);
// Opens for reading and writing, creating the file if absent, positioned at its start.
void IO_O_Mod(int slot, std::string_view file_name);

// Writes out the buffer and closes the file; nothing for the predefined slots or a closed slot.
// The slot, its handle, buffer and name are released even when writing out or closing fails;
// the error (7000 + errno) is raised after that.
void IO_Close(int slot);
// Writes out the slot's buffer; with `to_disk` also asks the host to put the file's data on disk.
// Raises 7000 + errno on failure, 1104 when the slot is not open.
void IO_Flush(int slot, bool to_disk = false);

// Current output device: 1104 for a slot that is not open, 1103 for one open only for reading.
void IO_WrDev_i(int slot);
int IO_WrDev_o();
// Current input device: 1104 for a slot that is not open for reading.
void IO_RdDev_i(int slot);
int IO_RdDev_o();

// Writing to the current output device. The screen and the standard output slot hand the text
// to the console routines (console_output.h); standard error writes unbuffered.
void IO_WrStr(std::string_view text);
void IO_WrCh(char ch);
// Writes one LF (CR LF on disk).
void IO_Nl();

// The next line of the current input device, without its LF (and without any CR); a line may be
// of any length. At the end of the file a last line without LF is returned once; after that (and
// for an empty file at once) there is no line. Reading the keyboard or standard input while the
// windowing layer runs raises 1215; a host read error raises 7000 + errno.
std::optional<std::string> IO_RdLine();

// The whole file as one string in text mode (CR bytes dropped). Reads at most the size the file
// had when it was opened. Raises 7000 + errno when the file cannot be opened or read, and
// errcode::kNotRegularFile, without waiting, for a pipe, a device or a socket.
std::string IO_RdFile(std::string_view file_name);
// The whole file's bytes as they are on disk (no line-end translation), for a file of at most
// `max_bytes`; nothing when it is longer. Raises 7000 + errno when the file cannot be opened or
// read, and errcode::kNotRegularFile, without waiting, for a pipe, a device or a socket.
std::optional<std::string> IO_RdFileBytes(std::string_view file_name, std::size_t max_bytes);

// Set by the windowing layer while its message loop runs: the keyboard cannot be read then.
void IO_SetLayerRunning(bool running);
bool IO_LayerRunning();

// Start of the run: makes the slot table and sets the devices to the screen and the keyboard.
void IO_InitFiles();
// End of the run: flushes the standard streams, closes every open program slot (each one, even
// when an earlier one fails), returns the devices to the screen and the keyboard, and then raises
// the first error met, if any.
void IO_EndFiles();
