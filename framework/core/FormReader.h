// Loading a form description into live components.
//
// The root component exists already (a form's constructor has run). Every component
// the description names is created with csLoading set and owned by the root; setters
// receive values as read; component references and event handlers are resolved once
// the whole description is read, so references may point forward; the root's
// published fields are pointed at the components of their names; then Loaded runs on
// every component read, root first, in creation order.
#pragma once

#include <string>
#include <string_view>

#include "Classes.h"
#include "FormText.h"

namespace fw {

// Raises EReadError "Error reading <Source>, line <n>, property <p>: <what>" (or without
// the property part where none is concerned); EClassNotFound is reported the same way.
void ReadComponentFromText(TComponent* Root, std::string_view Text, const std::string& Source);
void ReadComponent(TComponent* Root, const TFormObject& Description, const std::string& Source);

}  // namespace fw
