#pragma once
// Check boxes and radio groups of a configuration page, each with the value
// the device gave it, so that only the person's choice counts as a change.

#include <QCheckBox>
#include <QObject>

#include <optional>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace config {

class ConfigCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit ConfigCheckBox(const QString& text, QWidget* parent = nullptr);
    // The device's flag (any non-zero value is on).
    void Load(int flag);
    bool LoadedChecked() const { return loaded_; }
    bool Changed() const { return isChecked() != loaded_; }

private:
    bool loaded_ = false;
};

// Radio buttons standing for values; a value none of them stands for checks none.
class RadioGroup : public QObject {
    Q_OBJECT
public:
    explicit RadioGroup(QObject* parent = nullptr);
    void Add(QRadioButton* button, int value);
    void Load(int value);
    // The value of the checked button; none when none is checked.
    std::optional<int> Value() const;
    std::optional<int> LoadedValue() const { return loaded_; }
    bool Changed() const { return Value() && Value() != loaded_; }

signals:
    void Picked();

private:
    QButtonGroup* group_;
    std::vector<std::pair<QRadioButton*, int>> buttons_;
    std::optional<int> loaded_;
};

}  // namespace config
