// The search and the change/reset exchanges, run on the search's worker thread.
#include <algorithm>
#include <chrono>

#include "session/net/BlockingSocket.h"
#include "session/tools/DeviceSearch.h"
#include "session/net/SearchReplySocket.h"

namespace session {

namespace {

constexpr const char* kBroadcastFailed = "SendBroadCast is wrong";

using Clock = std::chrono::steady_clock;

struct Received {
    bool failed = false;
    std::optional<SearchRecord> record;  // none for a datagram shorter than a record
};

Received ReceiveRecord(SearchReplySocket& socket) {
    std::array<std::uint8_t, kSearchRecordSize> datagram{};
    const long size = socket.Receive(datagram);
    if (size < 0)
        return {true, std::nullopt};
    const auto kept = static_cast<std::size_t>(std::min<long>(size, kSearchRecordSize));
    return {false, SearchRecord::Decode(std::span(datagram).first(kept))};
}

}  // namespace

DeviceSearch::DeviceSearch(DeviceSearchPort& port, SearchEndpoints endpoints, platform::Timing timing)
    : port_(port), endpoints_(std::move(endpoints)), timing_(timing) {}

bool DeviceSearch::StartSearch() {
    worker_.Stop();
    return worker_.Start([this](std::stop_token stop) { RunSearch(stop); });
}

bool DeviceSearch::StartExchange(NetworkChange kind, const SearchRecord& request) {
    worker_.Stop();
    return worker_.Start(
        [this, kind, request](std::stop_token stop) { RunExchange(kind, request, stop); });
}

std::string DeviceSearch::LocalAddress() const {
    return endpoints_.localAddress.empty() ? FormatLocalHostAddress() : endpoints_.localAddress;
}

void DeviceSearch::SendBroadCast(const SearchRecord& record) {
    const auto bytes = record.Encode();
    CBlockingSocket socket;
    try {
        socket.Create(CBlockingSocket::kDatagram);
        socket.SetSockOpt();
        socket.Bind(SocketAddress(LocalAddress(), endpoints_.sourcePort));
        socket.m_saDestination = SocketAddress(endpoints_.broadcastAddress, endpoints_.broadcastPort);
        socket.Sendto(bytes.data(), static_cast<int>(bytes.size()));
    } catch (const CBlockingSocketException&) {
        // Replies may still come (another computer's search, a late device),
        // so the caller listens on regardless.
        port_.ShowMessageText(kBroadcastFailed);
    }
    socket.CloseQuietly();
}

void DeviceSearch::RunSearch(std::stop_token stop) {
    // Bound before the broadcast goes out, so no quick reply is missed.
    SearchReplySocket replies;
    if (replies.Open(endpoints_.replyPort) != SearchReplySocket::OpenResult::Ok) {
        port_.ShowMessageBox(kSearchCannotListenMessage);
        port_.SearchStopped();
        return;
    }
    SendBroadCast(MakeSearchRequest(LocalAddress()));

    const auto start = Clock::now();
    while (Clock::now() - start < timing_.searchDuration) {
        const auto waited = replies.WaitReadable(timing_.searchReplyWait, stop);
        if (waited == SearchReplySocket::WaitResult::Stopped)
            return;  // the dialog is going away or starting over
        if (waited == SearchReplySocket::WaitResult::Timeout)
            break;
        if (waited == SearchReplySocket::WaitResult::Failed) {
            port_.ShowMessageBox(kSearchCannotListenMessage);
            break;
        }
        const Received received = ReceiveRecord(replies);
        if (received.failed)
            break;
        if (received.record)
            port_.DeviceReplied(*received.record);
    }
    replies.Close();
    port_.SearchStopped();
}

void DeviceSearch::RunExchange(NetworkChange kind, const SearchRecord& request, std::stop_token stop) {
    using Stage = ExchangeOutcome::Stage;
    ExchangeOutcome outcome;
    outcome.kind = kind;
    const auto finish = [&](Stage stage) {
        outcome.stage = stage;
        if (const unsigned message = ExchangeMessage(outcome))
            port_.ShowMessageBox(message);
        port_.ExchangeFinished(outcome);
    };

    SearchReplySocket answers;
    switch (answers.Open(endpoints_.replyPort)) {
    case SearchReplySocket::OpenResult::NoSocket:
        return finish(Stage::NoSocket);
    case SearchReplySocket::OpenResult::NoBind:
        return finish(Stage::NoBind);
    case SearchReplySocket::OpenResult::Ok:
        break;
    }
    SendBroadCast(request);

    const auto deadline = Clock::now() + (kind == NetworkChange::SetIp ? timing_.setIpAnswerWait
                                                                        : timing_.resetAnswerWait);
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        switch (answers.WaitReadable(std::max(left, std::chrono::milliseconds(0)), stop)) {
        case SearchReplySocket::WaitResult::Stopped:
            return;
        case SearchReplySocket::WaitResult::Timeout:
            return finish(Stage::NoAnswer);
        case SearchReplySocket::WaitResult::Failed:
            return finish(Stage::WaitFailed);
        case SearchReplySocket::WaitResult::Readable:
            break;
        }
        const Received received = ReceiveRecord(answers);
        if (received.failed)
            return finish(Stage::ReceiveFailed);
        if (received.record) {
            outcome.status = received.record->typeOrStatus;
            return finish(Stage::Answered);
        }
        // A datagram shorter than a record is no answer; wait on for the rest of the time.
    }
}

}  // namespace session
