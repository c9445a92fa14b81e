#pragma once

namespace katarix::browsers {

// Makes the main window's commands open the register windows of this layer.
void zarejestrujOknaRejestrow();

} // namespace katarix::browsers
