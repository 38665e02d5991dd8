#pragma once
// A sound output whose device a test drives: it queues what is written up to
// the room asked for at Open, and frees room only when the test says the
// device has played bytes (Play). Everything written is kept, in order.

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/SoundOutput.h"

namespace fakes {

class FakeSoundDevice {
public:
    // The device plays this many more bytes, making room for as many.
    void Play(std::size_t bytes) {
        {
            std::lock_guard lock(mutex_);
            room_ += bytes;
        }
        changed_.notify_all();
    }
    std::vector<std::uint8_t> Written() const {
        std::lock_guard lock(mutex_);
        return written_;
    }
    std::size_t WrittenCount() const {
        std::lock_guard lock(mutex_);
        return written_.size();
    }
    platform::SoundFormat Format() const {
        std::lock_guard lock(mutex_);
        return format_;
    }
    int Opens() const { return counter(opens_); }
    int Drops() const { return counter(drops_); }
    int Closes() const { return counter(closes_); }

    // Open fails, as on a computer without a sound card.
    bool missing = false;

private:
    friend class FakeSoundOutput;
    int counter(const int& c) const {
        std::lock_guard lock(mutex_);
        return c;
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::uint8_t> written_;
    platform::SoundFormat format_;
    std::size_t room_ = 0;
    int opens_ = 0;
    int drops_ = 0;
    int closes_ = 0;
};

class FakeSoundOutput : public platform::SoundOutput {
public:
    explicit FakeSoundOutput(std::shared_ptr<FakeSoundDevice> device) : device_(std::move(device)) {}

    bool Open(const platform::SoundFormat& format, std::size_t queueBytes, std::string& error) override {
        if (device_->missing) {
            error = "no sound device";
            return false;
        }
        std::lock_guard lock(device_->mutex_);
        ++device_->opens_;
        device_->format_ = format;
        device_->room_ = queueBytes;
        return true;
    }
    std::optional<std::size_t> WaitForRoom(platform::Millis timeout) override {
        std::unique_lock lock(device_->mutex_);
        device_->changed_.wait_for(lock, timeout, [&] { return device_->room_ > 0; });
        return device_->room_;
    }
    std::optional<std::size_t> Write(std::span<const std::uint8_t> bytes) override {
        std::lock_guard lock(device_->mutex_);
        const std::size_t n = std::min(bytes.size(), device_->room_);
        device_->written_.insert(device_->written_.end(), bytes.begin(), bytes.begin() + n);
        device_->room_ -= n;
        return n;
    }
    void Drop() override {
        std::lock_guard lock(device_->mutex_);
        ++device_->drops_;
    }
    void Close() override {
        std::lock_guard lock(device_->mutex_);
        ++device_->closes_;
    }

private:
    std::shared_ptr<FakeSoundDevice> device_;
};

}  // namespace fakes
