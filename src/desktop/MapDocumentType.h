// The map document type as the program registers it at every start and as
// the installed package declares it: one source for both, so the two never
// name different types.
#pragma once

namespace halvorn {

inline constexpr const char* MapExtension = "hvm";
inline constexpr const char* MapClassName = "Halvorn III Map";
inline constexpr const char* MapDescription = "Halvorn III Map";

} // namespace halvorn
