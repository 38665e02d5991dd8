#pragma once
// A drop-down list of a configuration page whose items stand for indexes or
// device codes. A code the list does not know shows no selection and stays
// unchanged: Changed() is true only after the person picks another item.

#include <QComboBox>

#include <cstdint>
#include <optional>
#include <vector>

namespace config {

class IndexedCombo : public QComboBox {
    Q_OBJECT
public:
    explicit IndexedCombo(QWidget* parent = nullptr);

    // The items and, when the items stand for codes, the code of each (same order).
    void SetItems(const QStringList& texts, std::vector<std::int64_t> codes = {});

    // The device's list index (-1 or past the list: no selection).
    void LoadIndex(int index);
    // The device's code; an unknown one shows no selection.
    void LoadCode(std::int64_t code);

    int Index() const { return currentIndex(); }
    int LoadedIndex() const { return loaded_; }
    // The code of the chosen item; none without a selection or codes.
    std::optional<std::int64_t> Code() const;
    bool Changed() const { return picked_ && currentIndex() >= 0 && currentIndex() != loaded_; }
    // The person picked an item, whichever it was.
    bool WasPicked() const { return picked_ && currentIndex() >= 0; }

signals:
    void Picked();

private:
    std::vector<std::int64_t> codes_;
    int loaded_ = -1;
    bool picked_ = false;
};

}  // namespace config
