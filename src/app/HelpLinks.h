// The web pages of the Help menu. Hosts under the reserved .example domain
// stand in until the real ones exist.
#pragma once

namespace halvorn {

inline constexpr const char* HomepageUrl = "http://halvorn.example/";
inline constexpr const char* ForumsUrl = "http://halvorn.example/forum/index.php";
inline constexpr const char* BrellicUrl = "http://brellic.example/";

} // namespace halvorn
