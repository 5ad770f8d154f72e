// Command lines and the words a Windows program gets: Windows' split (win32_process_test.cpp)
// and the program's own (command_line_test.cpp) are checked against this one table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace verdantix {

struct CommandLineCase {
  const char* name;
  std::string_view line;
  std::vector<std::string> words;
};

inline const std::vector<CommandLineCase> kCommandLineCases = {
    {"PlainWords", "gfxpak1 /i c b a /c", {"gfxpak1", "/i", "c", "b", "a", "/c"}},
    {"BlanksAndTabsSeparate", "gfxpak1 \t a\t\tb  ", {"gfxpak1", "a", "b"}},
    {"QuotesGroupAnywhereInAWord",
     R"(gfxpak1 /i z x\"y a"b c"d)",
     {"gfxpak1", "/i", "z", "x\"y", "ab cd"}},
    {"BackslashesAloneStay", R"(gfxpak1 C:\games\ a\\b)", {"gfxpak1", R"(C:\games\)", R"(a\\b)"}},
    {"EvenBackslashesBeforeAQuoteHalveAndGroup", R"(gfxpak1 a\\\\"b c")", {"gfxpak1", R"(a\\b c)"}},
    {"OddBackslashesBeforeAQuoteHalveAndEscapeIt", R"(gfxpak1 a\\\"b)", {"gfxpak1", R"(a\"b)"}},
    {"DoubledQuoteInsideQuotesIsAQuoteAndClosesThem",
     R"(gfxpak1 "a""b c" d)",
     {"gfxpak1", "a\"b", "c d"}},
    {"TripledQuotesAreOneQuote", R"(gfxpak1 """a b""")", {"gfxpak1", "\"a", "b\""}},
    {"EmptyQuotesAreAnEmptyWord", R"(gfxpak1 "" x)", {"gfxpak1", "", "x"}},
    {"AnOpenQuoteRunsToTheEnd", R"(gfxpak1 "my file.pak)", {"gfxpak1", "my file.pak"}},
    {"LineEndsStayInTheirWord", "gfxpak1 a\r\nb", {"gfxpak1", "a\r\nb"}},
    {"BytesBeyondAsciiPass", "gfxpak1 \"my caf\xC3\xA9\"", {"gfxpak1", "my caf\xC3\xA9"}},
    {"TheProgramNameKnowsNoEscapes", R"(gfx\"pak1 a)", {R"(gfx\"pak1)", "a"}},
    {"AQuotedProgramNameEndsAtItsClosingQuote", R"("gfx pak1"a b)", {"gfx pak1", "a", "b"}},
};

}  // namespace verdantix
