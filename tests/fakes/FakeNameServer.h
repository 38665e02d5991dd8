#pragma once
// Stands in for the system's name server while it lives: names it was told
// about resolve to their address, silent names never get an answer (until the
// stand-in goes), every other name is unknown. Each name asked is logged.

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "fakes/CallLog.h"
#include "session/net/HostLookup.h"

namespace fakes {

class FakeNameServer {
public:
    FakeNameServer() {
        previous_ = session::SetHostResolver([state = state_](const std::string& name) {
            state->asked.Add(name);
            std::unique_lock lock(state->mutex);
            if (state->silent.count(name) != 0) {
                state->released.wait(lock, [&] { return state->gone; });
                return std::optional<std::uint32_t>();
            }
            const auto found = state->answers.find(name);
            return found == state->answers.end() ? std::nullopt : std::optional(found->second);
        });
    }
    // Look-ups still waiting on a silent name end now with "unknown"; their
    // callers have long given up.
    ~FakeNameServer() {
        session::SetHostResolver(std::move(previous_));
        {
            std::lock_guard lock(state_->mutex);
            state_->gone = true;
        }
        state_->released.notify_all();
    }
    FakeNameServer(const FakeNameServer&) = delete;
    FakeNameServer& operator=(const FakeNameServer&) = delete;

    // address in host byte order: 0x7F000002 is 127.0.0.2.
    void Answer(const std::string& name, std::uint32_t address) {
        std::lock_guard lock(state_->mutex);
        state_->answers[name] = address;
    }
    void Silence(const std::string& name) {
        std::lock_guard lock(state_->mutex);
        state_->silent.insert(name);
    }
    // The names asked so far, in order.
    const CallLog& Asked() const { return state_->asked; }

private:
    // Shared with the look-up helpers, which may outlive the stand-in.
    struct State {
        std::mutex mutex;
        std::condition_variable released;
        bool gone = false;
        std::map<std::string, std::uint32_t> answers;
        std::set<std::string> silent;
        CallLog asked;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
    session::HostResolver previous_;
};

}  // namespace fakes
