#pragma once

namespace morvela {

// Started with no desktop to show its windows on (a text console, a remote
// shell without a forwarded display), Qt would abort with advice to
// reinstall. Instead the program says in one line on the standard error
// that no desktop session was found, and exits with status 1.
//
// DesktopSessionExpected, before the QApplication is made: false (and the
// line said) when no display is named at all. Otherwise, until
// DesktopSessionReached is called after the QApplication is made, a display
// that is named but cannot be reached is told the same way.
bool DesktopSessionExpected(int argc, char* argv[]);
void DesktopSessionReached();

} // namespace morvela
