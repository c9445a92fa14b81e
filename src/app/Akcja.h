#pragma once

#include "app/Komunikaty.h"

#include <exception>

namespace katarix::app {

// Runs a user action; an exception it throws goes to the standard exception display and the
// window stays as it was.
template <typename F> void WykonajAkcje(F &&akcja)
{
    try {
        akcja();
    } catch (const std::exception &error) {
        PokazWyjatek(error);
    }
}

} // namespace katarix::app
