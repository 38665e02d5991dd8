#pragma once
// Checks that a window stands where its template table puts it: the window's
// size and every control's rectangle are the table's converted with the base
// units of the window's font, for the stand-in font and for a wider one.

#include <QFrame>
#include <QGroupBox>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/TemplateBuilder.h"
#include "support/TemplatePairing.h"

namespace testutil {

// A sans serif of other widths than the stand-in, installed with the dependencies.
inline constexpr std::string_view kWiderFamily = "DejaVu Sans";

inline std::vector<std::string> GeometryFaults(const QWidget& window, const gui::DialogTemplate& table) {
    std::vector<std::string> faults;
    const gui::DialogBaseUnits units = gui::TemplateUnits(table);
    if (window.size() != units.Size(table.width, table.height))
        faults.push_back("template " + std::to_string(table.id) + ": window size differs");
    for (const auto& [entry, widget] : PairWithTemplate(window, table)) {
        const gui::TemplateControl& control = *entry;
        if (!widget) {
            faults.push_back("control " + std::to_string(control.id) + " missing");
            continue;
        }
        const QRect want = gui::ControlRect(units, table, control);
        const QRect got = widget->geometry();
        const bool heightOk = control.kind == gui::ControlKind::ComboBox
                                  ? got.height() == gui::ClosedComboHeight(*widget, want.height())
                                  : got.height() == want.height();
        if (got.topLeft() != want.topLeft() || got.width() != want.width() || !heightOk)
            faults.push_back("control " + std::to_string(control.id) + " at " + std::to_string(got.x()) + "," +
                             std::to_string(got.y()) + " " + std::to_string(got.width()) + "x" +
                             std::to_string(got.height()) + ", template gives " + std::to_string(want.x()) + "," +
                             std::to_string(want.y()) + " " + std::to_string(want.width()) + "x" +
                             std::to_string(want.height()));
    }
    return faults;
}

// Makes the window with the stand-in and with a wider family and checks both:
// `make` returns the window (any owner type) and `view` the widget holding the controls.
template <class Make, class View>
void ExpectTemplateGeometry(const gui::DialogTemplate& table, Make make, View view) {
    for (const std::string_view family : {std::string_view(), kWiderFamily}) {
        std::unique_ptr<gui::StandInFamilyScope> scope;
        if (!family.empty())
            scope = std::make_unique<gui::StandInFamilyScope>(family);
        auto window = make();
        for (const std::string& fault : GeometryFaults(view(*window), table))
            ADD_FAILURE() << "template " << table.id << (family.empty() ? "" : " in ") << family << ": " << fault;
    }
}

template <class Make>
void ExpectTemplateGeometry(const gui::DialogTemplate& table, Make make) {
    ExpectTemplateGeometry(table, make, [](auto& window) -> const QWidget& { return window; });
}

}  // namespace testutil
