#include "shell/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kovra::shell {
namespace {

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

bool same_section(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

} // namespace

bool ini_file::load(const std::string& path) {
  sections_.clear();
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::string text;
  char buf[65536];
  while (f.read(buf, sizeof buf) || f.gcount() > 0) {
    text.append(buf, std::size_t(f.gcount()));
    if (text.size() > ini_size_limit) return false;
  }
  parse(text);
  return true;
}

void ini_file::parse(const std::string& text) {
  sections_.clear();
  sections_.push_back(section_lines{});
  std::size_t start = 0;
  // A byte-order mark written by an editor is not part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string raw = text.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    start = end + 1;

    std::string t = trim(raw);
    if (t.size() >= 2 && t.front() == '[' && t.find(']') != std::string::npos) {
      sections_.push_back(section_lines{trim(t.substr(1, t.find(']') - 1)), {}});
      continue;
    }
    line l;
    l.raw = raw;
    std::size_t eq = raw.find('=');
    if (!t.empty() && t[0] != ';' && t[0] != '#' && eq != std::string::npos) {
      l.entry = true;
      l.key = trim(raw.substr(0, eq));
      l.value = trim(raw.substr(eq + 1));
    }
    sections_.back().lines.push_back(std::move(l));
  }
}

std::string ini_file::text() const {
  std::string out;
  bool first = true;
  for (const auto& s : sections_) {
    if (!first || !s.name.empty()) out += "[" + s.name + "]\r\n";
    first = false;
    for (const auto& l : s.lines) out += (l.entry ? l.key + "=" + l.value : l.raw) + "\r\n";
  }
  return out;
}

bool ini_file::save(const std::string& path, int* error_code) const {
  std::string tmp = path + ".tmp~";
  std::string data = text();
  auto fail = [&](int err) {
    if (error_code) *error_code = err;
    return false;
  };
  // The rename below would replace a file the user marked read-only: refuse it instead.
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && (::access(path.c_str(), W_OK) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0))
    return fail(EACCES);
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return fail(errno);
  if (exists) ::fchmod(fileno(f), st.st_mode & 07777);
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  int err = ok ? 0 : errno;
  ok = (std::fflush(f) == 0) && ok;
  ok = (::fsync(fileno(f)) == 0) && ok;
  if (std::fclose(f) != 0) ok = false;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    err = err ? err : errno;
    std::remove(tmp.c_str());
    return fail(err ? err : EIO);
  }
  return true;
}

ini_file::section_lines* ini_file::find(const std::string& section) {
  for (auto& s : sections_)
    if (&s != &sections_.front() && same_section(s.name, section)) return &s;
  return nullptr;
}

const ini_file::section_lines* ini_file::find(const std::string& section) const {
  return const_cast<ini_file*>(this)->find(section);
}

std::optional<std::string> ini_file::read(const std::string& section, const std::string& key) const {
  const section_lines* s = find(section);
  if (!s) return std::nullopt;
  for (const auto& l : s->lines)
    if (l.entry && l.key == key) return l.value;
  return std::nullopt;
}

std::string ini_file::read_string(const std::string& section, const std::string& key,
                                  const std::string& fallback) const {
  auto v = read(section, key);
  return v ? *v : fallback;
}

long ini_file::read_int(const std::string& section, const std::string& key, long fallback) const {
  auto v = read(section, key);
  if (!v) return fallback;
  const char* p = v->c_str();
  char* end = nullptr;
  errno = 0;
  long n = std::strtol(p, &end, 10);
  if (end == p || errno == ERANGE) return fallback;
  return n;
}

void ini_file::write(const std::string& section, const std::string& key, const std::string& value) {
  if (sections_.empty()) sections_.push_back(section_lines{});
  section_lines* s = find(section);
  if (!s) {
    sections_.push_back(section_lines{section, {}});
    s = &sections_.back();
  }
  for (auto& l : s->lines)
    if (l.entry && l.key == key) {
      l.value = value;
      return;
    }
  // After the last entry, so blank lines that end the section stay at its end.
  auto pos = s->lines.end();
  while (pos != s->lines.begin() && trim((pos - 1)->raw).empty() && !(pos - 1)->entry) --pos;
  line l;
  l.entry = true;
  l.key = key;
  l.value = value;
  s->lines.insert(pos, std::move(l));
}

bool ini_file::erase_key(const std::string& section, const std::string& key) {
  section_lines* s = find(section);
  if (!s) return false;
  for (auto it = s->lines.begin(); it != s->lines.end(); ++it)
    if (it->entry && it->key == key) {
      s->lines.erase(it);
      return true;
    }
  return false;
}

void ini_file::erase_section(const std::string& section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it)
    if (it != sections_.begin() && same_section(it->name, section)) {
      sections_.erase(it);
      return;
    }
}

std::vector<std::string> ini_file::sections() const {
  std::vector<std::string> out;
  for (std::size_t i = 1; i < sections_.size(); ++i) out.push_back(sections_[i].name);
  return out;
}

std::vector<std::string> ini_file::keys(const std::string& section) const {
  std::vector<std::string> out;
  if (const section_lines* s = find(section))
    for (const auto& l : s->lines)
      if (l.entry) out.push_back(l.key);
  return out;
}

bool ini_file::has_section(const std::string& section) const { return find(section) != nullptr; }

std::optional<std::string> ini_read(const std::string& path, const std::string& section, const std::string& key) {
  ini_file f;
  if (!f.load(path)) return std::nullopt;
  return f.read(section, key);
}

bool ini_write(const std::string& path, const std::string& section, const std::string& key,
               const std::string& value, int* error_code) {
  ini_file f;
  if (!f.load(path) && ::access(path.c_str(), F_OK) == 0) {
    if (error_code) *error_code = EACCES;
    return false;
  }
  f.write(section, key, value);
  return f.save(path, error_code);
}

} // namespace kovra::shell
