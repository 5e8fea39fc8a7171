// Category maintenance: the four commands of the "Категории" menu and the choice of a category
// from the sorted list. Each command returns whether it completed; one that does not complete
// changes nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

// All categories in table order, sorted.
std::vector<std::string> получитьсортировсписоккатегорий();

// Lets the user pick a category from the sorted list; nothing when the user does not confirm.
std::optional<std::string> выбратькатегорию(const std::string& заголовок);

bool ввести_категорию();         // "Ввести"
bool редактировать_категорию();  // "Редактировать"
bool удалить_категорию();        // "Удалить"
bool просмотреть_категории();    // "Просмотр"
