#pragma once
// "Select PTZ device": the number of the recorder's PTZ slave to hand the
// control panel to, or Exit to give it back to the recorder. Ends with 1
// (OK), 2 (ANULUJ) or 20 (WYJŚCIE); Exit is offered only while a slave is
// current. A number text that is not a number keeps the dialog open.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace session {

class PtzSelectDialog : public QDialog {
    Q_OBJECT

public:
    // `ordinal`: the current device's ordinal; the number starts one above it.
    PtzSelectDialog(bool masterCurrent, int ordinal, float dpiScale, QWidget* parent = nullptr);

    int m_nPtzNumber = 0;

    QLineEdit* NumberEdit() const { return m_edit; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* ExitButton() const { return m_exit; }

    void OnOK();
    // Esc is ANULUJ.
    void reject() override { done(2); }

private:
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_exit = nullptr;
};

}  // namespace session
