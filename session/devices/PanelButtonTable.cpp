#include "session/devices/PanelButtonTable.h"

#include <deque>
#include <initializer_list>
#include <string>
#include <utility>

namespace mainwindow {

namespace {

constexpr std::size_t kFormats = 4;  // NTSC VGA, NTSC QVGA, PAL VGA, PAL QVGA
constexpr std::array<const char*, kFormats> kPrefixes{"N_VGA", "N_QVGA", "P_VGA", "P_QVGA"};

// ---- The keys -------------------------------------------------------------------

enum class Look { Prefixed, Channel, Lens, Joystick, TwoState };

struct PanelKey {
    std::uint16_t controlId;
    Look look;
    const char* picture;  // the name's stem (see Names)
};

constexpr std::array<PanelKey, kPanelButtonCount> kKeys{{
    {8250, Look::Channel, "1"},  {8251, Look::Channel, "2"},  {8252, Look::Channel, "3"},
    {8253, Look::Channel, "4"},  {8254, Look::Channel, "5"},  {8255, Look::Channel, "6"},
    {8256, Look::Channel, "7"},  {8257, Look::Channel, "8"},  {8258, Look::Channel, "9"},
    {8259, Look::Channel, "10"}, {8260, Look::Channel, "11"}, {8261, Look::Channel, "12"},
    {8262, Look::Channel, "13"}, {8263, Look::Channel, "14"}, {8264, Look::Channel, "15"},
    {8265, Look::Channel, "16"},
    {8322, Look::Prefixed, "UP_PIP"},        {8321, Look::Prefixed, "UP_QUAD"},
    {8271, Look::Prefixed, "4CUT"},          {8272, Look::Prefixed, "9CUT"},
    {8273, Look::Prefixed, "16CUT"},         {8280, Look::Prefixed, "PIP"},
    {8281, Look::Prefixed, "POP"},           {8282, Look::Prefixed, "MULTI"},
    {8283, Look::Prefixed, "AUTO"},          {8319, Look::Prefixed, "REC_SEARCH"},
    {8285, Look::Prefixed, "VCR"},           {8286, Look::Prefixed, "LIVE"},
    {8287, Look::Prefixed, "QUAD"},          {8288, Look::Prefixed, "FREEZE"},
    {8291, Look::Lens, "zoom_in"},           {8292, Look::Lens, "zoom_out"},
    {8289, Look::Lens, "focus_in"},          {8290, Look::Lens, "focus_out"},
    {8313, Look::Prefixed, "PLUS"},          {8314, Look::Prefixed, "MINUS"},
    {8323, Look::Prefixed, "REMOTE_REC"},    {8324, Look::Prefixed, "REBOOT"},
    {8325, Look::Prefixed, "ESCAPE"},        {8326, Look::Prefixed, "SEC_ENTER"},
    {8327, Look::Prefixed, "STOP_REC"},      {8328, Look::Prefixed, "RECORDING"},
    {8220, Look::Prefixed, "ZOOM"},          {8222, Look::Prefixed, "SELECT"},
    {8223, Look::Prefixed, "LOCK"},          {8224, Look::Prefixed, "SEARCH"},
    {8225, Look::Prefixed, "ENTER"},         {8226, Look::Prefixed, "STOP"},
    {8227, Look::Prefixed, "RECORD"},        {8228, Look::Prefixed, "REW"},
    {8229, Look::Prefixed, "FAST"},          {8230, Look::Prefixed, "PAUSE"},
    {8231, Look::Prefixed, "SLOW"},          {8232, Look::Prefixed, "PLAY"},
    {8240, Look::Joystick, "LEFT"},          {8241, Look::Joystick, "UP"},
    {8242, Look::Joystick, "MENU"},          {8243, Look::Joystick, "DOWN"},
    {8244, Look::Joystick, "RIGHT"},         {8310, Look::TwoState, "turbo"},
    {8312, Look::TwoState, "ptz"},           {8331, Look::TwoState, "retr"},
    {8350, Look::Prefixed, "ZOOM_IN_MAX"},   {8351, Look::Prefixed, "ZOOM_OUT_MAX"},
    {8353, Look::Prefixed, "DIGITAL_ZOOM"},  {8354, Look::Prefixed, "SET"},
    {8355, Look::Prefixed, "SEQUENCE"},      {8356, Look::TwoState, "preset"},
}};

constexpr std::uint16_t kEightSplitId = 8573;  // panel index 20 on types 20 and 22
constexpr std::uint16_t kFirstPresetTip = 8333;

// ---- Which keys each type shows ---------------------------------------------------

struct Note {
    std::size_t index;
    std::uint16_t flags;
};
struct TypeKeys {
    std::initializer_list<std::pair<std::size_t, std::size_t>> ranges;  // inclusive
    std::initializer_list<Note> notes;
    bool presetTips = false;
    bool eightSplit = false;
};

constexpr Note kTurboSecond{59, kPanelTipSecond};
constexpr Note kPtzSecond{60, kPanelTipSecond};

const TypeKeys kTypeKeys[kLinkedDeviceTypeCount] = {
    /* 0 CAMERA */ {{}, {}},
    /* 1 */ {{{45, 59}}, {kTurboSecond}},
    /* 2 */ {{{0, 3}, {34, 35}, {42, 42}, {44, 59}}, {kTurboSecond}},
    /* 3 */ {{{0, 3}, {22, 22}, {34, 35}, {44, 59}}, {kTurboSecond}},
    /* 4 */ {{{0, 3}, {18, 18}, {21, 21}, {42, 42}, {44, 59}}, {kTurboSecond}},
    /* 5 */ {{{0, 8}, {18, 19}, {21, 21}, {42, 44}, {46, 59}}, {kTurboSecond}},
    /* 6 */ {{{0, 15}, {18, 21}, {42, 44}, {46, 59}}, {kTurboSecond}},
    /* 7 */ {{{0, 3}, {24, 24}, {28, 28}, {44, 59}}, {kTurboSecond}},
    /* 8 PTZ */ {{{0, 15}, {24, 24}, {30, 33}, {46, 46}, {54, 59}, {62, 63}}, {kTurboSecond}, true},
    /* 9 */ {{{0, 3}, {34, 35}, {39, 39}, {41, 42}, {44, 45}, {47, 47}, {49, 59}}, {kTurboSecond}},
    /* 10 */ {{{0, 3}, {34, 35}, {42, 42}, {44, 59}}, {kTurboSecond}},
    /* 11 PTZ SLAVE */
    {{{0, 15}, {24, 24}, {30, 33}, {46, 46}, {54, 60}, {62, 63}}, {kTurboSecond, kPtzSecond}, true},
    /* 12 */ {{{0, 3}, {21, 22}, {28, 28}, {44, 59}}, {kTurboSecond}},
    /* 13 */ {{{0, 8}, {18, 19}, {21, 21}, {42, 44}, {46, 59}}, {kTurboSecond}},
    /* 14 */ {{{0, 15}, {18, 20}, {25, 25}, {34, 35}, {45, 60}, {64, 66}}, {}},
    /* 15 */
    {{{0, 3}, {34, 35}, {39, 39}, {41, 42}, {44, 45}, {47, 47}, {49, 61}},
     {{44, kPanelTopRanks}, kTurboSecond, kPtzSecond, {61, kPanelSupervisorOnly}}},
    /* 16 */
    {{{0, 3}, {34, 35}, {39, 39}, {41, 42}, {44, 45}, {47, 47}, {49, 60}},
     {{44, kPanelTopRanks}, kTurboSecond, kPtzSecond}},
    /* 17 PTZ SLAVE BASIC */
    {{{0, 15}, {24, 24}, {30, 33}, {46, 46}, {54, 60}, {62, 64}}, {kTurboSecond, kPtzSecond}, true},
    /* 18 PTZ PELCO */
    {{{0, 15}, {24, 24}, {30, 33}, {46, 46}, {54, 60}, {62, 63}, {67, 67}},
     {{24, kPanelNoPelco}, kTurboSecond, kPtzSecond, {67, kPanelTipFirst}},
     true},
    /* 19 */ {{{0, 15}, {18, 20}, {25, 25}, {34, 35}, {45, 61}, {64, 66}}, {}},
    /* 20 */ {{{0, 7}, {18, 20}, {25, 25}, {34, 35}, {45, 60}, {64, 66}}, {}, false, true},
    /* 21 */ {{{0, 3}, {18, 18}, {25, 25}, {34, 35}, {45, 60}, {64, 66}}, {kTurboSecond}},
    /* 22 */ {{{0, 7}, {18, 20}, {25, 25}, {34, 35}, {45, 61}, {64, 66}}, {}, false, true},
    /* 23 */ {{{0, 3}, {18, 18}, {25, 25}, {34, 35}, {45, 61}, {64, 66}}, {kTurboSecond}},
    /* 24 */ {{{0, 15}, {18, 21}, {42, 44}, {46, 59}}, {kTurboSecond}},
    /* 25 PTZ PELCO D */
    {{{0, 15}, {24, 24}, {30, 33}, {46, 46}, {54, 59}, {62, 63}, {67, 67}},
     {{24, kPanelNoPelco}, kTurboSecond, {67, kPanelTipFirst}},
     true},
};

// ---- Where each key sits, per format ------------------------------------------------

using Rects = std::array<PanelRect, kFormats>;

// Fixed places: channel 1, the joystick and the PTZ control.
const std::pair<std::size_t, Rects> kFixedPlaces[] = {
    {0, {{{8, 568, 26, 586}, {9, 328, 27, 346}, {8, 664, 26, 682}, {9, 376, 27, 394}}}},
    {54, {{{580, 600, 601, 623}, {262, 379, 283, 402}, {580, 696, 601, 719}, {262, 427, 283, 450}}}},
    {55, {{{610, 577, 631, 595}, {292, 356, 313, 374}, {610, 673, 631, 691}, {292, 404, 313, 422}}}},
    {56, {{{610, 600, 631, 623}, {292, 379, 313, 402}, {610, 696, 631, 719}, {292, 427, 313, 450}}}},
    {57, {{{610, 627, 631, 645}, {292, 406, 313, 424}, {610, 723, 631, 741}, {292, 454, 313, 472}}}},
    {58, {{{639, 600, 657, 623}, {321, 379, 338, 402}, {639, 696, 657, 719}, {321, 427, 339, 448}}}},
    {60, {{{578, 629, 592, 643}, {260, 409, 274, 423}, {578, 725, 592, 739}, {260, 457, 274, 471}}}},
};

// PAL formats sit lower than their NTSC sisters by the taller picture.
constexpr std::array<int, kFormats> kPalShift{0, 0, 96, 48};
constexpr int kKeySize = 18;
constexpr int kKeyPitch = 20;
constexpr int kLensWidth = 30;
constexpr int kLensHeight = 22;

PanelRect Box(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// The grid's free places of a format, in row order: left of the joystick,
// clear of the close-panel button and the lens keys.
std::vector<PanelRect> GridPlaces(std::size_t format) {
    std::vector<PanelRect> places;
    const int dy = kPalShift[format];
    if (format % 2 == 0) {  // full size
        for (int top : {592, 614, 636, 658})
            for (int k = 0; k < 16; ++k)
                places.push_back(Box(8 + k * kKeyPitch, top + dy, kKeySize, kKeySize));
    } else {
        for (int top : {350, 372, 394})
            for (int k = 0; k <= 8; ++k)
                places.push_back(Box(9 + k * kKeyPitch, top + dy, kKeySize, kKeySize));
        for (int top : {416, 438})
            for (int k : {0, 1, 2, 3, 4, 5, 6, 10, 11})
                places.push_back(Box(9 + k * kKeyPitch, top + dy, kKeySize, kKeySize));
    }
    return places;
}

PanelRect LensPlace(std::size_t format, std::size_t lens) {
    const int dy = kPalShift[format];
    const bool full = format % 2 == 0;
    const int left = (full ? 400 : 196) + static_cast<int>(lens % 2) * (kLensWidth + 2 + (full ? 4 : 0));
    const int top = (full ? 580 : 350) + static_cast<int>(lens / 2) * (kLensHeight + 4) + dy;
    return Box(left, top, kLensWidth, kLensHeight);
}

std::array<Rects, kPanelButtonCount> Places() {
    std::array<Rects, kPanelButtonCount> places{};
    std::array<bool, kPanelButtonCount> placed{};
    for (const auto& [index, rects] : kFixedPlaces) {
        places[index] = rects;
        placed[index] = true;
    }
    for (std::size_t f = 0; f < kFormats; ++f) {
        const PanelRect first = places[0][f];
        for (std::size_t channel = 1; channel < 16; ++channel)
            places[channel][f] = Box(first.left + static_cast<int>(channel) * kKeyPitch, first.top, kKeySize, kKeySize);
        for (std::size_t lens = 0; lens < 4; ++lens)
            places[30 + lens][f] = LensPlace(f, lens);
    }
    for (std::size_t i = 0; i < 16; ++i)
        placed[i] = true;
    for (std::size_t i = 30; i < 34; ++i)
        placed[i] = true;
    for (std::size_t f = 0; f < kFormats; ++f) {
        const auto grid = GridPlaces(f);
        std::size_t next = 0;
        for (std::size_t i = 0; i < kPanelButtonCount; ++i)
            if (!placed[i])
                places[i][f] = grid.at(next++);
    }
    return places;
}

// ---- Picture names ------------------------------------------------------------------

// The names live as long as the table.
std::string_view Keep(std::string name) {
    static std::deque<std::string> names;
    return names.emplace_back(std::move(name));
}

std::array<std::string_view, 12> Names(const PanelKey& key) {
    std::array<std::string_view, 12> names{};
    const std::string stem = key.picture;
    for (std::size_t f = 0; f < kFormats; ++f) {
        std::string normal, hover;
        switch (key.look) {
        case Look::Channel:
            normal = "BMP/ch" + stem + ".bmp";
            hover = "BMP/ch" + stem + "_a.bmp";
            break;
        case Look::Lens:
            normal = "BMP/2Col_" + stem + ".bmp";
            hover = "BMP/2Col_" + stem + "_a.bmp";
            break;
        case Look::Prefixed:
        case Look::Joystick:
            normal = "BMP/" + std::string(kPrefixes[f]) + "_" + stem + ".bmp";
            hover = "BMP/" + std::string(kPrefixes[f]) + "_" + stem + "_OVER.bmp";
            break;
        case Look::TwoState:
            break;
        }
        if (key.look != Look::TwoState) {
            names[f * 3] = Keep(normal);
            names[f * 3 + 1] = Keep(hover);
            names[f * 3 + 2] = names[f * 3];
        }
    }
    if (key.look == Look::TwoState) {
        // Off, off hover, on, on hover; the NTSC loaders read names 1-4, the PAL ones 7-10.
        const std::array<std::string, 4> pairs{"BMP/" + stem + "_off.bmp", "BMP/" + stem + "_off_over.bmp",
                                               "BMP/" + stem + "_on.bmp", "BMP/" + stem + "_on_over.bmp"};
        for (std::size_t i = 0; i < 4; ++i)
            names[i] = names[6 + i] = Keep(pairs[i]);
    }
    return names;
}

std::array<PanelButtonRow, kLinkedDeviceTypeCount> BuildTable() {
    const auto places = Places();
    std::array<PanelButtonDescriptor, kPanelButtonCount> plain{};
    for (std::size_t i = 0; i < kPanelButtonCount; ++i) {
        const PanelKey& key = kKeys[i];
        plain[i] = PanelButtonDescriptor{places[i],
                                         0,
                                         key.controlId,
                                         Names(key),
                                         key.look == Look::TwoState ? kPanelStateStyle : kPanelPushStyle,
                                         key.controlId,
                                         static_cast<std::uint16_t>(i)};
    }
    std::array<PanelButtonRow, kLinkedDeviceTypeCount> table{};
    for (std::size_t type = 0; type < kLinkedDeviceTypeCount; ++type) {
        PanelButtonRow& row = table[type];
        row = plain;
        const TypeKeys& keys = kTypeKeys[type];
        for (const auto& [first, last] : keys.ranges)
            for (std::size_t i = first; i <= last; ++i)
                row[i].wFlags = kPanelEnabled | kPanelPresent | kPanelReloadEachFormat;
        for (const Note& note : keys.notes)
            row[note.index].wFlags |= note.flags;
        if (keys.presetTips)
            for (std::size_t i = 0; i < 16; ++i)
                row[i].wTipId = static_cast<std::uint16_t>(kFirstPresetTip + i);
        if (keys.eightSplit)
            row[20].wControlId = row[20].wTipId = kEightSplitId;
    }
    return table;
}

}  // namespace

const std::array<PanelButtonRow, kLinkedDeviceTypeCount> kPanelButtonTable = BuildTable();

}  // namespace mainwindow
