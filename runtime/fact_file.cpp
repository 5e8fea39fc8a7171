// Saving a section to its fact file and consulting it back.
#include "runtime/fact_file.h"

#include <cstring>

#include "file_bytes.h"
#include "runtime/safe_write.h"
#include "runtime/term_reader.h"
#include "runtime/term_writer.h"

std::string RNT_SaveText(FactSection& section) {
  std::size_t stored = 0;
  for (std::size_t k = 0; k < section.kind_count(); ++k)
    for (const FactNode* n = section.chain(k).head; n != nullptr; n = n->next) stored += n->size;
  std::string out;
  out.reserve(stored);  // a stored record is larger than its text as a rule
  for (std::size_t k = 0; k < section.kind_count(); ++k) {
    FactEnumeration facts(section, k);
    while (const std::byte* record = facts.step()) {
      RNT_WriteStoredFact(out, section, record);
      out += "\r\n";
    }
  }
  return out;
}

void RNT_Save(FactSection& section, std::string_view file_name) {
  RUN_ReplaceFile(file_name, RNT_SaveText(section));
}

void RNT_ConsultText(FactSection& section, std::string_view text) {
  RNT_ConsultErrorFilepos = 0;
  Term fact;
  std::string without_cr;
  std::size_t start = 0;
  while (start < text.size()) {
    const char* lf = static_cast<const char*>(std::memchr(text.data() + start, '\n', text.size() - start));
    const std::size_t end = lf != nullptr ? static_cast<std::size_t>(lf - text.data()) : text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    // CR bytes are dropped wherever they stand; most lines have one, at their end.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::memchr(line.data(), '\r', line.size()) != nullptr) {
      without_cr.clear();
      for (const char c : line)
        if (c != '\r') without_cr += c;
      line = without_cr;
    }
    // A last piece without LF made of CR bytes alone is no line (the CR bytes are dropped first).
    if (lf == nullptr && line.empty()) break;
    TermLineReader reader(line);
    reader.read_fact(section, fact);
    // Whatever follows the fact on its line is ignored.
    RNT_Assertz(section, fact);
    RNT_ConsultErrorFilepos += line.size() + 1;
  }
}

void RNT_Consult(FactSection& section, std::string_view file_name) {
  RNT_ConsultErrorFilepos = 0;
  RNT_ConsultText(section, RUN_ReadFileBytes(file_name));
}
