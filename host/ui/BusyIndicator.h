#pragma once

#include <QString>

class QWidget;

namespace fai {

// Kinds of busy indicator: connecting to the server, saving, fetching data.
enum BusyKind : int { bkConnecting = 0, bkSaving = 1, bkFetching = 6 };

// Shows the busy indicator over the form (the main form when none is given): an overlay,
// named "aviOcupado", with an animation and the text (the kind's own text when none is
// given; also the overlay's accessible name). It is painted before this returns, because the caller
// then blocks in a server call. Calls nest: each one is undone by one DeactiveShowAvi, and the
// innermost call's form and text are the ones shown. Throws std::invalid_argument for a kind other
// than 0, 1, 6.
void ActiveShowAvi(QWidget* form, int kind, const QString& text = {});
// Undoes the innermost ActiveShowAvi; nothing when none is active, so that failure paths
// may call it without knowing whether the indicator came up.
void DeactiveShowAvi();
// How many ActiveShowAvi calls are not yet undone.
int ShowAviDepth();

}  // namespace fai
