#pragma once
// The camera page's row editor ("Edit"): name, brightness, contrast,
// saturation and hue, covert and recording flags of one channel. A flag the
// lists do not know opens with no selection and stays as it is.

#include <QDialog>

#include "config/pages/CameraRows.h"

class QLineEdit;

namespace config {

class IndexedCombo;
class NumberEdit;

class CameraEntryDialog : public QDialog {
    Q_OBJECT
public:
    CameraEntryDialog(int channel, const CameraRow& row, QWidget* parent = nullptr);

    // The row with the person's values (fields left empty or unpicked keep theirs).
    CameraRow Row() const;

private:
    void OnNameEdited(const QString& text);

    CameraRow row_;
    QLineEdit* name_ = nullptr;
    NumberEdit* brightness_ = nullptr;
    NumberEdit* contrast_ = nullptr;
    NumberEdit* saturation_ = nullptr;
    NumberEdit* hue_ = nullptr;
    IndexedCombo* covert_ = nullptr;
    IndexedCombo* record_ = nullptr;
};

}  // namespace config
