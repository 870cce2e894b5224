#pragma once

namespace vekla {

// What a command did: its work, nothing because the user cancelled a dialog,
// nothing because it refused the input (with a message saying why), or
// nothing because it failed (the error box was shown).
enum class Outcome { Done, Cancelled, Refused, Failed };

}  // namespace vekla
