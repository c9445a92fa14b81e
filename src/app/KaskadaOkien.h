#pragma once

class QMdiArea;

namespace katarix::app {

// Cascades the visible, not minimised windows of the area from its top left corner, each a title
// bar's height below and right of the one before, in their stacking order (the active one ends
// on top). Every window keeps its size; a maximised one comes back to its normal size. A window
// that would reach past the area's right or bottom edge starts the steps again at the corner.
void KaskadaOkien(QMdiArea &area);

} // namespace katarix::app
