#pragma once
// A BurnEngine whose answers the test sets; it logs the calls and counts what
// it handed out, so a test sees every release.

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <chrono>
#include <vector>

#include "fakes/CallLog.h"
#include "recording/backup/BurnEngine.h"

namespace fakes {

// The fake's own objects behind the engine's opaque handles.
struct FakeDevice {
    int index;
};
struct FakeStamp {};
struct FakeTrack {
    std::vector<std::string> names;
};

class FakeBurnEngine : public recording::BurnEngine, public CallLog {
public:
    struct DiscItem {
        std::string name;
        std::tm time{};
    };

    bool connectOk = true;
    int initResult = 0;
    std::optional<std::vector<std::string>> drives = std::vector<std::string>{"TEST DRIVE"};
    bool openFails = false;
    std::optional<recording::BurnDiscInfo> disc = recording::BurnDiscInfo{1000000, recording::kMediaCd, 0};
    std::vector<DiscItem> discItems;
    int importResult = 0;
    int burnResult = 0;
    std::string refusal;  // the reason given with a refused open or burn
    bool holdUntilAborted = false;  // a burn that runs until it is aborted (at most 10 s)
    std::atomic<bool> burnAborted{false};  // a burn ended by its abort
    int inits = 0;
    long handedOut = 0;
    std::vector<std::string> lastTrack;
    recording::BurnCallbacks callbacks;

    bool Connect() override { Add("connect"); return connectOk; }
    void Disconnect() override { Add("disconnect"); }
    int Init(recording::BurnCallbacks c) override {
        ++inits;
        callbacks = std::move(c);
        return initResult;
    }
    bool Done() override { Add("done"); return handedOut != 0; }
    std::optional<std::vector<std::string>> AvailableDrives() override { return drives; }
    recording::BurnDevice* OpenDevice(int index, recording::DeviceUse use) override {
        Add("open:" + std::to_string(index) + (use == recording::DeviceUse::Check ? ":check" : ":burn"));
        if (openFails)
            return nullptr;
        ++handedOut;
        return reinterpret_cast<recording::BurnDevice*>(new FakeDevice{index});
    }
    void CloseDevice(recording::BurnDevice* device) override {
        if (!device)
            return;
        Add("close");
        delete reinterpret_cast<FakeDevice*>(device);
        --handedOut;
    }
    std::optional<recording::BurnDiscInfo> DiscInfo(recording::BurnDevice*) override { return disc; }
    recording::BurnIsoItem* ImportDataTrack(recording::BurnDevice*, int track, recording::BurnStamp** stamp,
                                            int* result) override {
        Add("import:" + std::to_string(track));
        *stamp = nullptr;
        *result = importResult;
        recording::BurnIsoItem* first = nullptr;
        recording::BurnIsoItem** link = &first;
        for (const auto& d : discItems) {
            auto* item = CreateIsoItem();
            item->name = d.name;
            item->time = d.time;
            item->reference = true;
            *link = item;
            link = &item->next;
        }
        if (first) {
            *stamp = reinterpret_cast<recording::BurnStamp*>(new FakeStamp);
            ++handedOut;
        }
        return first;
    }
    recording::BurnIsoItem* CreateIsoItem() override {
        ++handedOut;
        return new recording::BurnIsoItem;
    }
    void FreeIsoItemTree(recording::BurnIsoItem* first) override {
        while (first) {
            auto* next = first->next;
            FreeIsoItemTree(first->firstChild);
            delete first;
            --handedOut;
            first = next;
        }
    }
    void FreeStamp(recording::BurnStamp* stamp) override {
        if (!stamp)
            return;
        delete reinterpret_cast<FakeStamp*>(stamp);
        --handedOut;
    }
    recording::BurnTrack* CreateIsoTrack(const recording::BurnIsoItem* first, const std::string& volume) override {
        auto* track = new FakeTrack;
        for (auto* item = first; item; item = item->next)
            track->names.push_back(item->name + (item->reference ? "(disc)" : "(" + item->sourcePath + ")"));
        lastTrack = track->names;
        Add("track:" + volume);
        ++handedOut;
        return reinterpret_cast<recording::BurnTrack*>(track);
    }
    void FreeIsoTrack(recording::BurnTrack* track) override {
        if (!track)
            return;
        delete reinterpret_cast<FakeTrack*>(track);
        --handedOut;
    }
    int Burn(recording::BurnDevice*, const recording::BurnWriteRecord& record, int flags,
             const recording::BurnProgress& progress) override {
        Add("burn:" + std::to_string(flags) + (record.stamp ? ":stamp" : ":nostamp"));
        progress.progress(50);
        for (int i = 0; holdUntilAborted && i < 2000 && !progress.aborted(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (progress.aborted()) {
            burnAborted = true;
            return recording::kBurnAborted;
        }
        return burnResult;
    }
    std::string ErrorLog() override { return {}; }
    std::string RefusalReason() override { return refusal; }
    void ClearErrors() override {}
};

}  // namespace fakes
