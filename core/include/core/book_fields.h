// The field table: each field of a book named once — how it is read and written on a record, its
// caption in every view, its column in the list line and in the printed table, its display
// words, whether it belongs to the duplicate key, whether the find filter searches it, and which
// fact table keeps it. The list line, the card, the printed table, the exported and imported
// tables, the find filter and the duplicate rule all read it. Each of them takes a table, the
// program's (поля_книги) by default, so a table with one more field reaches every view at once.
//
// The record struct and its fact kind stay as the catalogue file has them (book_record.h,
// catalogue_facts.h); the table describes them. A field kept elsewhere (a fact table of its own,
// or nowhere, as a test's field) is read and written through its entry's accessors alone.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/book_record.h"

enum class ТипПоля { текст, число };
enum class Выравнивание { влево, вправо };

// The field's column of the list line: the directive "%[-]<ширина>.<точность>" (one of the line
// format "%5.5|%20.18|…", the columns joined by "|").
struct КолонкаСтроки {
  int ширина = 0;
  int точность = 0;
  Выравнивание выравнивание = Выравнивание::вправо;
};

// The field's column of the printed table: its share of the page's width, in characters, and its
// alignment.
struct КолонкаПечати {
  int ширина = 0;
  Выравнивание выравнивание = Выравнивание::влево;
};

// The display words of a field whose values are 0 and 1; any other value has no word.
struct СловаПоля {
  std::string_view при_нуле;
  std::string_view при_единице;
};

// One field of a book.
struct ПолеКниги {
  std::string_view имя;  // the field's name on the record ("автор")
  ТипПоля тип = ТипПоля::текст;
  // Reading and writing the value on a record: the pair of the field's type is set. A text is
  // read as a view valid while the record (or whatever keeps the value) is unchanged.
  std::function<std::string_view(const ЗаписьБазы&)> текст;
  std::function<void(ЗаписьБазы&, std::string)> задать_текст;
  std::function<std::int32_t(const ЗаписьБазы&)> число;
  std::function<void(ЗаписьБазы&, std::int32_t)> задать_число;
  // Its column's caption wherever a column shows it (a table of the list, the printed table, the
  // exported table) and the name the import knows its column by (compared in search form, so
  // letter case and ё/е do not count); more names the import accepts.
  std::string_view название;
  std::vector<std::string_view> другие_названия;
  std::string_view метка_карточки;        // its card label, with its tabs; empty: not on the card
  bool на_карточке_если_задано = false;    // the card leaves its line out while it holds the default
  // Its column's caption in the list's table view; empty: not a column there.
  std::string_view в_таблице;
  std::optional<КолонкаСтроки> в_строке;  // none: not in the list line
  std::optional<КолонкаПечати> в_печати;  // none: not printed
  std::optional<СловаПоля> слова;         // an integer shown as one of two words
  std::int32_t по_умолчанию = 0;          // an integer's value where none is given (an empty cell)
  bool ноль_пусто = false;                // an integer 0 means unknown: shown as an empty text
  // What the import stores for a cell's text (blanks around off), when the field has a rule of
  // its own: a text's stored form or an integer's value; nothing refuses the cell, and
  // `что_ожидается` says what the field takes.
  std::function<std::optional<std::string>(std::string_view)> текст_из_ввода;
  std::function<std::optional<std::int32_t>(std::string_view)> число_из_ввода;
  std::string_view что_ожидается;
  bool код = false;              // the record's code: given by the catalogue, never imported
  bool в_ключе_повтора = false;  // two records equal in every such field are one book twice
  bool ищется = false;           // the find filter looks for words in it
  std::string_view таблица;      // the fact table that keeps it (the catalogue's "база_лит"); empty: none
};

// The fields of a book in their order (the order of the card, the exported table, the list line
// and the printed table), and what the views derive from them once.
class ТаблицаПолей {
 public:
  // A table must have exactly one code field, of type число, and room for its fields in a
  // packed head (64 bits: one for a text, two for an integer).
  explicit ТаблицаПолей(std::vector<ПолеКниги> fields);

