// How the control shows a search hit: as a selection, or marked with the hit colours.
#pragma once

#include <cstdint>

namespace tessary {

// hsSelect: an ordinary selection; hsDraw: marked with the hit colours, not selected; hsCaret:
// marked, with the caret kept at the hit's start and drawn as a block over it.
enum class TEditorHitStyle : uint8_t { hsSelect, hsDraw, hsCaret };

}  // namespace tessary
