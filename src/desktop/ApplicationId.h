// The reverse-DNS name under which the desktop knows the program: the name
// of its launcher, its icon, its AppStream component and its window's
// desktop file. The build sets it once for all of them.
#pragma once

namespace halvorn {

#ifndef HALVORN_APP_ID
#error "the build defines HALVORN_APP_ID"
#endif
inline constexpr const char* ApplicationId = HALVORN_APP_ID;

} // namespace halvorn
