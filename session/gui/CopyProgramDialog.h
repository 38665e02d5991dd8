#pragma once
// "Copy Program": copies the program's files and skins into a chosen folder
// with a progress bar and a percentage, then points the copy's Setting.ini
// at its new folder. The copy starts shortly after the window shows and runs
// on a worker thread; the window takes no input meanwhile, and OK becomes
// available when it has ended. A copy that lost files says so.

#include <QDialog>

#include <filesystem>

#include "platform/Timing.h"
#include "platform/WorkerThread.h"
#include "session/tools/CopyProgram.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace session {

class CSettingINI;

class CopyProgramDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClosed = 2;  // Escape or the close box, before the copy began or after it ended

    CopyProgramDialog(QWidget* parent, std::filesystem::path source, std::filesystem::path destination,
                      const CSettingINI& settings, const platform::Timing& timing = {});
    ~CopyProgramDialog() override;

    // Valid once the copy has ended.
    const CopyProgramReport& Report() const { return m_report; }
    bool Finished() const { return m_finished; }

    void reject() override;

signals:
    void percentShown(const QString& text);
    void copyFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void StartCopy();
    void ShowPercent(int percent);
    void OnCopyEnded(const CopyProgramReport& report);

    const std::filesystem::path m_strSourcePath;
    const std::filesystem::path m_strDestPath;
    const CSettingINI& m_settings;
    QTimer* m_copyTimer;
    QProgressBar* m_ctrlProgress = nullptr;
    QLabel* m_percentLabel = nullptr;
    QLabel* m_reportLabel = nullptr;
    QPushButton* m_okButton = nullptr;
    bool m_copying = false;
    bool m_finished = false;
    CopyProgramReport m_report;
    platform::WorkerThread m_worker;  // last: stops before the widgets go
};

}  // namespace session
