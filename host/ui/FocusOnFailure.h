#pragma once

#include "Field.h"

#include <QWidget>

#include <utility>

namespace fai {

// Runs a step; when it fails, the focus first goes to the control the user has to correct
// and the failure then goes on.
template <typename Step>
void FocusOnFailure(QWidget* control, Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (...) {
        control->setFocus();
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
