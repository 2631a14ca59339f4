#pragma once

namespace morvela {

// The icon of a message box: rules choose it, the message service shows it.
enum class MessageIcon { None, Information, Warning, Error };

} // namespace morvela
