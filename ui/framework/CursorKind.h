// The cursors a control can ask for over itself; the application object
// holds the cursor of each kind.
#pragma once

namespace lumora {

enum class CursorKind { Arrow, HandPoint, HourGlass };

}  // namespace lumora
