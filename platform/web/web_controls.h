#pragma once

#include <cstdint>
#include <vector>

#include "resources/dialog_template.h"

namespace ts::platform {

// One control of a window in the page, as the program keeps it: what it is,
// and for an up-down control its position, which lives here rather than in
// the page (its two buttons only report steps).
struct WebControl {
    int id;
    res::ControlKind kind;
    std::uint32_t style;
    int position = 0;
};

// Builds the controls of `layout` into the page's window `handle`, in
// template order, which is also the page's order and so the Tab order.
std::vector<WebControl> buildControls(int handle, const res::DialogTemplate& layout);

// Up-down positions are 16-bit values, as the native control keeps them.
int clampUpDownPosition(int position);

}  // namespace ts::platform
