#include "dialogs/BackgroundImageTools.h"

namespace
{
BackgroundImageTools& Tools()
{
    static BackgroundImageTools tools;
    return tools;
}
} // namespace

void SetBackgroundImageTools(BackgroundImageTools tools)
{
    Tools() = std::move(tools);
}

const BackgroundImageTools& GetBackgroundImageTools()
{
    return Tools();
}
