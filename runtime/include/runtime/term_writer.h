// The fact-file writer: one value of any value type, or one fact term, in the text syntax that
// the reader (term_reader.h) reads back. Text is code page 1251 bytes, written as it stands
// apart from the escapes of strings and chars; nothing here adds a line end.
#pragma once

#include <string>

#include "runtime/fact_store.h"
#include "runtime/value_term.h"
#include "runtime/value_type.h"

// Appends `value` of `type` to `out`. A value whose form does not fit its type (a text term for
// an integer type, a functor index outside the domain) raises 1000; a real that the syntax cannot
// hold (an infinity, a not-a-number) raises 1402, so that nothing is written that would not read
// back. A real above 1.797693134E+308 in magnitude is written as that value.
void RNT_WriteTerm(std::string& out, const TypeDesc& type, const Term& value);
// Appends a fact of `section`: the kind's name and, when the kind has fields, "(" the fields
// separated by "," ")".
void RNT_WriteFact(std::string& out, const FactSection& section, const Term& fact);
// Appends the fact stored in `block` (a record of `section` in the store's layout), read in
// place without copying it out first: what a save writes for each fact.
void RNT_WriteStoredFact(std::string& out, const FactSection& section, const std::byte* block);
// `value` of `type` as a string in the writer's syntax.
std::string RNT_TermStr_io(const TypeDesc& type, const Term& value);
