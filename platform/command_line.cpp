// Splitting a command line by the rules of a Windows program's C run-time.
#include "platform/command_line.h"

#include <algorithm>

namespace verdantix {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

/// The program's name at the start of `line`; `at` moves past it and its closing quote.
std::string ProgramName(std::string_view line, std::size_t& at) {
  if (line.starts_with('"')) {
    const std::size_t close = std::min(line.find('"', 1), line.size());
    at = std::min(close + 1, line.size());
    return std::string(line.substr(1, close - 1));
  }
  at = std::min(line.find_first_of(" \t"), line.size());
  return std::string(line.substr(0, at));
}

/// The arguments after the program's name: blanks, quotes and backslashes as described in the
/// header. `quotes` counts the quotes of a run: 1 is open, 2 closes, 3 is a literal quote.
void SplitArguments(std::string_view line, std::size_t at, std::vector<std::string>& words) {
  std::string word;
  bool in_word = false;
  int quotes = 0;
  std::size_t backslashes = 0;
  while (at < line.size()) {
    const char c = line[at++];
    if (IsBlank(c) && quotes == 0) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      backslashes = 0;
      continue;
    }
    in_word = true;
    if (c != '"') {
      word += c;
      backslashes = c == '\\' ? backslashes + 1 : 0;
      continue;
    }
    word.resize(word.size() - backslashes / 2);
    if (backslashes % 2 == 1) {
      word.back() = '"';  // the odd backslash escapes the quote
    } else {
      ++quotes;
    }
    backslashes = 0;
    for (; at < line.size() && line[at] == '"'; ++at) {
      if (++quotes == 3) {
        word += '"';
        quotes = 0;
      }
    }
    if (quotes == 2) quotes = 0;
  }
  if (in_word) words.push_back(std::move(word));
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view command_line) {
  std::size_t at = 0;
  std::vector<std::string> words{ProgramName(command_line, at)};
  SplitArguments(command_line, at, words);
  return words;
}

}  // namespace verdantix
