// The add-on tree's three fixed tables: the folders, the game files copied into them, and the
// locale files completed from their siblings.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace verdantix {

/// One copy: both paths relative to the game folder, beginning with a backslash.
struct CopyRow {
  std::string source;
  std::string destination;
};

/// Created in this order; each folder's parent is created before it.
inline constexpr std::array<std::string_view, 11> kAddonFolders = {
    R"(\data\kce)",         R"(\data\kce\audio)", R"(\data\kce\cst)",  R"(\data\kce\help)",
    R"(\data\kce\options)", R"(\data\kce\pause)", R"(\data\kce\main)", R"(\data\kce\team)",
    R"(\data\kce\stad)",    R"(\data\kce\sp)",    R"(\data\kce\be)",
};

/// The first copy, the one that does not come from the gui folder.
inline constexpr std::string_view kScriptSource = R"(\data\cmn\be\script.big)";
inline constexpr std::string_view kScriptDestination = R"(\data\kce\be\script.big)";

/// Every other copy takes "\data\gui\" + name to "\data\kce\" + the same name.
inline constexpr std::string_view kGuiPrefix = R"(\data\gui\)";
inline constexpr std::string_view kAddonPrefix = R"(\data\kce\)";

/// The names under the gui folder, in the order they are copied (copy rows 2 to 102).
inline constexpr std::array<std::string_view, 101> kGuiNames = {
    // Rows 2 to 7.
    R"(FGCCASGB.pfr)",
    R"(goto.big)",
    R"(goto_m.big)",
    R"(keyboard.big)",
    R"(poptest.big)",
    R"(ov_p.big)",
    // Rows 8 and 9.
    R"(audio\be_audio.big)",
    R"(audio\fe_audio.big)",
    // Rows 10 to 29.
    R"(cst\12_lge.big)",
    R"(cst\15_sea.big)",
    R"(cst\22_con.big)",
    R"(cst\23_wtrn.big)",
    R"(cst\24_itrn.big)",
    R"(cst\25_ttrn.big)",
    R"(cst\26_trsfr.big)",
    R"(cst\27_news.big)",
    R"(cst\28_help.big)",
    R"(cst\29_trn.big)",
    R"(cst\52_nm_nw.big)",
    R"(cst\p15.big)",
    R"(cst\p20.big)",
    R"(cst\p21.big)",
    R"(cst\p22.big)",
    R"(cst\p23.big)",
    R"(cst\p24.big)",
    R"(cst\p27.big)",
    R"(cst\p200.big)",
    R"(cst\p301.big)",
    // Rows 30 to 43.
    R"(help\09_help.big)",
    R"(help\c.big)",
    R"(help\cn.big)",
    R"(help\help.big)",
    R"(help\key.big)",
    R"(help\l1.big)",
    R"(help\l2.big)",
    R"(help\l.big)",
    R"(help\r1.big)",
    R"(help\r2.big)",
    R"(help\r.big)",
    R"(help\s.big)",
    R"(help\t.big)",
    R"(help\x.big)",
    // Rows 44 to 47.
    R"(main\44_hub.big)",
    R"(main\45_dir.big)",
    R"(main\46a_net.big)",
    R"(main\46b_net.big)",
    // Rows 48 to 50.
    R"(options\37_pract.big)",
    R"(options\40_cr.big)",
    R"(options\43_cred.big)",
    // Rows 51 to 63.
    R"(pause\aut_repl.big)",
    R"(pause\B1_pause.big)",
    R"(pause\B3a_pse.big)",
    R"(pause\B5_match.big)",
    R"(pause\B6a_sub.big)",
    R"(pause\B6b_tac.big)",
    R"(pause\B6c_kick.big)",
    R"(pause\B12.big)",
    R"(pause\B12_0.big)",
    R"(pause\B14a_drw.big)",
    R"(pause\B14b_fnl.big)",
    R"(pause\B14de_ol.big)",
    R"(pause\B27_pblk.big)",
    // Rows 64 to 71.
    R"(sp\a.big)",
    R"(sp\b.big)",
    R"(sp\c.big)",
    R"(sp\d.big)",
    R"(sp\e.big)",
    R"(sp\f.big)",
    R"(sp\g.big)",
    R"(sp\h.big)",
    // Row 72.
    R"(team\78.big)",
    // Rows 73 to 102.
    R"(stad\1.big)",
    R"(stad\2.big)",
    R"(stad\3.big)",
    R"(stad\4.big)",
    R"(stad\5.big)",
    R"(stad\6.big)",
    R"(stad\7.big)",
    R"(stad\8.big)",
    R"(stad\9.big)",
    R"(stad\10.big)",
    R"(stad\11.big)",
    R"(stad\12.big)",
    R"(stad\13.big)",
    R"(stad\14.big)",
    R"(stad\15.big)",
    R"(stad\16.big)",
    R"(stad\17.big)",
    R"(stad\24.big)",
    R"(stad\25.big)",
    R"(stad\27.big)",
    R"(stad\28.big)",
    R"(stad\29.big)",
    R"(stad\32.big)",
    R"(stad\33.big)",
    R"(stad\34.big)",
    R"(stad\36.big)",
    R"(stad\38.big)",
    R"(stad\39.big)",
    R"(stad\41.big)",
    R"(stad\42.big)",
};

/// The 102 copies in order: the script first, then the gui names.
std::vector<CopyRow> AddonCopyRows();

/// Made when the first destination is missing; each from a sibling with "1" before the
/// extension.
struct LocaleRow {
  std::string_view source;
  std::string_view destination;
};
inline constexpr std::string_view kLocaleFolder = R"(\data\locale)";
inline constexpr std::array<LocaleRow, 3> kLocaleRows = {{
    {R"(\data\locale\dat_eng1.big)", R"(\data\locale\dat_eng.big)"},
    {R"(\data\locale\hdr_eng1.big)", R"(\data\locale\hdr_eng.big)"},
    {R"(\data\locale\pbp_eng1.evt)", R"(\data\locale\pbp_eng.evt)"},
}};
/// The one file whose presence decides all three locale rows.
inline constexpr std::string_view kLocaleMarker = kLocaleRows[0].destination;

}  // namespace verdantix
