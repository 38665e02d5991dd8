#pragma once
// A page value as loaded from the device and as the person left it. Filling
// from the device sets both; only an edit moves the current value, so a value
// the person never touched is never sent, whatever it holds.

#include <utility>

namespace config {

template <typename T>
class Tracked {
public:
    Tracked() = default;
    explicit Tracked(T loaded) : loaded_(loaded), current_(std::move(loaded)) {}

    void Load(T value) {
        loaded_ = value;
        current_ = std::move(value);
    }
    void Edit(T value) { current_ = std::move(value); }

    const T& Loaded() const { return loaded_; }
    const T& Current() const { return current_; }
    bool Changed() const { return !(current_ == loaded_); }

private:
    T loaded_{};
    T current_{};
};

}  // namespace config
