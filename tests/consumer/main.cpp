// SPDX-License-Identifier: MIT
#include <veldmark/core/1/seconds_timer.h>
#include <iostream>

int main()
{
    ZW37::Veldmark::Corelibrary1::CppVersion1998::Insecondstimer timer;
    timer.Run();
    timer.Pause();
    std::cout << timer.GetInsecondsinterval() << " s\n";
}
