#pragma once
// A DVR page with settings of its own on the device (the date and the record
// settings): live from firmware "1058", it reads the device's "KEY=value;"
// reply once, on the device-command worker, when it is first shown. Its
// controls stay disabled while the read runs, and for good when the device
// is not qualified or the read fails (no message); a reply lacking a key
// still fills the page. Only a live page sends.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "config/dvr/KeyValueReply.h"
#include "config/gui/ConfigPage.h"
#include "config/sheet/SheetApply.h"
#include "platform/Timing.h"
#include "session/net/CgiRequest.h"

namespace session {
class AppData;
}

namespace config {

class DvrSettingsPage : public ConfigPage {
    Q_OBJECT
public:
    enum class State { NotOpened, Reading, Live, Disabled };
    State PageState() const { return state_; }
    // What Apply sends: none unless the page is live and has something to send.
    virtual std::optional<session::CgiRequest> ApplyRequest() const = 0;
    // The page's routine sends that request on Apply's job; a failure is silent.
    void AddSendRoutines(ApplyRoutines& routines) override;

protected:
    DvrSettingsPage(QString caption, session::AppData& app, ConfigWorkingSet& set, platform::Timing timing,
                    std::uint8_t readCommand, std::span<const KeyValueKey> keys, ApplyRoutine routine,
                    QWidget* parent);

    // The container of every control the read fills (named "controls"); a
    // page builds its template on it.
    QWidget* Controls() const { return controls_; }
    session::AppData& App() const { return app_; }
    // A control built from the template, given the name tests and lookups know it by.
    template <class T>
    static T* Named(const gui::TemplateControls& controls, int id, const char* name) {
        QWidget* widget = controls.Widget(id);
        widget->setObjectName(QString::fromLatin1(name));
        return static_cast<T*>(widget);
    }
    bool Live() const { return state_ == State::Live; }
    // The device's values, in the keys' order (0 for a key its reply lacked);
    // the controls are enabled afterwards.
    virtual void Show(const std::vector<std::uint16_t>& values) = 0;
    // The device's reply carried the key (by its index in the keys).
    bool Given(std::size_t key) const { return key < given_.size() && given_[key]; }

    void Fill() override;

private:
    session::AppData& app_;
    platform::Timing timing_;
    std::uint8_t readCommand_;
    std::span<const KeyValueKey> keys_;
    ApplyRoutine routine_;
    State state_ = State::NotOpened;
    std::vector<bool> given_;
    QWidget* controls_;
};

}  // namespace config
