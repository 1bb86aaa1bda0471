#pragma once

// What both launched programs do once their page has loaded when the bench wants to measure them
// at rest: say so on stdout and keep running until the bench closes their stdin.

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace Bench
{
inline void HoldUntilStdinCloses()
{
    std::puts("loaded");
    std::fflush(stdout);
    auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(input, &QSocketNotifier::activated,
                     [input]
                     {
                         char buffer[64];
                         if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
                         {
                             input->setEnabled(false);
                             QCoreApplication::exit(0);
                         }
                     });
}
} // namespace Bench
