// Reading a table of records for an import, against the catalogue, the categories and the kinds in
// memory, which it does not change: the plan of what the import would add, what it passes over
// and what it refuses, and why. The table is UTF-8 (with or without a byte-order mark) or cp1251,
// its separator a comma or a semicolon; its first row names the columns of exchange_table.h (the
// fields of the field table) in any order ("Код" and unknown columns are passed over).
//
// What a row becomes:
// - a value is taken as the export wrote it: one guarding apostrophe before a formula's first
//   character taken off (значение_ячейки_csv), a line break in it kept as the program's own
//   ("\n", from CR LF, LF or CR); a value of blanks only (spaces, tabs, line breaks, non-breaking
//   spaces) is empty;
// - the disk and the binding are their words, empty (0) or a whole number: any number stays;
// - a category or a kind that differs from a stored one (or one an earlier row brings) only in
//   letter case or surrounding blanks is written as that one, and the plan says so; any other is
//   new, and is added with the records;
// - a row equal to a stored record or to an earlier row is passed over, and so is a repetition
//   of the first row, each named in the plan; a row whose values are all empty is passed over as
//   an empty line is;
// - a row is refused for: a field the reader cannot read, a count of values unlike the first
//   row's, a value longer than kДлиннейшееЗначение characters, a character code page 1251 lacks
//   (named; a replacement character U+FFFD and a byte-order mark as such), malformed UTF-8, a
//   control character, a disk or binding that is neither a word nor a number.
//
// Memory stays near the file's size however hostile the file: a row keeps at most as many fields
// as the first row has, each field at most one character past the longest value, the records to
// add are packed one after another in blocks, and only the first kЗамечанийВПлане reasons of each
// list are kept, with the count of all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/book_fields.h"
#include "core/catalogue_facts.h"
#include "core/change_path.h"

// The longest value a field may hold, in characters (bytes of code page 1251).
inline constexpr std::size_t kДлиннейшееЗначение = 4000;
// The largest file the import reads.
inline constexpr std::size_t kНаибольшийФайлИмпорта = 256u << 20;
// The most columns the first row may name.
inline constexpr std::size_t kНаибольшееЧислоСтолбцов = 1000;
// How many reasons each list of a plan keeps; the rest are counted.
inline constexpr std::size_t kЗамечанийВПлане = 1000;

// A row of the file with the line it starts on and what is said of it (cp1251).
struct ОтказСтроки {
  std::size_t строка = 0;
  std::string причина;
  bool operator==(const ОтказСтроки&) const = default;
};

// Bytes kept in blocks of up to a mebibyte (a longer entry gets a block of its own): an entry never
// moves once written, and growing never copies what is kept. A place names an entry by its block
// and its offset in 32 bits.
class ЛентаБайтов {
 public:
  using Место = std::uint32_t;
  static constexpr std::size_t kБлок = std::size_t{1} << 20;
  // Appends `entry` in one piece; its place. Raises std::bad_alloc when no place can name it.
  Место добавить(std::string_view entry);
  const char* по(Место место) const { return блоки_[место >> 20].данные.get() + (место & (kБлок - 1)); }
  // Calls f(place) for every entry in the order they were added; `length(bytes)` is the length
  // of the entry that begins at `bytes`.
  template <class Length, class F>
  void обойти(Length length, F f) const {
    for (std::size_t b = 0; b < блоки_.size(); ++b) {
      const char* данные = блоки_[b].данные.get();
      for (std::size_t at = 0; at < блоки_[b].занято; at += length(данные + at)) f(static_cast<Место>(b << 20 | at));
    }
  }

 private:
  struct Блок {
    std::unique_ptr<char[]> данные;
    std::size_t размер = 0;
    std::size_t занято = 0;
  };
  std::vector<Блок> блоки_;
};

// The records an import adds, in the file's order, packed: a record takes little more room than
// its values.
class ЗаписиИмпорта {
 public:
  std::size_t size() const { return число_; }
  bool empty() const { return число_ == 0; }
  // Calls f(record, new category, new kind) for each record in the file's order (its code 0): the
  // flags tell that the record is the first to bring its category or its kind, which the import
  // adds with it.
  void для_каждой(const std::function<void(const ЗаписьБазы&, bool, bool)>& f) const;
  // All records, for a small plan.
  std::vector<ЗаписьБазы> все() const;

 private:
  friend class РазборИмпорта;
  ЛентаБайтов лента_;
  std::size_t число_ = 0;
  const ТаблицаПолей* таблица_ = &поля_книги();  // the fields the records are packed by
};

// What an import will do.
struct ПланИмпорта {
  ЗаписиИмпорта новые;                       // the records to add (codes not given yet)
  std::size_t новых_категорий = 0;           // the categories they bring that the catalogue lacks
  std::size_t новых_видов = 0;               // the kinds they bring that the kinds list lacks
  std::size_t повторы_каталога = 0;          // rows equal to a stored record (the duplicate rule, ключ_повтора)
  std::size_t повторы_файла = 0;             // rows equal to an earlier row of the file
  std::size_t повторы_заголовка = 0;         // rows repeating the first row
  std::vector<ОтказСтроки> отказы;           // the first rows refused, with why, in the file's order
  std::size_t отказов = 0;                   // the rows refused, all
  std::vector<ОтказСтроки> пропуски;         // the first rows passed over (repeats), with why
  std::size_t пропусков = 0;                 // the rows passed over, all
  std::vector<std::string> замены;           // the first categories and kinds written as stored ones, in words
  bool замен_больше = false;                 // more were written so than are named
};

// A file refused as a whole, with the message that says why (cp1251).
struct ОтказФайла {
  std::string причина;
};

// Reads the bytes of a table against the catalogue, the categories and the kinds in memory (it
// changes none). `report` (may be empty) hears how many bytes are read and stops the reading by
// returning false: nothing is then the result. The columns are the fields of `table` (book_fields.h),
// known by their captions and other names; the plan keeps it, which must outlive the plan.
std::optional<std::variant<ПланИмпорта, ОтказФайла>> разобрать_импорт(
    std::string_view bytes, const std::function<bool(std::size_t)>& report = {},
    const ТаблицаПолей& table = поля_книги());

// The bytes of the table in the file `path` for an import, or why they cannot be read, for the
// user (cp1251, naming the file as `file_name`): the host's reason and what to do, or a file
// larger than kНаибольшийФайлИмпорта. A folder, a pipe or a device is not read at all.
std::variant<std::string, ОтказФайла> байты_импорта(std::string_view path, std::string_view file_name);

// The summary of a plan read from the file `file_name` (cp1251), as the user reads it before the
// import changes anything: the records it adds, those already in the catalogue, the rows that
// repeat earlier ones, the new categories and kinds, and the repetitions of the first row.
std::string итог_импорта(const ПланИмпорта& plan, std::string_view file_name);
// The remarks of a plan, a line each (cp1251): the rows refused ("Строка 7: причина"), the rows
// passed over, the new categories and kinds by name, the categories and kinds written as stored
// ones; each list its first kЗамечанийВПлане lines, then how many more. `errors` receives how
// many of the first lines tell of rows refused.
std::vector<std::string> замечания_импорта(const ПланИмпорта& plan, std::size_t& errors);

// The change that carries out a plan (change_path.h): its records in the file's order, with the
// categories and kinds they bring, as one step of the history named after the file.
ИмпортироватьЗаписи операция_импорта(const ПланИмпорта& plan, std::string file_name);
