#pragma once
// The one object every thread of the program shares: thread objects, events
// and semaphores, the kernel mailbox, the picture buffers and their ring
// indices, the overlay counters, what the login learned about the device,
// the settings, the control devices and the ports to the windows and the
// recorders. Created once at start-up and published in g_lpApp.
//
// Threads reach it without a lock of its own: flags and numbers are atomics,
// texts are SharedText (copy-out getters), larger shared values sit behind
// their own mutex, and the events and semaphores order the stream stages.
// The buffers are handed from stage to stage by those semaphores.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "session/devices/ControlDeviceList.h"
#include "session/devices/ControlFile.h"
#include "platform/FileLock.h"
#include "platform/SyncObjects.h"
#include "platform/WorkerThread.h"
#include "session/live/FrameHistory.h"
#include "session/AlarmSoundPort.h"
#include "session/RecorderPort.h"
#include "session/ByteBuffer.h"
#include "session/DeviceCommandWorker.h"
#include "session/live/ChannelButtonBar.h"
#include "session/live/FrameHeaderParser.h"
#include "session/live/VideoSizeSelector.h"
#include "session/KernelMailbox.h"
#include "session/net/OptionBlocks.h"
#include "session/files/SettingsFile.h"
#include "session/SharedValue.h"
#include "session/SystemTime.h"
#include "session/files/TraceLog.h"
#include "session/UiPort.h"

namespace recording {
class CdBackupWriter;
class PlayerHandOver;
class PlayerLink;
class SystemConfig;
}

namespace session {

struct MousePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// One account of the device's account list, as the account page edits it.
struct UserAccountEntry {
    std::int32_t dwInUse = 0;
    std::uint16_t wLevel = 0;
    std::int32_t dwActivity = 0;  // minutes; -1 unlimited
    std::string strName;
    std::string strPassword;
};
inline constexpr std::size_t kUserAccountCount = 5;

// Buffer sizes.
inline constexpr std::size_t kSocketSlotSize = 102400;          // one receive slot
inline constexpr std::size_t kPictureBufferSize = 1572864;      // compose, picture, resize, frame copy
inline constexpr std::size_t kSessionCookieSize = 64;

inline constexpr const char* kApplicationVersion = "1.0.5.3";

class AppData {
public:
    AppData();
    ~AppData();
    AppData(const AppData&) = delete;
    AppData& operator=(const AppData&) = delete;

    // ---- Ports ------------------------------------------------------------
    // The main window as the core sees it (stands for the window handle and
    // object the worker threads post to). Without one, calls do nothing.
    void SetUiPort(UiPort* ui) { ui_.store(ui); }
    UiPort& Ui() const;
    // The alarm, manual and schedule recorders; without them, do-nothing ones.
    void SetRecorders(recording::RecorderPort* alarm, recording::RecorderPort* user,
                      recording::RecorderPort* schedule);
    recording::RecorderPort& CAlarmRecord() const;
    recording::RecorderPort& CUserRecord() const;
    recording::RecorderPort& CSchRecord() const;
    // The alarm sound; without one, a do-nothing sound.
    void SetAlarmSound(recording::AlarmSoundPort* sound) { alarmSound_.store(sound); }
    recording::AlarmSoundPort& AlarmWave() const;
    // The alarm list the recorders append to (the alarm list page edits it); null without recorders.
    void SetAlarmList(recording::SystemConfig* list) { alarmList_.store(list); }
    recording::SystemConfig* AlarmList() const { return alarmList_.load(); }

    // ---- Settings and sub-objects ----------------------------------------
    session::CSettingINI CSettingINI;
    session::DebugTraceLog DebugTraceLog;
    session::KernelMailbox KernelMailbox;
    // CtrlFile.ini's records (dw_ControlFileRecordCount, lp_ControlFileRecords).
    mainwindow::ControlFile ControlFile;
    mainwindow::ControlDeviceList C_ControlD;
    // Edited by the account page on the GUI thread only.
    std::array<UserAccountEntry, kUserAccountCount> UserAccountList;
    // The recorders' ring of recent compressed frames (allocated at start-up).
    recording::FrameHistory FrameHistory;

