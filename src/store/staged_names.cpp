#include "store/staged_names.h"

#include "store/paths.h"
#include "store/share_lock.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace kovra::store {

namespace fs = std::filesystem;

namespace {

constexpr const char* staged_extension = ".kvr";

// The process id in ".NAME-PID-N.kvr" (or its working copy ".NAME-PID-N.kv~"); 0 when the
// name is not one of `target_name`'s temporaries.
pid_t staged_owner(const std::string& name, const std::string& target_name) {
  const std::string prefix = "." + target_name + "-";
  const std::string copy_extension = working_copy_name(staged_extension);
  if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0) return 0;
  const std::string tail = name.substr(name.size() - 4);
  if (tail != staged_extension && tail != copy_extension) return 0;
  const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
  const size_t dash = middle.find('-');
  if (dash == 0 || dash == std::string::npos || dash + 1 == middle.size()) return 0;
  for (size_t i = 0; i < middle.size(); ++i)
    if (i != dash && (middle[i] < '0' || middle[i] > '9')) return 0;
  if (dash > 9) return 0;
  return pid_t(std::stol(middle.substr(0, dash)));
}

bool process_runs(pid_t pid) { return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM; }

bool held_by_an_open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool held = writing_held(fd);
  ::close(fd);
  return held;
}

} // namespace

std::string staged_name(const std::string& target, unsigned serial) {
  const fs::path t(target);
  return (t.parent_path() / ("." + t.filename().string() + "-" + std::to_string(::getpid()) + "-" +
                             std::to_string(serial) + staged_extension))
      .string();
}

int remove_stale_staged(const std::string& target) {
  const fs::path t(target);
  const std::string target_name = t.filename().string();
  const fs::path folder = t.parent_path().empty() ? fs::path(".") : t.parent_path();
  std::error_code ec;
  int removed = 0;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const pid_t owner = staged_owner(name, target_name);
    if (owner <= 0 || process_runs(owner) || !it->is_regular_file(ec)) continue;
    if (held_by_an_open(it->path().string())) continue;
    std::error_code gone;
    if (fs::remove(it->path(), gone)) ++removed;
  }
  return removed;
}

} // namespace kovra::store
