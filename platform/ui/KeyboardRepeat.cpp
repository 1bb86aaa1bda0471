#include "platform/ui/KeyboardRepeat.h"

#include "platform/ui/SystemParameters.h"

#include <algorithm>

int RepeatDelayMs(int keyboardDelay)
{
    return (std::clamp(keyboardDelay, 0, 3) + 1) * 250;
}

int RepeatIntervalMs(int keyboardSpeed)
{
    return int(400.0 - 11.84 * std::clamp(keyboardSpeed, 0, 31));
}

int CurrentRepeatDelayMs()
{
    int delay = 1;
    SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    return RepeatDelayMs(delay);
}

int CurrentRepeatIntervalMs()
{
    int speed = 31;
    SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    return RepeatIntervalMs(speed);
}
