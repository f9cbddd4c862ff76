#pragma once

#include "Field.h"

#include <QLineEdit>
#include <QWidget>

#include <utility>

namespace fai {

// Puts the focus on a control the user has to correct, a box's text selected to be typed
// over: a masked box left with its cursor after the last position would take nothing typed.
inline void FocusToCorrect(QWidget* control) {
    control->setFocus();
    if (auto* box = qobject_cast<QLineEdit*>(control)) box->selectAll();
}

// Runs a step; when it fails, the focus first goes to the control the user has to correct
// and the failure then goes on.
template <typename Step>
void FocusOnFailure(QWidget* control, Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (...) {
        FocusToCorrect(control);
        throw;
    }
}

// The same with the grid column of a field.
template <typename Step>
void FocusOnFailure(Field& field, Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (...) {
        field.FocusControl();
        throw;
    }
}

}  // namespace fai
