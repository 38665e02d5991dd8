#pragma once
// A template's group box: an etched frame whose top line runs through the
// middle of the title, as the templates expect; the controls they place a
// line below the box's top then sit inside the frame, clear of its title.

#include <QGroupBox>

namespace gui {

class TemplateGroupBox : public QGroupBox {
public:
    explicit TemplateGroupBox(const QString& title, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace gui
