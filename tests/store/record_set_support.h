#pragma once
// A small record set for store tests: three chains (types 2 auto-numbered, 3 auto-numbered,
// 4 plain) and a 100-byte user header, no key index.
#include "store/container.h"
#include "store/corruption.h"
#include "store/record_set.h"
#include "store/records.h"

#include <string>
#include <vector>

namespace kovra::test {

inline constexpr int test_user_header_size = 100;

struct test_classes {
  kovra::store::record_class c[3] = {{kovra::store::REC_TYPE_ELPZ, 1},
                                     {kovra::store::REC_TYPE_ZEST, 1},
                                     {kovra::store::REC_TYPE_RMS_BLK, 0}};
};

bool create_test_set(const std::string& path);
kovra::store::open_set_request test_open_request(const std::string& path, test_classes& classes,
                                                 int storage = kovra::store::STORAGE_DIRECT, int open_mode = 0);

class recording_corruption : public kovra::store::corruption_handler {
public:
  void corrupted(const std::string&, bool) override { ++calls; }
  int calls = 0;
};

std::vector<uint8_t> pattern(size_t length, uint8_t seed);

} // namespace kovra::test
