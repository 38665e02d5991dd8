#pragma once
// Every picture the windows load from BMP/: its name (the windows' own, in
// their letter case), its size and how it is drawn. The sizes are those of the
// rectangles the windows give the pictures, so a picture fills its place.

#include <QColor>
#include <QPoint>
#include <QString>

#include <string>
#include <vector>

namespace skins {

enum class Look {
    Face,            // a button face in one of its states, with a glyph or a caption
    Glyph,           // a glyph alone on the ground colour (labels, icons)
    LoginPiece,      // a piece of the login dialog's frame, cut at `origin`
    ColourPiece,     // a piece of the colour dialog's frame, cut at `origin`
    Digit,           // a character of the version row on the login band
    Running,         // the login progress picture
    WindowBackground,// the main window's background; `split` = height with the panel closed
    StatusStrip,     // the main window's status strip
    SensorBar,       // the sensor-mode tool bar's background
};

enum class State { Normal, Hover, Pressed, Disabled, On, OnHover };

enum class Glyph {
    None, AddressBook, Search, Play, Download, Copy, Enter, Cancel, User, Key, Network, Port,
    Hide, FullScreen, Close, Power, Left, Up, Down, Right, Menu, PanelUp, PanelDown,
    ZoomIn, ZoomOut, FocusIn, FocusOut, Link, LinkOff, Snapshot, Record, Recording, Settings,
    Colour, QualityHigh, QualityMid, QualityLow, Quad, FullFrame, QuadLeftTop, QuadRightTop,
    QuadLeftBottom, QuadRightBottom, QuadCentre, MirrorHorizontal, MirrorVertical, Ptz, Camera,
    Alarm, Brightness, Contrast, Hue, Logo,
};

struct SkinPicture {
    std::string name;  // relative to the program folder, "/"-separated
    int width = 0;
    int height = 0;
    Look look = Look::Face;
    State state = State::Normal;
    Glyph glyph = Glyph::None;
    QString caption;         // drawn where there is no glyph
    QColor ground;           // what surrounds the picture where it is shown
    QPoint origin;           // pieces: where the piece sits in its window
    int split = 0;           // backgrounds: the height with the panel closed
    bool turbo = false;      // faces: the turbo look (a second, bolder glyph)
};

// The whole set, in a fixed order; every name once.
const std::vector<SkinPicture>& SkinPictures();

}  // namespace skins
