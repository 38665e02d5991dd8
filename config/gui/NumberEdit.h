#pragma once
// A number field of a configuration page. What the person types is reduced to
// digits (FilterNumericText) and kept within the range, silently or with a
// message and a value to fall back to; an emptied field can be refused with
// its own message. What the page loads from the device is shown as it is.

#include <QLineEdit>

#include <cstdint>
#include <optional>

namespace config {

class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    struct Rules {
        std::int64_t min = 0;
        std::int64_t max = 9999;
        std::uint8_t filterMode = 1;         // 0 keeps a leading minus, 1 digits only
        unsigned rangeMessage = 0;           // 0: clamp silently
        std::optional<std::int64_t> fallback;  // the value after the range message (none: the bound)
        std::optional<std::int64_t> lowFallback;  // the same below the range (none: as fallback)
        unsigned emptyMessage = 0;           // 0: an empty field is allowed
    };

    explicit NumberEdit(Rules rules, QWidget* parent = nullptr);

    // The device's value, shown unchanged.
    void Load(std::int64_t value);
    // The number shown; none while the field is empty.
    std::optional<std::int64_t> Value() const;
    std::optional<std::int64_t> LoadedValue() const { return loaded_; }
    // The person changed the value.
    bool Changed() const { return edited_ && Value() != loaded_; }

signals:
    void ValueEdited();

private:
    void OnTextEdited(const QString& text);
    void OnEditingFinished();
    void Show(std::int64_t value);

    Rules rules_;
    std::optional<std::int64_t> loaded_;
    bool edited_ = false;
};

}  // namespace config
