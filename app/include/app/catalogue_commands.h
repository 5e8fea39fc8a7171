// The catalogue commands of the task window: "Новый каталог…", "Открыть каталог…", the last
// catalogues and "Резервная копия…" of "Файл", and the toolbar's New, Open and Save, which act
// as the first, the second and the last of them.
#pragma once

#include <optional>

#include "layer/layer.h"

// Carries out the command `id` when it is one of them: whether it completed. Nothing for any
// other id.
std::optional<bool> команда_каталога(Window task, int id);
