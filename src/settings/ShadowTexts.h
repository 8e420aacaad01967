// Which texts the Options dialog accepts for the shadow values, and the text
// each is stored as: only what the next start reads back as the same,
// usable value.
#pragma once

#include <QString>

#include <optional>

namespace halvorn {

// A shadow value as it will be stored, or nothing when the dialog refuses it.
// A number typed in the user's own format ("40,5" under a German locale) is
// stored in the C notation ("40.5"), which every locale reads back alike.
using ShadowText = std::optional<QString>;

// A whole-text number that rounds into the 16 bits the drawing keeps
// distances in.
ShadowText UsableDistance(const QString& text);

// A whole-text number from 0 to `high`, both included.
ShadowText NumberInRange(const QString& text, double high);

} // namespace halvorn
