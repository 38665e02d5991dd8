#include "skins/SkinTable.h"

#include <QRect>

#include <array>
#include <string_view>

#include "skins/SkinPalette.h"

namespace skins {
namespace {

using namespace palette;

// The file-name endings of a button's states.
struct StateName {
    std::string_view suffix;
    State state;
};
constexpr StateName kNormalHoverPressed[] = {{"", State::Normal}, {"_over", State::Hover}, {"_down", State::Pressed}};
constexpr StateName kToolStates[] = {
    {"", State::Normal}, {"_over", State::Hover}, {"_down", State::Pressed}, {"_n", State::Disabled}};

class Builder {
public:
    std::vector<SkinPicture> pictures;

    SkinPicture& Add(std::string name, int width, int height, Look look) {
        SkinPicture& picture = pictures.emplace_back();
        picture.name = std::move(name);
        picture.width = width;
        picture.height = height;
        picture.look = look;
        return picture;
    }
    void Face(std::string name, QSize size, State state, Glyph glyph, QColor ground, QString caption = {}) {
        SkinPicture& picture = Add(std::move(name), size.width(), size.height(), Look::Face);
        picture.state = state;
        picture.glyph = glyph;
        picture.caption = std::move(caption);
        picture.ground = ground;
    }
    // "<stem><suffix><extension>" for each state.
    template <std::size_t N>
    void Faces(std::string_view stem, std::string_view extension, const StateName (&states)[N], QSize size,
               Glyph glyph, QColor ground, QString caption = {}) {
        for (const StateName& s : states)
            Face(std::string(stem) + std::string(s.suffix) + std::string(extension), size, s.state, glyph, ground,
                 caption);
    }
    void GlyphPicture(std::string name, QSize size, Glyph glyph, QColor ground) {
        SkinPicture& picture = Add(std::move(name), size.width(), size.height(), Look::Glyph);
        picture.glyph = glyph;
        picture.ground = ground;
    }
    void Piece(std::string name, Look look, QRect place) {
        Add(std::move(name), place.width(), place.height(), look).origin = place.topLeft();
    }
};

// ---- The login dialog ---------------------------------------------------------

void AddLoginDialog(Builder& b) {
    const struct {
        const char* name;
        QRect place;
    } pieces[] = {
        {"BMP/LOGIN/spacer.bmp", {0, 0, 304, 341}},        {"BMP/LOGIN/left_top.bmp", {0, 0, 21, 34}},
        {"BMP/LOGIN/right_top.bmp", {278, 0, 26, 34}},     {"BMP/LOGIN/top_middle1.bmp", {21, 0, 257, 12}},
        {"BMP/LOGIN/top_middle2.bmp", {21, 12, 257, 22}},  {"BMP/LOGIN/left_middle.bmp", {0, 34, 21, 285}},
        {"BMP/LOGIN/right_middle.bmp", {278, 34, 26, 285}}, {"BMP/LOGIN/left_down.bmp", {0, 319, 25, 22}},
        {"BMP/LOGIN/right_down.bmp", {280, 319, 24, 22}},  {"BMP/LOGIN/down_middle.bmp", {25, 319, 255, 22}},
    };
    for (const auto& piece : pieces)
        b.Piece(piece.name, Look::LoginPiece, piece.place);
    b.Add("BMP/LOGIN/running.bmp", 16, 12, Look::Running).ground = kCard;
    for (int digit = 0; digit <= 9; ++digit)
        b.Add("BMP/LOGIN/login_" + std::to_string(digit) + ".bmp", 10, 20, Look::Digit).caption = QString::number(digit);
    b.Add("BMP/LOGIN/login_point.bmp", 10, 20, Look::Digit).caption = ".";

    const QSize command{34, 34};
    b.Faces("BMP/LOGIN/address", ".bmp", kNormalHoverPressed, command, Glyph::AddressBook, kCard);
    b.Faces("BMP/LOGIN/search", ".bmp", kNormalHoverPressed, command, Glyph::Search, kCard);
    b.Faces("BMP/LOGIN/player", ".bmp", kNormalHoverPressed, command, Glyph::Play, kCard);
    b.Face("BMP/LOGIN/download.BMP", command, State::Normal, Glyph::Download, kCard);
    b.Face("BMP/LOGIN/download_over.bmp", command, State::Hover, Glyph::Download, kCard);
    b.Face("BMP/LOGIN/download_down.bmp", command, State::Pressed, Glyph::Download, kCard);
    b.Faces("BMP/LOGIN/copy", ".bmp", kNormalHoverPressed, command, Glyph::Copy, kCard);
    b.Faces("BMP/LOGIN/enter", ".bmp", kNormalHoverPressed, {32, 32}, Glyph::Enter, kGround);
    b.Faces("BMP/LOGIN/cancel", ".bmp", kNormalHoverPressed, {32, 32}, Glyph::Cancel, kGround);

    const QSize label{28, 28};
    b.GlyphPicture("BMP/LOGIN/name.BMP", label, Glyph::User, kCard);
    b.GlyphPicture("BMP/LOGIN/password.BMP", label, Glyph::Key, kCard);
    b.GlyphPicture("BMP/LOGIN/ip.BMP", label, Glyph::Network, kCard);
    b.GlyphPicture("BMP/LOGIN/port.BMP", label, Glyph::Port, kCard);
}

// ---- The main window ----------------------------------------------------------

// The four picture formats: their prefix, window sizes (panel closed and open)
// and the rectangles of the joystick buttons, left, up, menu, down and right.
struct Format {
    const char* prefix;
    QSize closed;
    int openHeight;
    std::array<QSize, 5> joystick;
};
const Format kFormats[] = {
    {"N_VGA", {722, 608}, 680, {{{21, 23}, {21, 18}, {21, 23}, {21, 18}, {18, 23}}}},
    {"N_QVGA", {370, 366}, 461, {{{21, 23}, {21, 18}, {21, 23}, {21, 18}, {17, 23}}}},
    {"P_VGA", {722, 705}, 776, {{{21, 23}, {21, 18}, {21, 23}, {21, 18}, {18, 23}}}},
    {"P_QVGA", {370, 414}, 509, {{{21, 23}, {21, 18}, {21, 23}, {21, 18}, {18, 21}}}},
};

constexpr StateName kPanelStates[] = {{"", State::Normal}, {"_OVER", State::Hover}};
constexpr StateName kTwoLooks[] = {{"", State::Normal}, {"_a", State::Hover}};
constexpr StateName kDialogStates[] = {{"", State::Normal}, {"_over", State::Hover}};

void AddMainWindow(Builder& b) {
    for (const Format& format : kFormats) {
        const std::string stem = std::string("BMP/") + format.prefix;
        SkinPicture& closed = b.Add(stem + "_BG.bmp", format.closed.width(), format.closed.height(),
                                    Look::WindowBackground);
        closed.split = format.closed.height();
        SkinPicture& open = b.Add(stem + "_BG_EX.bmp", format.closed.width(), format.openHeight, Look::WindowBackground);
        open.split = format.closed.height();

        const Glyph arrows[] = {Glyph::Left, Glyph::Up, Glyph::Menu, Glyph::Down, Glyph::Right};
        const char* names[] = {"LEFT", "UP", "MENU", "DOWN", "RIGHT"};
        for (std::size_t i = 0; i < 5; ++i) {
            b.Faces(stem + "_" + names[i], ".bmp", kPanelStates, format.joystick[i], arrows[i], kPanel);
            if (arrows[i] == Glyph::Menu)
                continue;
            b.Faces(stem + "_" + names[i] + "_TURBO", ".bmp", kPanelStates, format.joystick[i], arrows[i], kPanel);
            for (std::size_t k = 1; k <= std::size(kPanelStates); ++k)
                b.pictures[b.pictures.size() - k].turbo = true;
        }
        // The control panel's other keys (their names in the panel's button table), captioned.
        const struct {
            const char* name;
            const char* caption;
        } keys[] = {
            {"UP_PIP", "P"},        {"UP_QUAD", "Q"},      {"4CUT", "4"},         {"9CUT", "9"},
            {"16CUT", "16"},        {"PIP", "PIP"},        {"POP", "POP"},        {"MULTI", "M"},
            {"AUTO", "A"},          {"REC_SEARCH", "S"},   {"VCR", "VCR"},        {"LIVE", "L"},
            {"QUAD", "Q"},          {"FREEZE", "F"},       {"PLUS", "+"},         {"MINUS", "-"},
            {"REMOTE_REC", "R"},    {"REBOOT", "RB"},      {"ESCAPE", "ES"},      {"SEC_ENTER", "EN"},
            {"STOP_REC", "SR"},     {"RECORDING", "RC"},   {"ZOOM", "Z"},         {"SELECT", "SL"},
            {"LOCK", "LK"},         {"SEARCH", "SE"},      {"ENTER", "EN"},       {"STOP", "ST"},
            {"RECORD", "R"},        {"REW", "<<"},         {"FAST", ">>"},        {"PAUSE", "||"},
            {"SLOW", ">"},          {"PLAY", "PL"},        {"ZOOM_IN_MAX", "Z+"}, {"ZOOM_OUT_MAX", "Z-"},
            {"DIGITAL_ZOOM", "DZ"}, {"SET", "SET"},        {"SEQUENCE", "SQ"},
        };
        for (const auto& key : keys)
            b.Faces(stem + "_" + key.name, ".bmp", kPanelStates, {18, 18}, Glyph::None, kPanel,
                    QString::fromLatin1(key.caption));
        b.Faces(stem + "_PANELUP", ".bmp", kPanelStates, {32, 32}, Glyph::PanelUp, kBarDark);
        b.Faces(stem + "_PANELDOWN", ".bmp", kPanelStates, {32, 32}, Glyph::PanelDown, kPanel);
    }
    b.Add("BMP/VGA_Status_Bar.bmp", 708, 20, Look::StatusStrip);
    b.Add("BMP/StatusBar.bmp", 356, 20, Look::StatusStrip);
    b.GlyphPicture("BMP/Online_User_ICON.bmp", {13, 16}, Glyph::Camera, kStatus);
    b.GlyphPicture("BMP/alarm.bmp", {13, 16}, Glyph::Alarm, kStatus);

    // Title buttons: normal and "_a" hover.
    b.Faces("BMP/Title_Bar_Hide", ".bmp", kTwoLooks, {13, 13}, Glyph::Hide, kBandDark);
    b.Faces("BMP/Title_Bar_Fullscreen", ".bmp", kTwoLooks, {13, 13}, Glyph::FullScreen, kBandDark);
    b.Faces("BMP/Title_Bar_Close", ".bmp", kTwoLooks, {13, 13}, Glyph::Close, kBandDark);
    b.Faces("BMP/power", ".bmp", kNormalHoverPressed, {26, 26}, Glyph::Power, kBarDark);

    // Zoom and focus of the camera tools, plain and turbo.
    const struct {
        const char* plain;
        const char* turbo;
        Glyph glyph;
    } lenses[] = {{"BMP/2Col_zoom_in", "BMP/2Col_zoom_turbo_in", Glyph::ZoomIn},
                  {"BMP/2Col_zoom_out", "BMP/2Col_zoom_turbo_out", Glyph::ZoomOut},
                  {"BMP/2Col_focus_in", "BMP/2Col_focus_turbo_in", Glyph::FocusIn},
                  {"BMP/2Col_focus_out", "BMP/2Col_focus_turbo_out", Glyph::FocusOut}};
    const QSize lensSize{30, 22};
    for (const auto& lens : lenses) {
        b.Faces(lens.plain, ".bmp", kTwoLooks, lensSize, lens.glyph, kPanel);
        b.Faces(lens.turbo, ".bmp", kTwoLooks, lensSize, lens.glyph, kPanel);
        for (std::size_t i = 1; i <= std::size(kTwoLooks); ++i)
            b.pictures[b.pictures.size() - i].turbo = true;
    }
    // The channel buttons of the control panel, and its PTZ toggle.
    for (int channel = 1; channel <= 16; ++channel)
        b.Faces("BMP/ch" + std::to_string(channel), ".bmp", kTwoLooks, {18, 18}, Glyph::None, kPanel,
                QString::number(channel));
    b.Face("BMP/ptz_off.bmp", {14, 14}, State::Normal, Glyph::Ptz, kPanel);
    b.Face("BMP/ptz_off_over.bmp", {14, 14}, State::Hover, Glyph::Ptz, kPanel);
    b.Face("BMP/ptz_on.bmp", {14, 14}, State::On, Glyph::Ptz, kPanel);
    b.Face("BMP/ptz_on_over.bmp", {14, 14}, State::OnHover, Glyph::Ptz, kPanel);
    // The panel's other two-state keys: turbo, R.E.T.R., action/preset.
    const struct {
        const char* stem;
        const char* caption;
    } toggles[] = {{"BMP/turbo", "T"}, {"BMP/retr", "R"}, {"BMP/preset", "P"}};
    for (const auto& toggle : toggles) {
        const std::string stem = toggle.stem;
        const QString caption = QString::fromLatin1(toggle.caption);
        b.Face(stem + "_off.bmp", {18, 18}, State::Normal, Glyph::None, kPanel, caption);
        b.Face(stem + "_off_over.bmp", {18, 18}, State::Hover, Glyph::None, kPanel, caption);
        b.Face(stem + "_on.bmp", {18, 18}, State::On, Glyph::None, kPanel, caption);
        b.Face(stem + "_on_over.bmp", {18, 18}, State::OnHover, Glyph::None, kPanel, caption);
    }
}

// The channel bar: the current channel's look ("Enable", state 0) and the others' ("Disable").
void AddChannelBar(Builder& b) {
    const auto addChannel = [&b](const std::string& stem, QSize size, Glyph glyph, const QString& caption) {
        b.Face(stem + "_Enable.bmp", size, State::On, glyph, kBarDark, caption);
        b.Face(stem + "_Enable_over.bmp", size, State::OnHover, glyph, kBarDark, caption);
        b.Face(stem + "_Disable.bmp", size, State::Normal, glyph, kBarDark, caption);
        b.Face(stem + "_Disable_over.bmp", size, State::Hover, glyph, kBarDark, caption);
    };
    addChannel("BMP/Channel_dvr", {40, 28}, Glyph::Quad, {});
    for (int channel = 1; channel <= 16; ++channel)
        addChannel("BMP/Channel_" + std::to_string(channel), {35, 28}, Glyph::None, QString::number(channel));
    b.Face("BMP/Channel_Left.bmp", {9, 16}, State::Normal, Glyph::Left, kBarDark);
    b.Face("BMP/Channel_Left_Down.bmp", {9, 16}, State::Pressed, Glyph::Left, kBarDark);
    b.Face("BMP/Channel_Right.bmp", {9, 16}, State::Normal, Glyph::Right, kBarDark);
    b.Face("BMP/Channel_Right_Down.bmp", {9, 16}, State::Pressed, Glyph::Right, kBarDark);
}

// The tool buttons at the top right, each with its hover, pressed and disabled looks.
void AddToolButtons(Builder& b) {
    const QSize tool{26, 26};
    const struct {
        const char* stem;
        Glyph glyph;
    } tools[] = {
        {"BMP/link", Glyph::Link},       {"BMP/link_off", Glyph::LinkOff},
        {"BMP/qvga", Glyph::None},       {"BMP/vga", Glyph::None},
        {"BMP/high", Glyph::QualityHigh}, {"BMP/mid", Glyph::QualityMid},
        {"BMP/low", Glyph::QualityLow},  {"BMP/Image_Quality", Glyph::Colour},
        {"BMP/snapshoot", Glyph::Snapshot}, {"BMP/Record_Button", Glyph::Record},
        {"BMP/Recording_Button", Glyph::Recording}, {"BMP/system_setting", Glyph::Settings},
    };
    for (const auto& tool_row : tools) {
        const std::string_view stem = tool_row.stem;
        const QString caption = stem == "BMP/qvga" ? "½" : stem == "BMP/vga" ? "1:1" : QString();
        b.Faces(stem, ".bmp", kToolStates, tool, tool_row.glyph, kBarDark, caption);
    }
}

// The G66M sensor-mode tool bar.
void AddSensorBar(Builder& b) {
    b.Add("BMP/CMOS/ToolBarBG.bmp", 45, 300, Look::SensorBar);
    const struct {
        const char* stem;
        Glyph glyph;
    } buttons[] = {
        {"BMP/CMOS/FullFrame", Glyph::FullFrame},       {"BMP/CMOS/QFrame_LT", Glyph::QuadLeftTop},
        {"BMP/CMOS/QFrame_RT", Glyph::QuadRightTop},    {"BMP/CMOS/QFrame_LB", Glyph::QuadLeftBottom},
        {"BMP/CMOS/QFrame_RB", Glyph::QuadRightBottom}, {"BMP/CMOS/QFrame_CN", Glyph::QuadCentre},
        {"BMP/CMOS/CMOS_HR", Glyph::MirrorHorizontal},  {"BMP/CMOS/CMOS_VR", Glyph::MirrorVertical},
    };
    for (const auto& button : buttons) {
        b.Face(std::string(button.stem) + "_UP.bmp", {30, 30}, State::Normal, button.glyph, kBarDark);
        b.Face(std::string(button.stem) + "_DOWN.bmp", {30, 30}, State::Pressed, button.glyph, kBarDark);
    }
}

// The colour-adjustment dialog.
void AddColourDialog(Builder& b) {
    const struct {
        const char* name;
        QRect place;
    } pieces[] = {
        {"BMP/TitleLeft.bmp", {0, 0, 10, 32}},     {"BMP/TitleRight.bmp", {294, 0, 10, 32}},
        {"BMP/TilteBar_ess.bmp", {10, 0, 284, 32}}, {"BMP/LeftSide_ess.bmp", {0, 32, 10, 151}},
        {"BMP/RightSide_ess.bmp", {294, 32, 10, 151}}, {"BMP/BottomLeft.bmp", {0, 183, 10, 13}},
        {"BMP/BottomRight.bmp", {294, 183, 10, 13}}, {"BMP/Bottom_ess.bmp", {10, 183, 284, 13}},
    };
    for (const auto& piece : pieces)
        b.Piece(piece.name, Look::ColourPiece, piece.place);
    b.GlyphPicture("BMP/Player_Logo.bmp", {21, 15}, Glyph::Logo, kBandDark);
    const QColor dialogGrey{221, 221, 221};
    b.Faces("BMP/Dialog_default", ".bmp", kDialogStates, {88, 25}, Glyph::None, dialogGrey, "Domyślne");
    b.Faces("BMP/Dialog_apply", ".bmp", kDialogStates, {88, 25}, Glyph::None, dialogGrey, "Zastosuj");
    b.Faces("BMP/Dialog_ok", ".bmp", kDialogStates, {44, 25}, Glyph::None, dialogGrey, "OK");
    b.GlyphPicture("BMP/Dialog_Brightness.bmp", {20, 20}, Glyph::Brightness, dialogGrey);
    b.GlyphPicture("BMP/Dialog_Contrast.bmp", {20, 20}, Glyph::Contrast, dialogGrey);
    b.GlyphPicture("BMP/Dialog_Hue.bmp", {20, 20}, Glyph::Hue, dialogGrey);
}

}  // namespace

const std::vector<SkinPicture>& SkinPictures() {
    static const std::vector<SkinPicture> pictures = [] {
        Builder b;
        AddLoginDialog(b);
        AddMainWindow(b);
        AddChannelBar(b);
        AddToolButtons(b);
        AddSensorBar(b);
        AddColourDialog(b);
        return std::move(b.pictures);
    }();
    return pictures;
}

}  // namespace skins
