#pragma once

#include "platform/Messages.h"

// The toolkit's own messages between its windows and components, with the numbers the
// toolkit's behaviour is written in.
namespace s::gui::msg {

// To a window: the default close handling (the frame is destroyed).
constexpr unsigned kDefaultClose = 32769;
// To a container: attach the component given in wParam as its child.
constexpr unsigned kAttachChild = 32770;
// Reflected notifications a control receives from its container.
constexpr unsigned kReflectedColour = 32771;
constexpr unsigned kReflectedClick = 32772;
constexpr unsigned kReflectedDoubleClick = 32773;
// To a component: leave the window (the component's native part is destroyed).
constexpr unsigned kDestroyView = 1039;
// To a button: take and drop the default-button style.
constexpr unsigned kSetDefaultStyle = 1025;
constexpr unsigned kClearDefaultStyle = 1026;
// To a label: set its text (wParam: a LabelText record), show a temporary text
// (wParam: a TemporaryText record).
constexpr unsigned kLabelSetText = 5121;
constexpr unsigned kLabelTemporaryText = 5122;
// To a window from another thread: deliver a message to one of its components
// (wParam: the component, lParam: a ComponentMessage record).
constexpr unsigned kComponentMessage = 32800;

}  // namespace s::gui::msg
