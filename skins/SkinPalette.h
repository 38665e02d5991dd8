#pragma once
// The skin set's colours: a light face with deep-blue bands and glyphs, so the
// windows' own drawing (grey 221, light blue 157/216/244, blue 0/20/255 and
// black status text) reads on every picture.

#include <QColor>

namespace skins::palette {

inline const QColor kBandDark{22, 58, 108};      // title and frame bands
inline const QColor kBandLight{44, 98, 166};
inline const QColor kBarDark{36, 48, 64};         // the main window's button bar
inline const QColor kBarLight{58, 74, 96};
inline const QColor kGround{233, 238, 244};       // dialog surfaces
inline const QColor kCard{248, 250, 253};         // the login dialog's field area
inline const QColor kVideoWell{14, 18, 24};       // behind the live picture
inline const QColor kPanel{206, 216, 228};        // the open control panel
inline const QColor kStatus{238, 242, 247};       // the status strip (black text)
inline const QColor kEdge{92, 124, 168};

inline const QColor kFaceTop{252, 253, 255};      // button faces
inline const QColor kFaceBottom{206, 220, 238};
inline const QColor kHoverTop{236, 246, 255};
inline const QColor kHoverBottom{157, 216, 244};
inline const QColor kPressedTop{30, 80, 150};
inline const QColor kPressedBottom{52, 112, 190};
inline const QColor kDisabledFace{222, 225, 230};
inline const QColor kFaceEdge{70, 104, 150};

inline const QColor kGlyph{18, 56, 112};          // glyphs and captions on faces
inline const QColor kGlyphOnDark{240, 245, 252};
inline const QColor kGlyphDisabled{150, 158, 168};
inline const QColor kAccent{0, 20, 255};          // the windows' own blue
inline const QColor kRunning{44, 120, 220};
inline const QColor kRecord{204, 40, 40};
inline const QColor kAlarm{232, 64, 32};
inline const QColor kOk{40, 150, 90};
inline const QColor kHighlight{255, 196, 64};     // the active quadrant, the current channel's mark

}  // namespace skins::palette
