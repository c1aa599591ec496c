#pragma once
// Files written under a temporary name beside their target and renamed onto it only when
// they are complete: ".NAME-PID-N.kvr" for the target NAME. A writer killed mid-way leaves
// its temporary (and the temporary's working copy) behind; the next writer of the same
// target removes those of processes that are gone.
#include <string>

namespace kovra::store {

// The temporary name for the `serial`-th file this process stages for `target`.
std::string staged_name(const std::string& target, unsigned serial);

// Removes the temporaries of `target`, and their working copies, whose process no longer
// runs. One that an open still holds stays (the process may live on another machine).
// Returns how many files went.
int remove_stale_staged(const std::string& target);

} // namespace kovra::store
