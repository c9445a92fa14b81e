#pragma once

#include "jet/NumberText.h"

#include <QChar>

namespace katarix::test {

// Sets the program's decimal separator for the guard's lifetime and restores the one before.
class SeparatorGuard {
public:
    explicit SeparatorGuard(QChar separator) : m_saved(jet::decimalSeparator())
    {
        jet::setDecimalSeparator(separator);
    }
    ~SeparatorGuard() { jet::setDecimalSeparator(m_saved); }
    SeparatorGuard(const SeparatorGuard &) = delete;
    SeparatorGuard &operator=(const SeparatorGuard &) = delete;

private:
    QChar m_saved;
};

} // namespace katarix::test
