#pragma once

namespace tarvex {

// The user-settable colour items. The core answers colouring questions with an item; the GUI
// maps items to real colours.
enum class TColorItem : int {
    Normal = 0,
    DateTime,
    Errors,
    Info,
    Transfers,
    Special,
    Background,
    TLInc,
    TLOut,
    TLHuman,
    TLBad,
};

inline constexpr int kColorItemCount = 11;

}  // namespace tarvex
