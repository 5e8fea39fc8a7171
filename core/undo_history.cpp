// The steps of the history and their words (see undo_history.h).
#include "core/undo_history.h"

#include "runtime/codepage.h"

namespace {

std::string кавычки(const std::string& s) { return "«"_cps + s + "»"_cps; }
std::string о_записи(const ЗаписьБазы& з) { return "записи "_cps + std::to_string(з.код); }
std::string о_категории(const std::string& к) { return "категории "_cps + кавычки(к); }
std::string о_читателе(const Читатель& ч) { return "читателя "_cps + кавычки(ч.фио); }
std::string о_книге(const Выдача& в) { return "книги "_cps + std::to_string(в.код_книги); }

}  // namespace

ИсторияИзменений& история_изменений() {
  static ИсторияИзменений история;
  return история;
}

void запомнить_изменение(ШагИстории шаг) {
  ИсторияИзменений& история = история_изменений();
  история.повтор.clear();
  история.отмена.push_back(std::move(шаг));
  if (история.отмена.size() > глубина_истории) история.отмена.erase(история.отмена.begin());
}

void забыть_историю() { история_изменений() = ИсторияИзменений{}; }

std::string описание_шага(const ШагИстории& шаг) {
  struct {
    std::string operator()(const ВводЗаписи& s) const { return "ввод "_cps + о_записи(s.запись); }
    std::string operator()(const ПравкаЗаписи& s) const { return "изменение "_cps + о_записи(s.старая); }
    std::string operator()(const УдалениеЗаписи& s) const { return "удаление "_cps + о_записи(s.запись); }
    std::string operator()(const ВводКатегории& s) const { return "ввод "_cps + о_категории(s.категория); }
    std::string operator()(const ПравкаКатегории& s) const { return "изменение "_cps + о_категории(s.старая); }
    std::string operator()(const УдалениеКатегории& s) const { return "удаление "_cps + о_категории(s.категория); }
    std::string operator()(const ИмпортЗаписей& s) const {
      return s.источник.empty() ? "импорт записей"_cps : "импорт из "_cps + кавычки(s.источник);
    }
    std::string operator()(const ВводЧитателя& s) const { return "ввод "_cps + о_читателе(s.читатель); }
    std::string operator()(const ПравкаЧитателя& s) const { return "изменение "_cps + о_читателе(s.старый); }
    std::string operator()(const УдалениеЧитателя& s) const { return "удаление "_cps + о_читателе(s.читатель); }
    std::string operator()(const ВыдачаКниги& s) const { return "выдача "_cps + о_книге(s.выдача); }
    std::string operator()(const ВозвратКниги& s) const { return "возврат "_cps + о_книге(s.прежняя); }
  } слова;
  return std::visit(слова, шаг);
}

std::string что_отменить() {
  const auto& шаги = история_изменений().отмена;
  return шаги.empty() ? std::string() : описание_шага(шаги.back());
}

std::string что_повторить() {
  const auto& шаги = история_изменений().повтор;
  return шаги.empty() ? std::string() : описание_шага(шаги.back());
}
