// The lending records: a reader of the library and a loan of a book to a reader, their fields in
// the order of their files ("Читатели.pbs", "Выдачи.pbs"). Dates are kept as the files have them,
// "ГГГГ-ММ-ДД"; a loan's return date is empty while the book is out.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>

// One reader: `читатель_лит(Код, "ФИО", "Группа", "Телефон", "Примечание")`.
struct Читатель {
  std::int32_t код = 0;  // never given to another reader, also once this one is deleted
  std::string фио;
  std::string группа;
  std::string телефон;
  std::string примечание;
  auto fields() { return std::tie(код, фио, группа, телефон, примечание); }
  bool operator==(const Читатель&) const = default;
};

// One loan: `выдача_лит(КодКниги, КодЧитателя, "Выдана", "Срок", "Возвращена")`.
struct Выдача {
  std::int32_t код_книги = 0;
  std::int32_t код_читателя = 0;
  std::string выдана;      // the day the book was issued
  std::string срок;        // the day it is due back
  std::string возвращена;  // the day it came back; empty while it is out
  auto fields() { return std::tie(код_книги, код_читателя, выдана, срок, возвращена); }
  bool operator==(const Выдача&) const = default;
  bool на_руках() const { return возвращена.empty(); }
};
