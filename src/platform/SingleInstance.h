#pragma once

// True when another VYRN of this user is already running. The first call takes a lock
// that is held until the program ends.
bool anotherInstanceRunning();
