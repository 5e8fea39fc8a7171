// The columns of an exchanged table and the words of a file error (see catalogue_exchange.h).
#include "app/catalogue_exchange.h"

#include "runtime/err_words.h"

std::string значение_колонки(const ЗаписьБазы& з, Колонка к) {
  switch (к) {
    case Колонка::код: return std::to_string(з.код);
    case Колонка::автор: return з.автор;
    case Колонка::наименование: return з.наименование;
    case Колонка::категория: return з.категория;
    case Колонка::вид: return з.вид;
    case Колонка::диск: return наличиедиска(з.диск).value_or(std::to_string(з.диск));
    case Колонка::переплёт: return вид_переплета(з.переплет).value_or(std::to_string(з.переплет));
    case Колонка::обложка: return з.обложка;
  }
  return std::string();
}

std::string причина_ошибки_файла(const RunError& e) { return ERR_ErrorWords(e.code()); }
