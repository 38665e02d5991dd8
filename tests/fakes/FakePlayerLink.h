#pragma once
// A PlayerLink that logs what the client sent and answers as the test sets it.

#include <string>

#include "fakes/CallLog.h"
#include "recording/player/PlayerLink.h"

namespace fakes {

class FakePlayerLink : public recording::PlayerLink, public CallLog {
public:
    std::filesystem::path folder;
    pid_t startPid = 4321;  // 0: the start fails
    recording::PlayerHello hello{recording::PlayerHello::Kind::Hello, 7};
    bool alive = true;
    bool recordAnswered = true;

    std::filesystem::path Folder() const override { return folder; }
    pid_t StartPlayer(const std::filesystem::path& program, const std::vector<std::string>& arguments) override {
        std::string line = "start:" + program.filename().string();
        for (const auto& a : arguments)
            line += "|" + a;
        Add(line);
        return startPid;
    }
    recording::PlayerHello WaitForHello(pid_t, platform::Millis, std::stop_token) override { return hello; }
    bool IsAlive(recording::PlayerConnection, pid_t) override { return alive; }
    bool SendRecord(recording::PlayerConnection c, std::uint32_t record, std::span<const std::uint8_t> data) override {
        Add("record:" + std::to_string(c) + ":" + std::to_string(record) + ":" + std::to_string(data.size()));
        return recordAnswered;
    }
    bool Post(recording::PlayerConnection c, std::uint32_t message, std::uint32_t wParam, std::uint64_t lParam) override {
        Add("post:" + std::to_string(c) + ":" + std::to_string(message) + ":" + std::to_string(wParam) + ":" +
            std::to_string(lParam));
        return true;
    }
    void Forget(recording::PlayerConnection c) override { Add("forget:" + std::to_string(c)); }
    void SetNoticeHandler(NoticeHandler handler) override { notice = std::move(handler); }

    // Delivers a notice as if the player had sent it on `from`.
    void Notice(recording::PlayerConnection from, std::uint32_t message, std::uint32_t wParam) {
        if (notice)
            notice(from, {message, wParam, 0, {}});
    }

private:
    NoticeHandler notice;
};

}  // namespace fakes
