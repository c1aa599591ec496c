#pragma once
// Estimate files the benchmarks open, generated once per run into the temporary folder
// from fixed seeds (what `kovra-cli generate` writes with the same sizes). The names carry
// the process id so runs side by side do not rebuild each other's files.
#include "document/estimate_file.h"
#include "document/estimate_generator.h"
#include "store/container.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace kovra::bench {

class generated_file {
public:
  explicit generated_file(const document::estimate_image& image, const std::string& stem) {
    store::set_disk_sync(false);
    path_ = (std::filesystem::temp_directory_path() / (stem + "_" + std::to_string(::getpid()) + ".kvr")).string();
    std::filesystem::remove(path_);
    if (!document::build_estimate_file(document::estimate_to_json(image), path_).empty()) path_.clear();
  }
  ~generated_file() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove(path_, ec);
  }
  // Empty when the file could not be written.
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

// 10,000 positions of 10 inputs over 2,000 distinct inputs, seed 1, compressed.
inline const std::string& simple_10k_file() {
  static const generated_file file(document::generate_simple_estimate(document::generator_options{}), "kovra_bench_10k");
  return file.path();
}

} // namespace kovra::bench
