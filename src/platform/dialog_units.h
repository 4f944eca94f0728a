#pragma once

namespace tovarin::platform {

// The average width of the system font in pixels, as the list boxes' tab stops expect it.
int HorizontalDialogBaseUnit();

}  // namespace tovarin::platform
