// The run-time error codes: every code the program raises or reports, named once and grouped by
// the part that owns it. Their texts live in the message file resources/KERNOG.ERR, and a runtime
// test keeps the two in step (every name here has a text there, every text there a name here).
// Host errors are 7000 + the host's error number; their text comes from the host, not the file.
//
// Raise a code by its name, `RUN_Error(errcode::kNotWindow)`; a new code gets its name here and
// its text in KERNOG.ERR in the same change.
#pragma once

namespace errcode {

// ---- The runtime: start and end of the run (run.cpp, heap_settings.cpp) ----
inline constexpr int kInitTwice = 999;     // RUN_Init called twice (also RUN_End without RUN_Init)
inline constexpr int kNoCase = 1000;       // RUN_ErrorExit: an operation that must succeed found no case
inline constexpr int kHeapSettings = 1008;  // Heap.DecommitSize not a power of two of at least a page

// ---- The runtime: host faults turned into errors (fault_signals.cpp), checked arithmetic ----
inline constexpr int kAccessViolation = 1009;
inline constexpr int kStackOverflow = 1010;  // also a fact-file value nested too deeply to read
inline constexpr int kRealOverflow = 1030;
inline constexpr int kIntOverflow = 1031;  // also an integer too large for its type, read or converted
inline constexpr int kDivisionByZero = 1032;
inline constexpr int kRealUnderflow = 1033;         // underflow, denormal operand or inexact result
inline constexpr int kUnexpectedException = 1050;  // any other fault, or a C++ exception no trap took

// ---- The runtime: the fact store (fact_pool.cpp, fact_store.cpp, fact_findall.cpp) ----
inline constexpr int kFactMemory = 1001;   // no memory for a node block or a stored record
inline constexpr int kSecondFact = 1041;   // a second fact for a kind that allows at most one
inline constexpr int kFindallType = 1051;  // collecting all solutions of a value type it cannot copy

// ---- The runtime: file slots and file names (file_slots.cpp, file_names.cpp) ----
inline constexpr int kFileAlreadyOpen = 1101;
inline constexpr int kFileReadOnly = 1103;    // writing to a slot opened for reading only
inline constexpr int kFileNotOpen = 1104;     // a slot that is not open, or not open for this use
inline constexpr int kFileNameTooLong = 1135;  // 256 characters or more
// A whole-file read or a replacement whose file is a pipe, a device or a socket (file_bytes.cpp,
// safe_write.cpp): it is neither read nor replaced.
inline constexpr int kNotRegularFile = 1136;
inline constexpr int kKeyboardInWindows = 1215;  // the keyboard read while the windowing layer runs

// ---- The runtime: formatted output (format_engine.cpp) ----
inline constexpr int kFormatSurplusValue = 1109;  // more values than directives
inline constexpr int kFormatMemory = 1140;        // no memory for the output buffer

// ---- The runtime: reading values from text (term_reader.cpp; also written values) ----
inline constexpr int kReadLeftOver = 1047;  // text left over after the value
inline constexpr int kReadNumber = 1401;    // number expected, a sign on an unsigned type, a bad hex digit
inline constexpr int kReadReal = 1402;      // real expected (also a real that cannot be written)
inline constexpr int kReadString = 1403;    // string expected (also a string without its end)
inline constexpr int kReadChar = 1404;      // char expected
inline constexpr int kReadBracket = 1405;   // "[" or "]" expected
inline constexpr int kReadListSep = 1406;   // "," or "]" expected in a list
inline constexpr int kReadFunctor = 1407;   // unknown functor or fact name
inline constexpr int kReadOpen = 1408;      // "(" expected
inline constexpr int kReadFieldSep = 1409;  // "," or ")" expected
inline constexpr int kReadDollar = 1410;    // "$" expected before a binary block

// ---- The runtime: strings (string_ops.cpp) ----
inline constexpr int kStringTooLong = 1602;  // more than 1073741824 bytes

// ---- Host errors: 7000 + the host's error number n (RUN_OsError) ----
inline constexpr int kHostBase = 7000;
constexpr int host(int n) { return kHostBase + n; }
// The host's error number of host error `code`.
constexpr int host_number(int code) { return code - kHostBase; }

// ---- The windowing layer (gui/ and the editor): argument checks and refusals ----
inline constexpr int kNotWindow = 6000;
inline constexpr int kWrongKind = 6001;  // the wrong kind of window (or the screen) for the operation
inline constexpr int kLayerMemory = 6002;
inline constexpr int kEmptyList = 6003;
inline constexpr int kBadDefinition = 6004;  // a bad menu, window or dialog definition
inline constexpr int kCannotOpenFile = 6005;
inline constexpr int kNoTimerTable = 6009;  // a timer set before the task window exists
inline constexpr int kBadValue = 6010;      // an unknown attribute or an invalid argument value
inline constexpr int kNoDialogResource = 6050;
inline constexpr int kNoCursorResource = 6051;
inline constexpr int kNoMenuResource = 6053;
inline constexpr int kNoBitmapResource = 6054;
inline constexpr int kNotPicture = 6101;      // a file or block in no accepted picture format
inline constexpr int kNoPrintContext = 6103;  // part of the layer's contract; not raised while nothing prints
inline constexpr int kUnknownTimer = 6120;
inline constexpr int kTimerRefused = 6121;
inline constexpr int kFontNotCreated = 6150;
inline constexpr int kOddFilterList = 6200;  // a file filter list that is not made of pairs
inline constexpr int kClassNotRegistered = 6220;
inline constexpr int kDestroyWhileDestroying = 6230;  // a window destroyed from its own e_destroy
inline constexpr int kDrawWhileErasing = 6231;        // drawing during e_erasebackground
inline constexpr int kListAddFailed = 6260;
inline constexpr int kControlNotCreated = 6302;
inline constexpr int kDialogNotCreated = 6304;
inline constexpr int kWindowNotCreated = 6306;
inline constexpr int kDefinitionNotCreated = 6307;  // the window of a definition list
inline constexpr int kNoEventTarget = 6311;
inline constexpr int kCannotPost = 6312;
inline constexpr int kFocusRefused = 6313;
inline constexpr int kMoveRefused = 6315;  // part of the layer's contract; Qt never refuses a move
inline constexpr int kNoControlId = 6316;
inline constexpr int kNoMenu = 6402;  // the window has no menu of its own
inline constexpr int kMenuItemNotFound = 6403;
inline constexpr int kMdiNeedsMenu = 6405;
inline constexpr int kNoHelpEngine = 6422;

// ---- The dialog package (packages/) ----
inline constexpr int kNoValueListEntry = 9002;  // a value list holds no entry of the asked kind

}  // namespace errcode
