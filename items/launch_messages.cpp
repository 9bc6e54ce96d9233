#include "items/launch_messages.h"

namespace tilerack {

namespace {

// The shell's failure codes that have a message of their own.
const char* KnownResultMessage(int32_t result) {
    switch (result) {
    case 0: return "Мало памяти или других ресурсов. Перезагрузитесь или закройте другие программы.";
    case 2: return "Файл не найден.";
    case 3: return "Такого пути не существует.";
    case 5: return "В доступе отказано.";
    case 8: return "Не хватает памяти.";
    case 11: return "Эта прграмма либо несовместима с данной ОС, либо повреждена.";
    case 26: return "A sharing violation occurred.";
    case 27: return "Неверное имя файла.";
    case 28: return "The DDE transaction could not be completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30: return "The DDE transaction could not be completed because other DDE transactions were being processed.";
    case 31: return "С данным расширением не ассоциировано ни одной прграммы.";
    case 32: return "The specified dynamic-link library was not found.";
    default: return nullptr;
    }
}

}  // namespace

std::string ShellResultMessage(int32_t result) {
    if (result > 32) return {};
    if (const char* text = KnownResultMessage(result)) return text;
    return "Номер " + std::to_string(result);
}

}  // namespace tilerack
