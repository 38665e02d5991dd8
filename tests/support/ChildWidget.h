#pragma once
// Finds a dialog's widget by its object name for a test.

#include <QWidget>

#include <gtest/gtest.h>

namespace testutil {

// The child of type T with the name; a failed expectation (and null) when there is none.
template <class T>
T* Child(QWidget& parent, const char* name) {
    auto* widget = parent.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

}  // namespace testutil
