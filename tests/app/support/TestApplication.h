#pragma once

namespace katarix::test {

// Creates the QApplication of the test process on first use (offscreen unless
// QT_QPA_PLATFORM says otherwise); other test files may have created one already.
void ensureApplication();

} // namespace katarix::test