    // ---- Events (created not signalled) -----------------------------------
    platform::Event h_Process_Notify_TerminateEvent;
    platform::Event h_Process_Reply_TerminateEvent;
    platform::Event h_Process_Notify_InitEvent;
    platform::Event h_Process_Reply_InitEvent;
    platform::Event h_NotifyGetJPEGImageThreadResetEvent;
    platform::Event h_FeedBackForNotifyResetEvent;
    platform::Event h_StartToGetJpegImageEvent;
    platform::Event h_EndofGetJpegImageEvent{platform::Event::ResetMode::Manual};
    platform::Event h_StartConnectionThreadEvent;
    platform::Event h_EndConnectionThreadEvent;
    platform::Event h_StartToShowImageEvent;
    platform::Event h_EndofShowImageEvent;
    platform::Event h_FinishShowImageJobEvent;
    platform::Event h_WaveOutDoneEvent;
    platform::Event h_StopAudioWavEvent;

    // ---- Stream semaphores ------------------------------------------------
    static constexpr std::uint16_t w_SocketBufferCount = 2;
    static constexpr std::uint16_t w_ImageBufferCount = 1;
    platform::Semaphore h_SocketBufferFreeSem{w_SocketBufferCount - 1, w_SocketBufferCount - 1};
    platform::Semaphore h_SocketBufferRelSem{0, w_SocketBufferCount - 1};
    platform::Semaphore h_JPEGImageBufferFreeSem{w_ImageBufferCount, w_ImageBufferCount};
    platform::Semaphore h_JPEGImageBufferRelSem{0, w_ImageBufferCount};
    platform::Semaphore h_FrameCopyDoneSem{0, 1};
    // Brings the five semaphores back to their start counts (the tear-down
    // and rebuild of a re-login); only while no stream thread runs.
    void ResetStreamSemaphores();

    // ---- Picture buffers and ring state -----------------------------------
    // Allocated at start-up by the owner of the run; contents not cleared.
    ByteBuffer lp_SocketBuffer;     // w_SocketBufferCount slots of kSocketSlotSize
    // What each receive slot holds; handed over with the slot's semaphores.
    std::array<ImageSlotInfo, w_SocketBufferCount> lp_SlotInfo{};
    ByteBuffer lp_ComposeBuffer;    // kPictureBufferSize
    ByteBuffer lp_ImageBuffer;      // w_ImageBufferCount pictures, bottom-up 24-bit rows
    ByteBuffer lp_ResizeBuffer;     // kPictureBufferSize
    ByteBuffer lp_FrameCopyBuffer;  // kPictureBufferSize
    ByteBuffer lp_DisplayBits;      // the full-screen picture, sized by the main window
    std::atomic<std::uint16_t> w_SocketBufferWriteIndex{0};
    std::atomic<std::uint16_t> w_SocketBufferReadIndex{0};
    std::atomic<std::uint16_t> w_ImageWriteIndex{0};
    std::atomic<std::uint16_t> w_SorelMp4DecodeIndex{0};
    std::atomic<const std::uint8_t*> lp_CurrentImage{nullptr};
    std::atomic<std::uint16_t> w_ImageWidth{0};
    std::atomic<std::uint16_t> w_ImageHeight{0};
    std::atomic<std::uint32_t> dw_VideoLoss{0};
    std::atomic<std::uint16_t> w_FrameCopyWidth{0};
    std::atomic<std::uint16_t> w_FrameCopyHeight{0};
    std::atomic<std::uint32_t> dw_FrameCopyRequest{0};

