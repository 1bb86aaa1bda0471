#pragma once

// The timing of a held button or arrow, from the user's keyboard settings: the first repeat waits
// (delay + 1) x 250 ms (delay 0 to 3), the next ones 400 - 11.84 x speed ms (speed 0 to 31).
// Values beyond the scales count as their ends.
int RepeatDelayMs(int keyboardDelay);
int RepeatIntervalMs(int keyboardSpeed);

// The same read from the desktop's current settings.
int CurrentRepeatDelayMs();
int CurrentRepeatIntervalMs();
