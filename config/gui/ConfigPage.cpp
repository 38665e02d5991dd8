#include "config/gui/ConfigPage.h"

#include "config/gui/ConfigMessage.h"

namespace config {

ConfigPage::ConfigPage(QString caption, ConfigWorkingSet& set, QWidget* parent)
    : QWidget(parent), caption_(std::move(caption)), set_(set) {
    setObjectName(caption_);
}

gui::TemplateControls ConfigPage::BuildFromTemplate(const gui::DialogTemplate& table, const gui::ControlFactory& make,
                                                    QWidget* holder) {
    QWidget& window = holder ? *holder : *this;
    gui::TemplateControls controls = gui::BuildTemplate(window, table, make);
    if (&window != this) {
        setFont(window.font());
        setFixedSize(window.size());
    }
    templateSize_ = size();
    template_ = &table;
    return controls;
}

void ConfigPage::EnsureFilled() {
    if (filled_)
        return;
    filled_ = true;
    Fill();
}

void ConfigPage::PullControls() {
    if (filled_)
        Pull();
}

void ConfigPage::SetPageEnabled(bool enabled) {
    enabled_ = enabled;
    setEnabled(enabled);
}

bool ConfigPage::ConfirmLeave() {
    const unsigned refusal = filled_ ? LeaveRefusal() : 0;
    if (refusal == 0)
        return true;
    ShowConfigMessage(this, refusal);
    return false;
}

void ConfigPage::showEvent(QShowEvent* event) {
    EnsureFilled();
    QWidget::showEvent(event);
}

}  // namespace config
