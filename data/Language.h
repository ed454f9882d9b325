#pragma once

namespace kel {

// The language of the texts that the user reads. Files, their keys and the report tool's
// machine-readable output are the same in every language.
enum class Language { Russian, English };

} // namespace kel
