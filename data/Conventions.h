#pragma once
// The user's conventions: the language of the texts and the decimal separator of the numbers
// that the user reads (the system's, or "." where a number goes to a program). Set once at
// start-up and kept in the program state; the text builders take them from there.

#include "data/Language.h"

#include <string>

namespace kel {

struct Conventions {
    Language Lang = Language::Russian;
    std::string DecimalSep = ".";
};

} // namespace kel
