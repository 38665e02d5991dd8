#pragma once
// An IPv4 address field: four parts of 0 to 255. The value is a number with
// the first dotted part on top; an empty part counts as 0.

#include <QWidget>

#include <array>
#include <cstdint>

class QLineEdit;

namespace config {

class Ipv4Edit : public QWidget {
    Q_OBJECT
public:
    explicit Ipv4Edit(QWidget* parent = nullptr);

    void Load(std::uint32_t address);
    std::uint32_t Value() const;
    std::uint32_t LoadedValue() const { return loaded_; }
    bool Changed() const { return Value() != loaded_; }
    QLineEdit* Part(int index) const { return parts_[static_cast<std::size_t>(index)]; }

signals:
    void ValueEdited();

private:
    std::array<QLineEdit*, 4> parts_{};
    std::uint32_t loaded_ = 0;
};

}  // namespace config
