// The words of a file error (see catalogue_exchange.h).
#include "app/catalogue_exchange.h"

#include <cerrno>

#include "runtime/err_messages.h"
#include "runtime/error_codes.h"

std::string причина_ошибки_файла(const RunError& e) {
  if (e.code() == errcode::kNotRegularFile) return "это не обычный файл, а канал, устройство или сокет"_cps;
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
