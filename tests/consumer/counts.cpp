// SPDX-License-Identifier: MIT
// A new timer reads 0; run until the clock ticks, it counts that second.
// Given the version its build found (FOUND_VERSION, as the header writes
// it), it holds the header to it.
#include <veldmark/core/1/seconds_timer.h>

#include <time.h>

#include <iostream>

#if defined(FOUND_VERSION) && VELDMARK_CORE_VERSION != FOUND_VERSION
#error "the header's version is not the one its package gives"
#endif

int main()
{
    ZW37::Veldmark::Corelibrary1::CppVersion1998::Insecondstimer timer;
    std::cout << timer.GetInsecondsinterval();
    timer.Run();
    const time_t start = time(NULL);
    while (time(NULL) == start) {
    }
    timer.Pause();
    std::cout << ' ' << timer.GetInsecondsinterval() << '\n';
}
