#include "app/ShellHooks.h"

ShellHooks& ShellHooks::Get()
{
    static ShellHooks hooks;
    return hooks;
}
