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

std::vector<std::string> file_arguments(const std::vector<std::string>& words) {
  std::vector<std::string> files;
  for (const auto& w : words)
    if (!w.empty() && w[0] != '-') files.push_back(unquote_word(w));
  return files;
}

std::string open_command_text(const std::string& path) { return "[open(\"" + path + "\")]"; }

std::optional<std::string> open_command_path(std::string_view command) {
  auto between = [](std::string_view text, char open, char close) -> std::optional<std::string_view> {
    std::size_t a = text.find(open);
    if (a == std::string_view::npos) return std::nullopt;
    std::size_t b = text.find(close, a + 1);
    if (b == std::string_view::npos) return std::nullopt;
    return text.substr(a + 1, b - a - 1);
  };
  auto inner = between(command, '[', ']');
  if (!inner || inner->find("open") == std::string_view::npos) return std::nullopt;
  // A path may hold brackets of its own: the argument runs to the last ")".
  std::size_t a = inner->find('('), b = inner->rfind(')');
  if (a == std::string_view::npos || b == std::string_view::npos || b <= a) return std::nullopt;
  auto quoted = between(inner->substr(a + 1, b - a - 1), '"', '"');
  if (!quoted || quoted->empty()) return std::nullopt;
  return std::string(*quoted);
}

} // namespace kovra::shell