    // ---- Stream state and overlay counters --------------------------------
    std::atomic<std::uint32_t> dw_GetImageThreadRunning{0};
    std::atomic<std::uint32_t> dw_StreamReceiving{0};
    std::atomic<std::uint32_t> dw_VideoConnected{0};
    std::atomic<std::uint32_t> dw_StreamStartTick{0};
    std::atomic<std::uint32_t> dw_ReceivedBytes{0};
    std::atomic<std::uint32_t> dw_FramesShown{0};
    std::atomic<std::uint32_t> dw_RateFramesNow{0};
    std::atomic<std::uint32_t> dw_RateFramesPrev{0};
    std::atomic<std::uint32_t> dw_NewHeaderFormat{0};
    std::atomic<std::uint32_t> dw_NewFrameShown{0};
    SharedValue<SystemTime> st_FrameTime;
    // The receive thread's last failure code.
    std::atomic<std::int32_t> LastStreamError{0};
    // The frame-header parser: runs on the receive thread; the windows read its results.
    session::CRTPHeader CRTPHeader{*this};

    // ---- Login and device facts -------------------------------------------
    std::atomic<std::uint16_t> w_LoginResult{0};
    std::atomic<std::uint16_t> w_UserLevel{0};
    SharedText str_FWVersion;
    SharedText str_BootVersion;
    SharedText str_2041Version;
    SharedText str_FPGAVersion;
    SharedText str_APVersion{kApplicationVersion};
    SharedText str_ProductID;
    SharedText sz_MACAddress;  // twelve hexadecimal characters
    SharedText str_HostName;
    SharedText str_DeviceName;
    std::atomic<std::uint8_t> by_MultiChannel{0};
    std::atomic<std::uint8_t> by_VideoMode{0};
    std::atomic<std::uint8_t> by_VideoSizeFamily{0};
    std::atomic<std::uint32_t> dw_DeviceCapability{0};
    std::atomic<std::int32_t> dw_LifeTime{-1};  // minutes granted; -1 unlimited
    std::atomic<std::uint32_t> dw_LifeTimeSeconds{0};
    std::atomic<std::uint32_t> dw_TooManyUsers{0};
    // The session id of the last login (at most kSessionCookieSize characters)
    // and this computer's own IPv4 address, the Host of every request.
    SharedText SessionCookie;
    SharedText LocalHostAddress;
    // The device's configuration option blocks (by_SysCfgOption0 ...), filled
    // by QuerySystemConfig and edited by the configuration pages.
    SharedValue<SysCfgBlocks> SysCfg;
    // A web port and device address entered in the network page, applied by
    // the command sender after its next status-200 reply.
    std::atomic<std::uint16_t> g_wPendingWebPort{0};
    std::atomic<bool> g_fPendingWebPort{false};
    SharedText g_strPendingServerName;
    std::atomic<bool> g_fPendingServerName{false};

    // ---- The main window's state ------------------------------------------
    // Texts drawn in the status area; threads empty them on a tear-down.
    SharedText m_strSensorText;
    SharedText m_strAlarmChannel;
    std::atomic<std::uint8_t> by_MouseMode{1};  // 1 normal, 2 click-to-position
    std::atomic<std::uint16_t> w_ClickPosX{0};
    std::atomic<std::uint16_t> w_ClickPosY{0};
    SharedValue<MousePoint> pt_MousePos;
    std::atomic<std::uint16_t> w_MarkerX{50};
    std::atomic<std::uint16_t> w_MarkerY{50};
    std::atomic<std::uint16_t> w_MarkerWidth{50};
    std::atomic<std::uint16_t> w_MarkerHeight{50};
    std::atomic<std::uint16_t> w_MarkerCountdown{0};
    std::atomic<std::uint16_t> w_VideoLayout{0};
    std::atomic<std::uint8_t> by_VideoSizeMode{0};
    std::atomic<std::uint8_t> by_AppliedVideoSizeMode{0};
    // Chooses the three values above (GUI thread).
    mainwindow::VideoSizeSelector VideoSizeSelector{*this};
    // The channel buttons' state; the window makes the buttons.
    mainwindow::ChannelButtonBar ChannelButtonBar{*this};
    std::atomic<std::uint8_t> by_UserLevelRow{0};
    std::atomic<std::uint8_t>& by_UserLevelIndex = by_UserLevelRow;
    std::atomic<std::uint32_t> dw_SnapshotRequest{0};
    std::atomic<std::uint32_t> dw_TurboMode{0};
    std::atomic<std::uint8_t> by_TurboRepeatStep{5};
    std::atomic<std::uint32_t> dw_PowerState{0};
    std::atomic<std::uint32_t> dw_ActionPresetMode{0};  // 0 action, 1 preset
    std::atomic<std::uint32_t>& dw_PresetMode = dw_ActionPresetMode;
    std::atomic<std::uint8_t> by_StatusHover{0};
    std::atomic<std::uint32_t> dw_SystemDialogActive{0};  // changed by exchange only
    std::atomic<std::uint16_t> w_DpiX{96};
    std::atomic<float> fl_DpiScale{1.0f};
    std::atomic<std::uint32_t> dw_AlarmAudioPlaying{0};
    std::atomic<std::uint32_t> dw_AlarmAudioRequested{0};
    std::atomic<std::uint8_t> by_RecordChannel{4};
    // Set by the main window's start for DVRs older than "1078": the panels of
    // the types that lack it show no record-search button for the rest of the run.
    std::atomic<std::uint32_t> dw_RecordSearchRemoved{0};

