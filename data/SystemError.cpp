#include "data/SystemError.h"

#include <cerrno>
#include <cstring>

namespace kel {

std::string SystemErrorText(int code) {
    switch (code) {
    case 0: return {};
    case ENOENT: return "Нет такого файла или папки";
    case EACCES: return "Нет доступа";
    case EPERM: return "Операция не разрешена";
    case ENOSPC: return "Нет места на устройстве";
#ifdef EDQUOT
    case EDQUOT: return "Превышена дисковая квота";
#endif
    case EROFS: return "Файловая система доступна только для чтения";
    case EISDIR: return "Это папка, а не файл";
    case ENOTDIR: return "Путь проходит через файл, а не папку";
    case EEXIST: return "Файл уже существует";
    case EFBIG: return "Файл слишком велик";
    case EIO: return "Ошибка ввода-вывода";
    case EMFILE:
    case ENFILE: return "Открыто слишком много файлов";
    case ENAMETOOLONG: return "Слишком длинное имя файла";
    case EBUSY: return "Файл занят другой программой";
#ifdef ELOOP
    case ELOOP: return "Слишком много символических ссылок";
#endif
    case ENOMEM: return "Недостаточно памяти";
    default: break;
    }
    const char* text = std::strerror(code);
    return text ? std::string(text) : "Ошибка " + std::to_string(code);
}

} // namespace kel
