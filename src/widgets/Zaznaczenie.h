#pragma once

namespace katarix::widgets {

// The three choices of a command that selects rows or checks items in bulk.
enum class Zaznaczenie { Wszystko, Nic, Odwrotnie };

} // namespace katarix::widgets
