#pragma once

namespace katarix::app {

// The font of the whole user interface (Tahoma 11 px where present, else a sans-serif face
// with Polish letters).
void UstawCzcionkeProgramu();

} // namespace katarix::app
