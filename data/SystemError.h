#pragma once
// The system's reason for a failed file operation, as a Russian sentence for messages.

#include <string>

namespace kel {

// "Нет места на устройстве" for ENOSPC and so on; the system's own text for codes without a
// translation here. Empty for 0.
std::string SystemErrorText(int errorCode);

} // namespace kel
