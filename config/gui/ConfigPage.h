#pragma once
// One page of the configuration sheet. It fills its controls once, from the
// working set, when it is first shown; keeps the person's edits in its
// controls and members; and hands them over when Apply pulls them. A page
// never shown, or switched off, contributes nothing.

#include <QString>
#include <QWidget>

#include "config/sheet/SheetApply.h"
#include "config/sheet/SheetLocalSettings.h"
#include "gui/TemplateBuilder.h"

namespace config {

class ConfigWorkingSet;

class ConfigPage : public QWidget {
    Q_OBJECT
public:
    ConfigPage(QString caption, ConfigWorkingSet& set, QWidget* parent = nullptr);

    // The tab caption, which is also the page's name in the sheet's tree.
    const QString& Caption() const { return caption_; }
    ConfigWorkingSet& WorkingSet() { return set_; }
    const ConfigWorkingSet& WorkingSet() const { return set_; }

    // Fills the page unless it was filled already (showing the page does this).
    void EnsureFilled();
    bool WasFilled() const { return filled_; }
    // Before Apply: the controls into the page's members; nothing for a page never filled.
    void PullControls();

    void SetPageEnabled(bool enabled);
    bool PageEnabled() const { return enabled_; }
    // Filled and enabled: the only pages whose values Apply looks at.
    bool Contributes() const { return filled_ && enabled_; }

    // The page's size from its template; invalid for a page laid out otherwise.
    QSize TemplateSize() const { return templateSize_; }
    // The template the page was built from; null for a page laid out otherwise.
    const gui::DialogTemplate* Template() const { return template_; }

    // Asked before the sheet leaves the page: a refusal shows its message and keeps the page.
    bool ConfirmLeave();

    // Apply, on the GUI thread, for a filled page only: the values the sheet
    // itself takes (the PPPoE check, the local settings), and the page's send
    // routines, which carry copies of the page's values to the worker.
    virtual void ContributeValues(SheetPageValues& values) const {}
    // The program's own settings a page holds from the sheet's opening: taken
    // by Apply whether or not the page was ever shown.
    virtual void ContributeSettings(SheetPageValues& values) const {}
    virtual void AddSendRoutines(ApplyRoutines& routines) {}

protected:
    // Makes the page's controls from its template on `holder` (the page itself
    // when null); the page takes its size from the template.
    gui::TemplateControls BuildFromTemplate(const gui::DialogTemplate& table, const gui::ControlFactory& make = {},
                                            QWidget* holder = nullptr);

    virtual void Fill() {}
    virtual void Pull() {}
    // The message id that keeps the person on the page; 0 lets them go.
    virtual unsigned LeaveRefusal() { return 0; }

    void showEvent(QShowEvent* event) override;

private:
    QString caption_;
    ConfigWorkingSet& set_;
    bool filled_ = false;
    bool enabled_ = true;
    QSize templateSize_;
    const gui::DialogTemplate* template_ = nullptr;
};

}  // namespace config
