// The main window Form1 and its controls, as data: captions, twips, colours and control IDs.
#pragma once

#include <array>

#include "platform/window.h"

namespace verdantix {

/// Fixed control IDs: another program that finds the window by its caption clicks a hidden
/// button by sending WM_COMMAND with BN_CLICKED and one of these, or BM_CLICK to the button.
inline constexpr int kCommand2Id = 1002;
inline constexpr int kCommand3Id = 1003;
inline constexpr int kText2Id = 1004;

inline constexpr std::string_view kForm1Caption = " Verdantix Installer";

/// In order of creation. Every control sits below the client area and is never shown.
inline constexpr std::array<ControlDescription, 3> kForm1Controls = {{
    {"Command3", kCommand3Id, ControlKind::kButton, 4320, 3600, 375, 195, "Command3", false},
    {"Command2", kCommand2Id, ControlKind::kGraphicalButton, 120, 3840, 2295, 375, "", false},
    {"Text2", kText2Id, ControlKind::kTextBox, 120, 3600, 4095, 285, "Text2", false},
}};

/// A 317 x 124 pixel client area at 96 DPI, dark navy.
inline constexpr WindowDescription kForm1 = {
    kForm1Caption, 4755, 1860, Rgb{0, 0, 64}, kForm1Controls,
};

}  // namespace verdantix
