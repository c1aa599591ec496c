#pragma once
// The program's command line: folder options only; the program takes no document path.
//
// An option word begins with "-" and its second character is the option letter; the value
// is the rest of the word. Only "-" introduces an option here: "/" begins absolute paths.
// Letters are lower case only ("-D" is not an option); the first word for a letter wins;
// a word without a value and every other word are ignored.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::shell {

struct folder_options {
  std::optional<std::string> shared;  // -s
  std::optional<std::string> data;    // -d
  std::optional<std::string> user;    // -u
  std::optional<std::string> ini;     // -i
};

// Splits a command line given as one text: blanks separate words; a word that begins with a
// double quote runs to the next double quote (which may hold blanks; the quotes are dropped).
std::vector<std::string> split_command_line(std::string_view line);

// A word as it arrived in argv: one that begins with a double quote is cut at the next one.
std::string unquote_word(std::string_view word);

// The folder options among `words` (the program's name not included).
folder_options parse_folder_options(const std::vector<std::string>& words);

// Words that are not options: files the user asked to open (`kovra FILE`, or a file
// manager starting the program for a .kvr).
std::vector<std::string> file_arguments(const std::vector<std::string>& words);

// The open request a second start (or the desktop) sends to the running program:
// [open("path")].
std::string open_command_text(const std::string& path);
// The path of an open request: the text between the first "[" and the next "]"; when it
// contains "open", the part between "(" and ")", then between the first pair of quotation
// marks. Nothing when the command names no path.
std::optional<std::string> open_command_path(std::string_view command);

} // namespace kovra::shell
