#pragma once
// The device page's row editor ("Edit"): device type, ID, protocol and speed
// of one channel's PTZ line. A value the lists do not know opens with no
// selection and stays as it is.

#include <QDialog>

#include "config/pages/PtzRows.h"

namespace config {

class IndexedCombo;
class NumberEdit;

class PtzEntryDialog : public QDialog {
    Q_OBJECT
public:
    PtzEntryDialog(int channel, const PtzRow& row, QWidget* parent = nullptr);

    // The row with the person's values.
    PtzRow Row() const;

private:
    PtzRow row_;
    IndexedCombo* type_ = nullptr;
    NumberEdit* address_ = nullptr;
    IndexedCombo* protocol_ = nullptr;
    IndexedCombo* speed_ = nullptr;
};

}  // namespace config
