// Fact files: saving a fact section as text, one fact per line with CR LF, and consulting such a
// file back into a section (term_writer.h and term_reader.h give the syntax).
//
// A save replaces the file only once the whole new text is on disk (safe_write.h): a failed save
// leaves the previous file as it was and raises the host error. A consult adds the facts of the
// file at the back of their kinds in file order; facts read before a failing line stay in the
// section, and the error's position is in RNT_ConsultErrorFilepos and RNT_ReadTermErrorLinePos.
#pragma once

#include <string>
#include <string_view>

#include "runtime/fact_store.h"

// Writes every fact of the section (kinds in declaration order, facts in chain order) to the
// file `file_name` (code page 1251), replacing its contents. Raises 7000 + errno when the file
// cannot be written; the old file then stays as it was.
void RNT_Save(FactSection& section, std::string_view file_name);
// The text RNT_Save writes: each fact term followed by CR LF.
std::string RNT_SaveText(FactSection& section);

// Reads the file and adds each of its facts at the back of its kind (RNT_Assertz). Raises
// 7000 + errno when the file cannot be opened or read (the section is then unchanged), the
// reader's error for a line that is not a fact of the section, and 1041 for a second fact of a
// kind that allows at most one.
void RNT_Consult(FactSection& section, std::string_view file_name);
// The same for the contents of a file already in memory: CR bytes are dropped, lines end at LF
// and the last line may lack its LF.
void RNT_ConsultText(FactSection& section, std::string_view text);
