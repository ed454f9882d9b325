#pragma once
// A message for the user: what the window shows in a message box and the report tool prints.

#include <string>

namespace kel {

enum class MessageIcon { Error, Warning };

struct Message {
    std::string Text;    // UTF-8
    std::string Caption; // UTF-8
    MessageIcon Icon = MessageIcon::Error;
};

} // namespace kel
