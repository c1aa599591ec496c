#include "shell/command_line.h"

namespace kovra::shell {

std::vector<std::string> split_command_line(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    if (line[i] == '"') {
      std::size_t end = line.find('"', i + 1);
      if (end == std::string_view::npos) end = line.size();
      words.emplace_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      std::size_t end = line.find_first_of(" \t", i);
      if (end == std::string_view::npos) end = line.size();
      words.emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

std::string unquote_word(std::string_view word) {
  if (word.empty() || word[0] != '"') return std::string(word);
  std::size_t end = word.find('"', 1);
  if (end == std::string_view::npos) end = word.size();
  return std::string(word.substr(1, end - 1));
}

folder_options parse_folder_options(const std::vector<std::string>& words) {
  folder_options o;
  for (const std::string& raw : words) {
    std::string word = unquote_word(raw);
    if (word.size() < 3 || word[0] != '-') continue;
    std::optional<std::string>* slot = nullptr;
    switch (word[1]) {
    case 's': slot = &o.shared; break;
    case 'd': slot = &o.data; break;
    case 'u': slot = &o.user; break;
    case 'i': slot = &o.ini; break;
    default: continue;
    }
    if (!slot->has_value()) *slot = word.substr(2);
  }
  return o;
}

} // namespace kovra::shell
