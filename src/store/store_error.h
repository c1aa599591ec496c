#pragma once
// Internal failure signal of the record store.
//
// Code deep inside the store that meets a fatal condition (a broken block, a damaged
// key block, a failed growth) first reports it (corruption report, fatal_error), then
// throws store_failure. Every public store function catches it and returns its error
// value, so nothing thrown ever leaves the store and nothing is left locked.
#include <stdexcept>
#include <string>

namespace kovra::store {

class store_failure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

} // namespace kovra::store
