#pragma once
// Which chain of an estimate's record set holds what, and the record type written into
// each chain's blocks.
#include <cstdint>

namespace kovra::document {

// Document kinds (kind bits of the file header's flags).
inline constexpr int KIND_SIMPLE = 1;
inline constexpr int KIND_COMPOUND = 2;

// Simple estimate.
inline constexpr int CHAIN_ELPZ = 0;      // tree nodes, in pre-order
inline constexpr int CHAIN_ZEST = 1;      // price records
inline constexpr int CHAIN_RMS_BLK = 2;   // inputs blocks, scaffold links
inline constexpr int CHAIN_SURVEY = 3;    // quantity-survey records
inline constexpr int CHAIN_DATA = 4;      // additions, description, authors, print configuration, overheads
inline constexpr int CHAIN_TEXT = 5;      // node texts
inline constexpr int CHAIN_FILTER = 6;    // kept, never read
inline constexpr int SIMPLE_CHAINS = 7;

// Compound estimate.
inline constexpr int CHAIN_CHPT_NODE = 0;  // chapter records
inline constexpr int CHAIN_CHPT_ZEST = 1;  // summary price records
inline constexpr int CHAIN_COMPOUND_DATA = 2;
inline constexpr int CHAIN_HGRAM_LINK = 3;  // kept, never read
inline constexpr int COMPOUND_CHAINS = 4;

// Record type codes of the chains, in chain order.
inline constexpr uint8_t SIMPLE_CHAIN_TYPES[SIMPLE_CHAINS] = {2, 3, 4, 5, 6, 15, 12};
inline constexpr bool SIMPLE_CHAIN_AUTO_NUMBER[SIMPLE_CHAINS] = {true, true, false, false, false, false, false};
inline constexpr uint8_t COMPOUND_CHAIN_TYPES[COMPOUND_CHAINS] = {9, 10, 6, 14};
inline constexpr bool COMPOUND_CHAIN_AUTO_NUMBER[COMPOUND_CHAINS] = {true, true, false, false};

// Key indexes over the price chain: key 0 (id and sub-code, unique) and key 1 (kind and
// collated name prefix, repeated), both type 7 (raw bytes), 3 levels.
inline constexpr int KEY_BY_CODE = 0;
inline constexpr int KEY_BY_NAME = 1;

} // namespace kovra::document
