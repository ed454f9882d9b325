#include "data/SystemError.h"

#include "data/Texts.h"

#include <cerrno>
#include <cstring>
#include <optional>

namespace kel {
namespace {

std::optional<TextId> ReasonId(int code) {
    switch (code) {
    case ENOENT: return TextId::SystemNoEntry;
    case EACCES: return TextId::SystemAccess;
    case EPERM: return TextId::SystemPermission;
    case ENOSPC: return TextId::SystemNoSpace;
#ifdef EDQUOT
    case EDQUOT: return TextId::SystemQuota;
#endif
    case EROFS: return TextId::SystemReadOnly;
    case EISDIR: return TextId::SystemIsFolder;
    case ENOTDIR: return TextId::SystemNotFolder;
    case EEXIST: return TextId::SystemExists;
    case EFBIG: return TextId::SystemTooBig;
    case EIO: return TextId::SystemIo;
    case EMFILE:
    case ENFILE: return TextId::SystemTooManyFiles;
    case ENAMETOOLONG: return TextId::SystemNameTooLong;
    case EBUSY: return TextId::SystemBusy;
#ifdef ELOOP
    case ELOOP: return TextId::SystemLinkLoop;
#endif
    case ENOMEM: return TextId::SystemNoMemory;
    default: return std::nullopt;
    }
}

} // namespace

std::string SystemErrorText(int code, Language language) {
    if (code == 0)
        return {};
    if (const auto id = ReasonId(code))
        return std::string(Text(*id, language));
    const char* text = std::strerror(code);
    return text ? std::string(text) : Text(TextId::SystemErrorCode, language, {std::to_string(code)});
}

} // namespace kel
