#include "config/gui/IndexedCombo.h"

#include <QSignalBlocker>

#include <algorithm>

namespace config {

IndexedCombo::IndexedCombo(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, [this] {
        picked_ = true;
        emit Picked();
    });
}

void IndexedCombo::SetItems(const QStringList& texts, std::vector<std::int64_t> codes) {
    const QSignalBlocker block(this);
    clear();
    addItems(texts);
    codes_ = std::move(codes);
    setCurrentIndex(-1);
}

void IndexedCombo::LoadIndex(int index) {
    loaded_ = index >= 0 && index < count() ? index : -1;
    picked_ = false;
    const QSignalBlocker block(this);
    setCurrentIndex(loaded_);
}

void IndexedCombo::LoadCode(std::int64_t code) {
    const auto found = std::find(codes_.begin(), codes_.end(), code);
    LoadIndex(found == codes_.end() ? -1 : static_cast<int>(found - codes_.begin()));
}

std::optional<std::int64_t> IndexedCombo::Code() const {
    const int index = currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= codes_.size())
        return std::nullopt;
    return codes_[static_cast<std::size_t>(index)];
}

}  // namespace config
