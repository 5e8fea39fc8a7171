// The columns of an exchanged table and the words of a file error (see catalogue_exchange.h).
#include "app/catalogue_exchange.h"

#include <cerrno>

#include "runtime/err_messages.h"
#include "runtime/error_codes.h"

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

std::string причина_ошибки_файла(const RunError& e) {
  const int n = errcode::host_number(e.code());
  if (n <= 0 || n >= 1000) return "ошибка "_cps + std::to_string(e.code());
  switch (n) {
    case EACCES:
    case EPERM: return "нет прав доступа"_cps;
    case ENOENT: return "нет такого файла или папки"_cps;
    case ENOSPC:
    case EDQUOT: return "на диске нет места"_cps;
    case EROFS: return "диск доступен только для чтения"_cps;
    case EISDIR: return "это папка, а не файл"_cps;
    default: return ERR_HostErrorText(n);
  }
}
