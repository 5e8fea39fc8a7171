// Switching a term to an alternative while keeping storage it already has.
#include "runtime/value_term.h"

std::string& Term::set_string() {
  if (auto* s = std::get_if<std::string>(&v_)) return *s;
  return v_.emplace<std::string>();
}

Binary& Term::set_binary() {
  if (auto* b = std::get_if<Binary>(&v_)) return *b;
  return v_.emplace<Binary>();
}

Term::List& Term::set_list() {
  if (auto* l = std::get_if<List>(&v_)) return *l;
  return v_.emplace<List>();
}

TermCompound& Term::set_compound() {
  if (auto* c = std::get_if<TermCompound>(&v_)) return *c;
  return v_.emplace<TermCompound>();
}
