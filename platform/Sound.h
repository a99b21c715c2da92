// The click sound the program plays when a run starts.
#pragma once

namespace lumora {

// Plays the program's own "CLICK" sound resource (type "WAVE") and returns
// when it has finished. Where it cannot be played, Windows' default sound
// plays instead; where nothing can be played, nothing happens.
void PlayClickSound();

}  // namespace lumora
