#pragma once
// Text-format flags of recorded text (the classic text-drawing flag values, kept because
// they are stored in page files and in the cell formats of table rows).
#include <cstdint>

namespace kovra::report {

inline constexpr uint16_t DT_LEFT = 0x0000;
inline constexpr uint16_t DT_CENTER = 0x0001;
inline constexpr uint16_t DT_RIGHT = 0x0002;
inline constexpr uint16_t DT_VCENTER = 0x0004;
inline constexpr uint16_t DT_BOTTOM = 0x0008;
inline constexpr uint16_t DT_WORDBREAK = 0x0010;
inline constexpr uint16_t DT_SINGLELINE = 0x0020;
inline constexpr uint16_t DT_EXPANDTABS = 0x0040;
inline constexpr uint16_t DT_NOCLIP = 0x0100;
inline constexpr uint16_t DT_EXTERNALLEADING = 0x0200;
inline constexpr uint16_t DT_NOPREFIX = 0x0800;
inline constexpr uint16_t DT_EDITCONTROL = 0x2000;  // with word-break: break inside words too

} // namespace kovra::report
