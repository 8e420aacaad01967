// What a screen reader is told of a palette: a list named after its kind,
// one item per listed picture (named as its tooltip names it), the current
// cell being the focused item. Items are made when a reader asks for them,
// so a palette of thousands of pictures costs nothing until then.
#pragma once

namespace halvorn {

// Makes Qt describe every palette canvas this way; safe to call repeatedly.
void InstallPaletteAccessibility();

} // namespace halvorn