    // ---- Network backup and the companion player --------------------------
    // The player's process and its link connection (its "window"); 0 when none is known.
    std::atomic<std::int32_t> dw_PlayerProcessID{0};
    std::atomic<std::uint32_t> h_PlayerWindow{0};
    std::atomic<std::uint32_t> dw_PlayerAck{0};
    std::atomic<std::uint32_t> dw_PlayerStopped{0};
    std::atomic<std::uint32_t> dw_PlayerBlockSize{0};
    std::atomic<std::uint32_t> dw_PlayerStarted{0};
    // The lock guarding the growing backup file, shared with the player; null when none.
    SharedValue<std::shared_ptr<platform::FileLock>> h_NetworkBackupMutex;
    SharedText sz_NetworkBackupMutexName;
    // The disc writer, made by the application at start-up; it keeps the
    // burning engine from its first initialisation until this object ends.
    std::shared_ptr<recording::CdBackupWriter> CdBackupWriter;
    // The companion player's link and the hand-over that uses it, made by the
    // application at start-up; null when a run starts no player.
    std::shared_ptr<recording::PlayerLink> PlayerLink;
    std::shared_ptr<recording::PlayerHandOver> PlayerHandOver;

    // ---- Threads ----------------------------------------------------------
    // Last, so that destruction stops them before anything they use goes.
    platform::WorkerThread h_Process_KernelMessageThread;
    platform::WorkerThread h_Process_Terminate_Thread;
    platform::WorkerThread h_Process_Init_Thread;
    platform::WorkerThread h_ConnectionThread;
    platform::WorkerThread h_GetJpegImageThread;
    platform::WorkerThread h_ComposeImageDataThread;
    platform::WorkerThread h_ShowImageDataThread;
    platform::WorkerThread h_ReLoginThread;
    platform::WorkerThread h_UpgradeFirmwareThread;
    platform::WorkerThread h_PlayAudioWavThread;
    // Device requests of the windows, one after another (the orderly close stops it first).
    DeviceCommandWorker h_DeviceCommandWorker;

private:
    std::atomic<UiPort*> ui_{nullptr};
    std::atomic<recording::RecorderPort*> alarmRecorder_{nullptr};
    std::atomic<recording::RecorderPort*> userRecorder_{nullptr};
    std::atomic<recording::RecorderPort*> scheduleRecorder_{nullptr};
    std::atomic<recording::AlarmSoundPort*> alarmSound_{nullptr};
    std::atomic<recording::SystemConfig*> alarmList_{nullptr};
};

// The one AppData, set at start-up before any other thread exists.
extern AppData* g_lpApp;

}  // namespace session
