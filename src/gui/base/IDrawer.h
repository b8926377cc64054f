#pragma once

#include "foundation/IObject.h"
#include "foundation/IPoolable.h"

namespace s::gui::drawer {

// What every drawer is: an object of the library, taken from its class's pool; a skin owns its
// drawers and gives them back when it is reset.
class IDrawer : public base::IObject, public thread::IPoolable {};

}  // namespace s::gui::drawer
