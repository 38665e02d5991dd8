#pragma once
// The player link over a Unix-domain socket of the client's: the player finds
// it through QUENLO_PLAYER_LINK, connects and says hello with its process id.
// One thread of the link's own accepts connections and reads what players
// send; every other call is bounded by the answer wait.

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>

#include "platform/WakeFd.h"
#include "platform/WorkerThread.h"
#include "recording/player/PlayerLink.h"

namespace recording {

class UnixPlayerLink final : public PlayerLink {
public:
    // Listens in `folder`; `answerWait` bounds each send and each record's answer.
    explicit UnixPlayerLink(platform::Millis answerWait, std::filesystem::path folder = DefaultFolder());
    ~UnixPlayerLink() override;
    UnixPlayerLink(const UnixPlayerLink&) = delete;
    UnixPlayerLink& operator=(const UnixPlayerLink&) = delete;

    // $XDG_RUNTIME_DIR, else the temporary folder.
    static std::filesystem::path DefaultFolder();
    // False when the socket could not be made; every start then fails.
    bool Listening() const { return listenFd_ >= 0; }
    const std::filesystem::path& Address() const { return address_; }

    std::filesystem::path Folder() const override { return folder_; }
    pid_t StartPlayer(const std::filesystem::path& program, const std::vector<std::string>& arguments) override;
    PlayerHello WaitForHello(pid_t pid, platform::Millis timeout, std::stop_token stop) override;
    bool IsAlive(PlayerConnection connection, pid_t pid) override;
    bool SendRecord(PlayerConnection connection, std::uint32_t record, std::span<const std::uint8_t> data) override;
    bool Post(PlayerConnection connection, std::uint32_t message, std::uint32_t wParam,
              std::uint64_t lParam) override;
    void Forget(PlayerConnection connection) override;
    void SetNoticeHandler(NoticeHandler handler) override;

private:
    struct Connection;
    void Run(std::stop_token stop);
    void Read(PlayerConnection id, const std::shared_ptr<Connection>& connection);
    void Close(PlayerConnection id, const std::shared_ptr<Connection>& connection);
    std::shared_ptr<Connection> Find(PlayerConnection id);
    bool Send(Connection& connection, const PlayerFrame& frame);

    const platform::Millis answerWait_;
    const std::filesystem::path folder_;
    std::filesystem::path address_;
    int listenFd_ = -1;
    platform::WakeFd stopWake_;  // rung when the link's thread is asked to stop

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<PlayerConnection, std::shared_ptr<Connection>> connections_;
    PlayerConnection nextId_ = 1;
    // Since the last start: connections that hung up before their hello, and the latest hello.
    unsigned silentHangUps_ = 0;
    PlayerConnection helloConnection_ = 0;
    pid_t helloPid_ = 0;
    NoticeHandler handler_;

    platform::WorkerThread thread_;
};

}  // namespace recording