  const std::vector<ПолеКниги>& поля() const { return поля_; }
  auto begin() const { return поля_.begin(); }
  auto end() const { return поля_.end(); }
  // The field of that name; null when there is none.
  const ПолеКниги* поле(std::string_view имя) const;
  // The code field.
  const ПолеКниги& код() const { return поля_[код_]; }
  // The list line's format: the directives of the fields in the line, joined by "|".
  const std::string& формат_строки() const { return формат_строки_; }

 private:
  std::vector<ПолеКниги> поля_;
  std::size_t код_ = 0;
  std::string формат_строки_;
};

// The program's field table: the eight fields of the catalogue record.
const ТаблицаПолей& поля_книги();

// The entry of a member of the record, for a table of one's own: the accessors read and write
// the member; every other property is left to the caller.
ПолеКниги поле_записи(std::string_view имя, std::string ЗаписьБазы::*member);
ПолеКниги поле_записи(std::string_view имя, std::int32_t ЗаписьБазы::*member);

// The display word of `value` in a field with words; nothing for a value without one, or a field
// without words.
std::optional<std::string_view> слово_поля(const ПолеКниги& поле, std::int32_t value);
// The field's value as the views show it: a text as it is; an integer as its display word (none
// when the value has none) or, without words, in decimal.
std::optional<std::string> текст_поля(const ПолеКниги& поле, const ЗаписьБазы& record);

// A record's values packed into bytes, for the fields a choice takes, in the table's order: a
// head (a variable-length number) with one bit for each text (not empty) and two for each
// integer (0, 1, or another value, which follows), then the texts that are not empty (their
// length and bytes) and the other integers (in zigzag form), each as its field comes. Equal
// values give equal bytes and only they; a small record takes little more room than its texts.
using ВыборПолей = bool (*)(const ПолеКниги&);
void упаковать_поля(const ЗаписьБазы& record, std::string& out, ВыборПолей which,
                    const ТаблицаПолей& table = поля_книги());
// Reads the values packed at `p` into `record` (through the fields' accessors); the first byte
// after them.
const char* распаковать_поля(const char* p, ЗаписьБазы& record, ВыборПолей which,
                             const ТаблицаПолей& table = поля_книги());
// The first byte after the values packed at `p`.
const char* пропустить_поля(const char* p, ВыборПолей which, const ТаблицаПолей& table = поля_книги());
// The text of `field` among the values packed at `p`; empty when it has none.
std::string_view текст_упаковки(const char* p, const ПолеКниги& field, ВыборПолей which,
                                const ТаблицаПолей& table = поля_книги());

// A number packed as the values are: seven bits a byte, the last byte below 0x80; reading moves
// `p` past it.
void записать_число_упаковки(std::string& out, std::uint64_t n);
std::uint64_t прочитать_число_упаковки(const char*& p);

// The choices of the duplicate key, and of a record's other values that are not its code.
bool поле_ключа(const ПолеКниги& field);
bool поле_вне_ключа(const ПолеКниги& field);

// The duplicate rule, the one place it is written: the fields of the duplicate key packed
// (text byte for byte, integers by value). Two records are one book twice exactly when their keys
// are equal: data entry asks it, and so does the import, which keeps the records it reads as
// their keys. The key is appended to `out`.
void ключ_повтора(const ЗаписьБазы& record, std::string& out, const ТаблицаПолей& table = поля_книги());
std::string ключ_повтора(const ЗаписьБазы& record, const ТаблицаПолей& table = поля_книги());

// The display word of a binding: 0 "Мягкий", 1 "Твёрдый"; any other value fails.
std::optional<std::string> вид_переплета(std::int32_t переплет);
// The display word of the disk flag: 0 "Нет", 1 "Есть"; any other value fails.
std::optional<std::string> наличиедиска(std::int32_t диск);
