// A language's font on a control and its children.
#pragma once

namespace fw {
class TControl;
}

namespace setup {

class TLanguage;

// With the language's FontOverride, the control's font becomes a copy of the
// language's Font; otherwise it takes the language's charset and face and is raised to
// the language's minimum size. The same goes for every child control, depth first.
// Raises Exception "Unrecognized language" for a language without a face (Hebrew
// without FontOverride); the control's font is then left as it was.
void ApplyLanguageFont(fw::TControl* Control, const TLanguage& Language);

}  // namespace setup
