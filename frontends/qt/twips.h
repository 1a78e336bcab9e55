#pragma once

namespace inkrun::qt {

// Window layouts are kept in twips; 15 twips are one pixel at 96 dots per inch, and Qt scales
// device-independent pixels for other densities.
constexpr int px(int twips) { return (twips + 7) / 15; }

}  // namespace inkrun::qt
