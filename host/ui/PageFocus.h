#pragma once

class QTabWidget;

namespace fai {

// A tab clicked while a control of the page shown has the focus takes the focus into the
// page clicked, as switching pages from the keyboard does. Left to itself, Qt hands the focus
// of a page switched away to the next control of the tab chain, which may lie in another
// area of the screen (a filter panel) with enter and exit events of its own.
void CarryFocusIntoClickedPages(QTabWidget* pages);

}  // namespace fai
